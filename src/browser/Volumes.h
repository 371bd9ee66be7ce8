// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class QSocketNotifier;

namespace tessel {

// A drive of the drive list: a mounted volume that holds files.
struct Volume
{
    QString root; // its root folder, the key of the drive list
    QString label; // the volume's name, may be empty

    QString displayText() const;
    friend bool operator==(const Volume&, const Volume&) = default;
};

// Where the drive list gets its drives, so tests can stage their own.
class VolumeSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual QList<Volume> volumes() const = 0;
    // False for a drive that holds no medium or cannot be read.
    virtual bool isReadable(const QString& root) const = 0;
    // The root of the volume that holds the path, the path itself need not exist.
    QString rootOf(const QString& path) const;

signals:
    // A volume was mounted or unmounted while the program ran.
    void volumesChanged();
};

// The system's mounted volumes, less the kernel's own file systems. The list
// is read once and again whenever the mount table changes.
class SystemVolumes final : public VolumeSource
{
    Q_OBJECT

public:
    explicit SystemVolumes(QObject* parent = nullptr);
    ~SystemVolumes() override;

    QList<Volume> volumes() const override;
    bool isReadable(const QString& root) const override;

private:
    void reread();

    mutable std::optional<QList<Volume>> m_volumes;
    int m_mountTable = -1;
    QSocketNotifier* m_mountNotifier = nullptr;
    QTimer m_settle; // mounts come in bursts: one read after the burst
};

} // namespace tessel
