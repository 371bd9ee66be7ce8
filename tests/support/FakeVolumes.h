#pragma once

#include "snapshots/Volumes.h"

#include <QSet>

namespace tessel::test {

// Drives staged by a test: any folders can play volumes, and any of them
// can be made to hold no medium.
class FakeVolumes final : public VolumeSource
{
public:
    void add(const QString& root, const QString& label = {}) { m_volumes.append({root, label}); }
    void eject(const QString& root) { m_unreadable.insert(root); }

    QList<Volume> volumes() const override { return m_volumes; }
    bool isReadable(const QString& root) const override { return !m_unreadable.contains(root); }

private:
    QList<Volume> m_volumes;
    QSet<QString> m_unreadable;
};

} // namespace tessel::test
