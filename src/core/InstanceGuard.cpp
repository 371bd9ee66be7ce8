// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/InstanceGuard.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tessel {
namespace {

enum class Lock { Taken, HeldElsewhere, Unavailable };

struct Attempt
{
    Lock lock;
    qintptr handle;
};

#ifdef Q_OS_WIN

// The locked byte lies far past the end, so the PID stays readable and
// writable. The handle is not inherited by the programs we start.
Attempt takeLock(const QString& path)
{
    const HANDLE file = CreateFileW(
        reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {Lock::Unavailable, -1};
    OVERLAPPED at = {};
    at.OffsetHigh = 0x7FFFFFFF;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD code = GetLastError();
        CloseHandle(file);
        return {code == ERROR_LOCK_VIOLATION ? Lock::HeldElsewhere : Lock::Unavailable, -1};
    }
    return {Lock::Taken, reinterpret_cast<qintptr>(file)};
}

void writeOwner(qintptr handle)
{
    const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid()) + "\r\n";
    const HANDLE file = reinterpret_cast<HANDLE>(handle);
    DWORD written = 0;
    // For humans only: a failed or cut write changes nothing about the lock.
    if (SetEndOfFile(file))
        WriteFile(file, pid.constData(), static_cast<DWORD>(pid.size()), &written, nullptr);
}

void releaseLock(qintptr handle)
{
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

#else

// Not following a link, nor waiting on a pipe, nor passing the descriptor
// to the programs we start, which would otherwise keep the lock after we end.
Attempt takeLock(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        return {Lock::Unavailable, -1};
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {Lock::Unavailable, -1};
    }
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const Lock lock = errno == EWOULDBLOCK ? Lock::HeldElsewhere : Lock::Unavailable;
        ::close(fd);
        return {lock, -1};
    }
    return {Lock::Taken, fd};
}

void writeOwner(qintptr handle)
{
    const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid()) + '\n';
    const int fd = static_cast<int>(handle);
    // For humans only: a failed or cut write changes nothing about the lock.
    const bool written = ::ftruncate(fd, 0) == 0
                         && ::pwrite(fd, pid.constData(), size_t(pid.size()), 0) == pid.size();
    Q_UNUSED(written);
}

void releaseLock(qintptr handle)
{
    ::close(static_cast<int>(handle));
}

#endif

} // namespace

LockFileInstanceGuard::LockFileInstanceGuard(const QString& programFolder,
                                             const QString& lockFolder)
{
    QString folder = lockFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray key = QCryptographicHash::hash(
        QDir::cleanPath(QDir(programFolder).absolutePath()).toUtf8(), QCryptographicHash::Sha1);
    m_path = QDir(folder).filePath(
        QStringLiteral("tessel-zizerev-%1.lock").arg(QString::fromLatin1(key.toHex().left(16))));
}

LockFileInstanceGuard::~LockFileInstanceGuard()
{
    // The file stays: removing it would let a run that opened it just before
    // lock a file nobody else can find any more.
    if (holdsLock())
        releaseLock(m_handle);
}

bool LockFileInstanceGuard::tryAcquire()
{
    if (holdsLock())
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    const Attempt attempt = takeLock(m_path);
    if (attempt.lock == Lock::HeldElsewhere)
        return false;
    if (attempt.lock == Lock::Taken) {
        m_handle = attempt.handle;
        writeOwner(m_handle);
    }
    return true;
}

} // namespace tessel
