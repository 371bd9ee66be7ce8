// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Files.h"

#include "core/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tessel {

namespace {

#ifdef Q_OS_UNIX
FileKind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISFIFO(mode))
        return FileKind::Pipe;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return FileKind::Device;
    return FileKind::Other;
}
#endif

// Opens the file when it is a regular one; else *kind says what stands
// there, or *systemError why the system refused.
bool openRegular(QFile& file, FileKind* kind, QString* systemError)
{
    *kind = FileKind::Regular;
#ifdef Q_OS_UNIX
    // Opened without blocking and checked on the open descriptor, so nothing
    // swapped in between a look and the open can hang the program.
    const int fd =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        QFile probe(file.fileName());
        probe.open(QIODevice::ReadOnly | QIODevice::ExistingOnly);
        *systemError = probe.errorString();
        return false;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *kind = kindOf(info.st_mode);
        if (*kind == FileKind::Regular)
            *kind = FileKind::Other;
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
#else
    const FileKind there = fileKind(file.fileName());
    if (there != FileKind::Regular && there != FileKind::Missing) {
        *kind = there;
        return false;
    }
    if (file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return true;
#endif
    *systemError = file.errorString();
    return false;
}

} // namespace

FileKind fileKind(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return FileKind::Missing;
    return kindOf(info.st_mode);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return FileKind::Missing;
    return info.isFile() ? FileKind::Regular : info.isDir() ? FileKind::Folder : FileKind::Other;
#endif
}

QString notAFileMessage(const QString& path, FileKind kind)
{
    const QString file = quotedPath(path);
    switch (kind) {
    case FileKind::Missing:
    case FileKind::Regular:
        return {};
    case FileKind::Folder:
        return QCoreApplication::translate("Files", "%1 is a folder, not a file.").arg(file);
    case FileKind::Pipe:
        return QCoreApplication::translate("Files", "%1 is a named pipe (FIFO), not a file.")
            .arg(file);
    case FileKind::Socket:
        return QCoreApplication::translate("Files", "%1 is a socket, not a file.").arg(file);
    case FileKind::Device:
        return QCoreApplication::translate("Files", "%1 is a device, not a file.").arg(file);
    case FileKind::Other:
        break;
    }
    return QCoreApplication::translate("Files", "%1 is not a regular file.").arg(file);
}

bool openRegularFile(QFile& file, QString* error, const QString& cannotRead)
{
    FileKind kind = FileKind::Regular;
    QString systemError;
    if (openRegular(file, &kind, &systemError))
        return true;
    if (!error)
        return false;
    return fail(error, kind != FileKind::Regular
                           ? notAFileMessage(file.fileName(), kind)
                           : QString(cannotRead).arg(quotedPath(file.fileName()), systemError));
}

bool sameFile(const QString& a, const QString& b)
{
#ifdef Q_OS_UNIX
    struct stat first = {};
    struct stat second = {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
           && ::stat(QFile::encodeName(b).constData(), &second) == 0
           && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#else
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty()
           && canonical.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
#endif
}

std::optional<QString> undecodableArgument(int argc, const char* const* argv)
{
#ifdef Q_OS_UNIX
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString text = QFile::decodeName(bytes);
        if (QFile::encodeName(text) != bytes)
            return text;
    }
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#endif
    return std::nullopt;
}

FolderLock::FolderLock(const QString& folder)
{
#ifdef Q_OS_UNIX
    // flock() on the folder itself: nothing to create, nothing to clean up,
    // and the system drops it when the process dies.
    m_fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    m_locked = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
#else
    Q_UNUSED(folder);
    m_locked = true;
#endif
}

FolderLock::~FolderLock()
{
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

namespace {

QString stagingPrefix(const QString& target)
{
    return QLatin1Char('.') + QFileInfo(target).fileName() + QStringLiteral(".part-");
}

} // namespace

StagingFolder::StagingFolder(const QString& target)
    : m_target(QFileInfo(target).absoluteFilePath())
{
    QDir parent = QFileInfo(m_target).dir();
    if (!parent.exists() && !QDir().mkpath(parent.path())) {
        m_failure = QString::fromLocal8Bit(std::strerror(errno)); // mkpath's last mkdir
        return;
    }
    const QString prefix = stagingPrefix(m_target);
    // A writer that still runs holds the lock on its staging folder.
    for (const QString& name : parent.entryList({prefix + QLatin1Char('*')},
                                                QDir::Dirs | QDir::Hidden | QDir::NoSymLinks)) {
        const QString stale = parent.filePath(name);
        bool unused = false;
        {
            const FolderLock probe(stale);
            unused = probe.isLocked();
        }
        if (unused)
            QDir(stale).removeRecursively();
    }
    for (int attempt = 0; attempt < 100 && !m_lock; ++attempt) {
        const QString name = prefix + QString::number(QRandomGenerator::global()->generate(), 36);
#ifdef Q_OS_UNIX
        if (::mkdir(QFile::encodeName(parent.filePath(name)).constData(), 0777) != 0) {
            const int code = errno;
            m_failure = QString::fromLocal8Bit(std::strerror(code));
            if (code == EEXIST)
                continue;
            break;
        }
#else
        if (!parent.mkdir(name))
            continue;
#endif
        m_path = parent.filePath(name);
        m_lock = std::make_unique<FolderLock>(m_path);
        if (!m_lock->isLocked()) {
            m_lock.reset();
            parent.rmdir(name);
            m_path.clear();
        }
    }
    if (m_lock)
        m_failure.clear();
}

StagingFolder::~StagingFolder()
{
    if (m_lock && !m_published)
        QDir(m_path).removeRecursively();
}

bool StagingFolder::publish()
{
    if (!m_lock || m_published)
        return false;
#ifdef Q_OS_UNIX
    // rename() takes the place of an empty folder and refuses a full one, so
    // of two writers only the first gets the name.
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(m_target).constData())
        != 0) {
        m_failure = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const int fd = ::open(QFile::encodeName(QFileInfo(m_target).path()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    QDir().rmdir(m_target);
    if (!QDir().rename(m_path, m_target))
        return false;
#endif
    m_published = true;
    return true;
}

} // namespace tessel
