// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/Volumes.h"

#include <QSet>

namespace tessel::test {

// Drives staged by a test: any folders can play volumes, and any of them
// can be made to hold no medium. Changes reach the browser once announced.
class FakeVolumes final : public VolumeSource
{
public:
    // At the end of the list, or at position `at`.
    void add(const QString& root, const QString& label = {}, int at = -1)
    {
        m_volumes.insert(at < 0 ? m_volumes.size() : at, {root, label});
    }
    void remove(const QString& root)
    {
        m_volumes.removeIf([&root](const Volume& v) { return v.root == root; });
    }
    void eject(const QString& root) { m_unreadable.insert(root); }
    void clear()
    {
        m_volumes.clear();
        m_unreadable.clear();
    }
    // As a mount or unmount would.
    void announce() { emit volumesChanged(); }

    QList<Volume> volumes() const override { return m_volumes; }
    bool isReadable(const QString& root) const override { return !m_unreadable.contains(root); }

private:
    QList<Volume> m_volumes;
    QSet<QString> m_unreadable;
};

} // namespace tessel::test
