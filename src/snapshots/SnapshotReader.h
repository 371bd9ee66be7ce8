#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

struct SnapshotRead
{
    QByteArray sna; // exactly 49,179 bytes: the 48K .sna form the image holds
    QStringList warnings; // things the cartridge cannot give; adding is still allowed
};

// A snapshot as the image holds it. A file of exactly 49,179 bytes is taken
// as it is, whatever its contents. Otherwise *error is one sentence naming
// the file and why it is not taken.
std::optional<SnapshotRead> readSnapshot(const QString& path, QString* error);

} // namespace tessel
