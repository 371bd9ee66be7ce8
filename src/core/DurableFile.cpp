// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DurableFile.h"

#include "core/Errors.h"
#include "core/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace tessel {

namespace {

#ifdef Q_OS_UNIX
QString systemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool isLink(const QString& path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// The rename is an entry in the folder: only flushing the folder makes it
// durable. Filesystems that cannot flush a folder say EINVAL or ENOTSUP, and a
// folder we may not open cannot be flushed by us either; neither undoes the
// save, which is complete in every other way.
bool flushFolder(const QByteArray& folder, QString* error)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    return fail(error, QCoreApplication::translate(
                           "DurableFile",
                           "The folder %1 could not be written to the disk (%2); the file saved "
                           "in it may be lost if the power fails now.")
                           .arg(quotedPath(QFile::decodeName(folder)), systemReason(code)));
}

// Beside the target, hidden, one of each per target: "partial" is the
// one name a new file passes through, "backup" keeps the old one while a
// set is replaced. A kill can leave at most one of each, which the next
// write of the target clears.
QByteArray hiddenName(const QByteArray& target, const char* role)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + ".tessel-" + role;
}

// Ctrl+C, a hang-up or a plain kill between the two steps of a replace
// would leave the hidden name behind; they wait until it is done.
class SignalsHeld
{
public:
    SignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &m_old);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t m_old;
};
#endif

QString notReplaceable(const QString& path, FileKind kind)
{
    const char* text = nullptr;
    switch (kind) {
    case FileKind::Missing:
    case FileKind::Regular:
        return {};
    case FileKind::Folder:
        text = QT_TRANSLATE_NOOP("DurableFile", "The file %1 cannot be written: it is a folder, "
                                                "and only a regular file may be replaced.");
        break;
    case FileKind::Pipe:
        text = QT_TRANSLATE_NOOP("DurableFile",
                                 "The file %1 cannot be written: it is a named pipe (FIFO), and "
                                 "only a regular file may be replaced.");
        break;
    case FileKind::Socket:
        text = QT_TRANSLATE_NOOP("DurableFile", "The file %1 cannot be written: it is a socket, "
                                                "and only a regular file may be replaced.");
        break;
    case FileKind::Device:
        text = QT_TRANSLATE_NOOP("DurableFile", "The file %1 cannot be written: it is a device, "
                                                "and only a regular file may be replaced.");
        break;
    case FileKind::Other:
        text = QT_TRANSLATE_NOOP("DurableFile", "The file %1 cannot be written: it is not a "
                                                "regular file, and only such a file may be "
                                                "replaced.");
        break;
    }
    return QCoreApplication::translate("DurableFile", text).arg(quotedPath(path));
}

} // namespace

bool checkOutputFile(const QString& path, const OutputRules& rules, QString* error)
{
    if (path.isEmpty())
        return fail(error, QCoreApplication::translate("DurableFile",
                                                       "No name was given for the file to write."));
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QFileInfo info(absolute);
    // The replacement character stands for bytes no name of ours can hold:
    // writing under it would make a file nobody named.
    if (absolute.contains(QChar::ReplacementCharacter) && !info.exists() && !info.isSymLink())
        return fail(error, QCoreApplication::translate(
                               "DurableFile",
                               "The name %1 is not valid UTF-8 text, so no file can be written "
                               "under it; choose a name that is.")
                               .arg(quotedPath(absolute)));
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return fail(error, QCoreApplication::translate(
                               "DurableFile",
                               "The file %1 cannot be written: its folder %2 does not exist.")
                               .arg(quotedPath(absolute), quotedPath(folder.filePath())));
    if (QCoreApplication::instance() && sameFile(absolute, QCoreApplication::applicationFilePath()))
        return fail(error,
                    QCoreApplication::translate(
                        "DurableFile", "The file %1 cannot be written: it is this program itself.")
                        .arg(quotedPath(absolute)));
    for (const QString& input : rules.inputs) {
        if (sameFile(absolute, input))
            return fail(
                error,
                QCoreApplication::translate(
                    "DurableFile", "The file %1 cannot be written: it is %2, one of the files "
                                   "it is made from.")
                    .arg(quotedPath(absolute), quotedPath(QFileInfo(input).absoluteFilePath())));
    }
#ifdef Q_OS_UNIX
    if (!rules.followLink && isLink(absolute))
        return fail(error, QCoreApplication::translate(
                               "DurableFile",
                               "The file %1 cannot be written: it is a link to %2, and a link "
                               "is never written through or replaced. Name the file itself, or "
                               "remove the link.")
                               .arg(quotedPath(absolute), quotedPath(info.symLinkTarget())));
#endif
    const QString why = notReplaceable(absolute, fileKind(absolute));
    return why.isEmpty() || fail(error, why);
}

#ifdef Q_OS_UNIX

struct DurableFile::Native
{
    int fd = -1;
    QByteArray target;
    QByteArray folder;
    QByteArray named; // the temporary file's name where the system has no unnamed files
};

#else

struct DurableFile::Native
{
    explicit Native(const QString& path)
        : file(path)
    { }
    QSaveFile file;
};

#endif

DurableFile::DurableFile(const QString& path, const OutputRules& rules)
    : m_path(path.isEmpty() ? path : QFileInfo(path).absoluteFilePath())
    , m_rules(rules)
{ }

DurableFile::~DurableFile()
{
    m_file.close();
#ifdef Q_OS_UNIX
    if (m_native) {
        if (!m_committed && !m_native->named.isEmpty())
            ::unlink(m_native->named.constData());
        if (m_native->fd >= 0)
            ::close(m_native->fd);
    }
#endif
}

bool DurableFile::failed(QString* error, const QString& reason)
{
    return fail(error,
                QCoreApplication::translate("DurableFile", "The file %1 could not be written: %2.")
                    .arg(quotedPath(m_path), reason));
}

QString DurableFile::notOpened() const
{
    return QCoreApplication::translate("DurableFile",
                                       "The file %1 could not be written: it was not opened.")
        .arg(quotedPath(m_path));
}

QString DurableFile::writeFailure()
{
    QString reason =
        m_device->error() != QFileDevice::NoError ? m_device->errorString() : QString();
#ifdef Q_OS_UNIX
    // One byte more at the end of the discarded file brings the reason out.
    if (reason.isEmpty() && m_native && m_native->fd >= 0) {
        const char byte = 0;
        if (::lseek(m_native->fd, 0, SEEK_END) >= 0 && ::write(m_native->fd, &byte, 1) < 0)
            reason = systemReason(errno);
    }
#endif
    if (reason.isEmpty())
        return QCoreApplication::translate(
                   "DurableFile",
                   "Only part of the file %1 could be written; the disk may be full.")
            .arg(quotedPath(m_path));
    QString message;
    failed(&message, reason);
    return message;
}

void DurableFile::setPermissions(QFileDevice::Permissions permissions)
{
    m_permissions = permissions;
    m_setPermissions = true;
}

bool DurableFile::write(QByteArrayView bytes, QString* error)
{
    if (!m_native)
        return fail(error, notOpened());
    if (m_device->write(bytes.data(), bytes.size()) != bytes.size())
        return fail(error, writeFailure());
    return true;
}

#ifdef Q_OS_UNIX

bool DurableFile::open(QString* error)
{
    if (!checkOutputFile(m_path, m_rules, error))
        return false;
    m_target = m_path;
    if (m_rules.followLink && isLink(m_path)) {
        const QFileInfo link(m_path);
        m_target = link.exists() ? link.canonicalFilePath() : link.symLinkTarget();
    }
    auto native = std::make_unique<Native>();
    native->target = QFile::encodeName(m_target);
    native->folder = QFile::encodeName(QFileInfo(m_target).absolutePath());

    struct stat old = {};
    const bool replacing = ::stat(native->target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    native->fd = ::open(native->folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (native->fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // No unnamed files here: a hidden name beside the target instead.
        QByteArray name = hiddenName(native->target, "partial");
        ::unlink(name.constData());
        native->fd = ::open(name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (native->fd >= 0)
            native->named = name;
    }
    if (native->fd < 0)
        return failed(error, systemReason(errno));
    ::unlink(hiddenName(native->target, "backup").constData());
    if (replacing)
        ::fchmod(native->fd, old.st_mode & 07777);
    m_file.setFileName(m_path); // for messages; the descriptor is what is written
    if (!m_file.open(native->fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                     QFileDevice::DontCloseHandle)) {
        ::close(native->fd);
        if (!native->named.isEmpty())
            ::unlink(native->named.constData());
        return failed(error, m_file.errorString());
    }
    m_native = std::move(native);
    return true;
}

bool DurableFile::finish(QString* error)
{
    if (!m_native || m_committed)
        return fail(error, notOpened());
    if (m_finished)
        return true;
    if (m_file.error() != QFileDevice::NoError || !m_file.flush())
        return fail(error, writeFailure());
    const int fd = m_native->fd;
    if (m_setPermissions) {
        mode_t mode = 0;
        const std::pair<QFileDevice::Permission, mode_t> bits[] = {
            {QFileDevice::ReadOwner, S_IRUSR},  {QFileDevice::WriteOwner, S_IWUSR},
            {QFileDevice::ExeOwner, S_IXUSR},   {QFileDevice::ReadGroup, S_IRGRP},
            {QFileDevice::WriteGroup, S_IWGRP}, {QFileDevice::ExeGroup, S_IXGRP},
            {QFileDevice::ReadOther, S_IROTH},  {QFileDevice::WriteOther, S_IWOTH},
            {QFileDevice::ExeOther, S_IXOTH}};
        for (const auto& [permission, bit] : bits)
            mode |= m_permissions.testFlag(permission) ? bit : 0;
        if (::fchmod(fd, mode) != 0)
            return failed(error, systemReason(errno));
    }
    // The bytes a write accepted may still fail to reach the disk.
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno != EINVAL)
        return failed(error, systemReason(errno));
    m_finished = true;
    return true;
}

bool DurableFile::link(QString* error)
{
    if (!finish(error))
        return false;
    const int fd = m_native->fd;
    const QByteArray& target = m_native->target;
    const SignalsHeld held;
    if (!m_native->named.isEmpty()) {
        if (::rename(m_native->named.constData(), target.constData()) != 0)
            return failed(error, systemReason(errno));
    } else {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        const auto linkAs = [&](const QByteArray& name) {
            return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                            AT_SYMLINK_FOLLOW)
                   == 0;
        };
        // A new file takes its name in one step; an old one is replaced by a
        // rename from a hidden name, left behind only by a kill that
        // nothing can hold off, and cleared by the next write.
        if (!linkAs(target)) {
            if (errno != EEXIST)
                return failed(error, systemReason(errno));
            const QByteArray hidden = hiddenName(target, "partial");
            ::unlink(hidden.constData());
            if (!linkAs(hidden))
                return failed(error, systemReason(errno));
            if (::rename(hidden.constData(), target.constData()) != 0) {
                const int code = errno;
                ::unlink(hidden.constData());
                return failed(error, systemReason(code));
            }
        }
    }
    m_committed = true;
    m_file.close();
    ::close(fd);
    m_native->fd = -1;
    return true;
}

bool DurableFile::commit(QString* error)
{
    return link(error) && flushFolder(m_native->folder, error);
}

bool DurableFile::commitAll(const std::vector<std::unique_ptr<DurableFile>>& files, QString* error)
{
    for (const auto& file : files) {
        if (!file->finish(error))
            return false;
    }
    // Each old file is kept under a second name until every new one has
    // taken its place, so that one refused replace puts all back.
    struct Kept
    {
        QByteArray target;
        QByteArray backup;
        bool old = false; // a file stood there and is kept as `backup`
        bool moved = false; // kept by a rename: the target is gone meanwhile
        bool linked = false;
    };
    std::vector<Kept> kept;
    const auto undo = [&](QString* error) {
        QString lost;
        for (const Kept& file : kept) {
            if (file.old && (file.linked || file.moved)) {
                if (::rename(file.backup.constData(), file.target.constData()) != 0
                    && lost.isEmpty())
                    //: %1 is a sentence that ends in its own full stop.
                    lost = QCoreApplication::translate(
                               "DurableFile", "%1 The old file %2 could not be put back; it is "
                                              "kept as %3.")
                               .arg(*error, quotedPath(QFile::decodeName(file.target)),
                                    quotedPath(QFile::decodeName(file.backup)));
            } else if (file.old) {
                ::unlink(file.backup.constData());
            } else if (file.linked) {
                ::unlink(file.target.constData());
            }
        }
        //: %1 is a sentence that ends in its own full stop.
        *error = !lost.isEmpty() ? lost
                                 : QCoreApplication::translate("DurableFile",
                                                               "%1 None of the files was changed.")
                                       .arg(*error);
        return false;
    };
    {
        const SignalsHeld held;
        for (const auto& file : files) {
            Kept& keep = kept.emplace_back();
            keep.target = file->m_native->target;
            keep.backup = hiddenName(keep.target, "backup");
            struct stat old = {};
            if (::lstat(keep.target.constData(), &old) != 0 || !S_ISREG(old.st_mode))
                continue;
            ::unlink(keep.backup.constData());
            keep.old = ::link(keep.target.constData(), keep.backup.constData()) == 0;
            // Where files have one name only (FAT), the old one steps aside.
            if (!keep.old && (errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP))
                keep.old = keep.moved =
                    ::rename(keep.target.constData(), keep.backup.constData()) == 0;
            if (!keep.old) {
                QString reason = systemReason(errno);
                file->failed(&reason, reason);
                undo(&reason);
                return fail(error, reason);
            }
        }
        for (size_t i = 0; i < files.size(); ++i) {
            QString reason;
            if (!files[i]->link(&reason)) {
                undo(&reason);
                return fail(error, reason);
            }
            kept[i].linked = true;
        }
        for (const Kept& file : kept) {
            if (file.old)
                ::unlink(file.backup.constData());
        }
    }
    QList<QByteArray> folders;
    for (const auto& file : files) {
        if (!folders.contains(file->m_native->folder)) {
            folders << file->m_native->folder;
            if (!flushFolder(folders.last(), error))
                return false;
        }
    }
    return true;
}

#else

bool DurableFile::open(QString* error)
{
    if (!checkOutputFile(m_path, m_rules, error))
        return false;
    m_target = m_path;
    auto native = std::make_unique<Native>(m_target);
    if (!native->file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(error, native->file.errorString());
    m_native = std::move(native);
    m_device = &m_native->file;
    return true;
}

bool DurableFile::finish(QString* error)
{
    if (!m_native || m_committed)
        return fail(error, notOpened());
    QSaveFile& file = m_native->file;
    if (file.error() != QFileDevice::NoError || !file.flush())
        return fail(error, writeFailure());
    if (m_setPermissions)
        file.setPermissions(m_permissions);
    m_finished = true;
    return true;
}

bool DurableFile::link(QString* error)
{
    if (!finish(error))
        return false;
    // Windows makes the replacing rename durable by itself.
    if (!m_native->file.commit())
        return failed(error, m_native->file.errorString());
    m_committed = true;
    return true;
}

bool DurableFile::commit(QString* error)
{
    return link(error);
}

bool DurableFile::commitAll(const std::vector<std::unique_ptr<DurableFile>>& files, QString* error)
{
    for (const auto& file : files) {
        if (!file->finish(error))
            return false;
    }
    for (const auto& file : files) {
        if (!file->link(error))
            return false;
    }
    return true;
}

#endif

bool writeDurably(const QString& path, QByteArrayView bytes, const OutputRules& rules,
                  QString* error)
{
    DurableFile file(path, rules);
    return file.open(error) && file.write(bytes, error) && file.commit(error);
}

} // namespace tessel
