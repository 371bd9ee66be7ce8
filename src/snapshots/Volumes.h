#pragma once

#include <QList>
#include <QString>

namespace tessel {

// A drive of the drive list: a mounted volume that holds files.
struct Volume
{
    QString root; // its root folder, the key of the drive list
    QString label; // the volume's name, may be empty

    QString displayText() const;
};

// Where the drive list gets its drives, so tests can stage their own.
class VolumeSource
{
public:
    virtual ~VolumeSource() = default;

    virtual QList<Volume> volumes() const = 0;
    // False for a drive that holds no medium or cannot be read.
    virtual bool isReadable(const QString& root) const = 0;
    // The root of the volume that holds the path, the path itself need not exist.
    QString rootOf(const QString& path) const;
};

class SystemVolumes final : public VolumeSource
{
public:
    QList<Volume> volumes() const override;
    bool isReadable(const QString& root) const override;
};

} // namespace tessel
