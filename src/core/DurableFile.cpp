// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DurableFile.h"

#include "core/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tessel {
namespace {

#ifdef Q_OS_UNIX
// The rename is an entry in the folder: only flushing the folder makes it
// durable. Filesystems that cannot flush a folder say EINVAL or ENOTSUP, and a
// folder we may not open cannot be flushed by us either; neither undoes the
// save, which is complete in every other way.
bool flushFolder(const QString& folder, QString* error)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    const int code = result == 0 ? 0 : errno;
    ::close(fd);
    if (code == 0 || code == EINVAL || code == ENOTSUP || code == EOPNOTSUPP)
        return true;
    fail(error,
         QCoreApplication::translate("DurableFile",
                                     "The folder \"%1\" could not be written to the disk (%2); the "
                                     "file saved in it may be lost if the power fails now.")
             .arg(QDir::toNativeSeparators(folder), QString::fromLocal8Bit(std::strerror(code))));
    return false;
}
#endif

} // namespace

bool commitDurably(QSaveFile& file, QString* error)
{
    const QString path = QFileInfo(file.fileName()).absoluteFilePath();
    if (!file.commit()) {
        fail(error, QCoreApplication::translate("DurableFile", "\"%1\" could not be saved: %2.")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
#ifdef Q_OS_UNIX
    return flushFolder(QFileInfo(path).absolutePath(), error);
#else
    // Windows makes the replacing rename durable by itself.
    return true;
#endif
}

QString writeFailure(const QIODevice& out)
{
    const auto* file = qobject_cast<const QFileDevice*>(&out);
    if (file && file->error() == QFileDevice::NoError)
        return QCoreApplication::translate(
            "DurableFile", "only part of it could be written; the disk may be full");
    return out.errorString();
}

} // namespace tessel
