#include "snapshots/SnapshotReader.h"

#include "core/Cartridge.h"
#include "core/Errors.h"
#include "core/Files.h"

#include <QFile>

namespace tessel {

std::optional<SnapshotRead> readSnapshot(const QString& path, QString* error)
{
    QFile file(path);
    QString reason;
    if (!openRegularFile(file, &reason)) {
        fail(error,
             QStringLiteral("The snapshot %1 cannot be read (%2).").arg(quotedPath(path), reason));
        return std::nullopt;
    }
    if (file.size() != kSnaFileSize) {
        fail(error, QStringLiteral("The snapshot %1 is %2 bytes long; a 48K snapshot has %3 bytes.")
                        .arg(quotedPath(path))
                        .arg(file.size())
                        .arg(kSnaFileSize));
        return std::nullopt;
    }
    SnapshotRead read;
    read.sna = file.read(kSnaFileSize + 1);
    if (read.sna.size() != kSnaFileSize) {
        fail(error,
             QStringLiteral("The snapshot %1 cannot be read (%2).")
                 .arg(quotedPath(path), file.error() != QFileDevice::NoError
                                            ? file.errorString()
                                            : QStringLiteral("it changed while it was read")));
        return std::nullopt;
    }
    return read;
}

} // namespace tessel
