// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QFile;

namespace tessel {

// How file names compare on this system.
#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

// What stands at a path.
enum class FileKind { Missing, Regular, Folder, Pipe, Socket, Device, Other };

FileKind fileKind(const QString& path);

// Opens an existing file for reading, only when it is a regular file (or a
// link to one): a folder, a named pipe, a socket or a device is refused at
// once, since reading one would block for ever or never end. Never creates
// anything. Otherwise *error, when asked for, is one whole sentence naming
// the file: what stands there instead (notAFileMessage), or `cannotRead`, a
// sentence with %1 for the file and %2 for the system's reason, filled in.
bool openRegularFile(QFile& file, QString* error, const QString& cannotRead);

// "%1 is a folder, not a file." and the like for what stands at `path`;
// empty for a regular file and for nothing at all.
QString notAFileMessage(const QString& path, FileKind kind);

// Whether two paths name the same file, by its identity on disk (device and
// inode), so links and other spellings of one file are caught.
bool sameFile(const QString& a, const QString& b);

// The first command-line argument whose bytes do not survive the trip
// into text and back (not valid UTF-8), as it would be shown; nothing when
// every argument names what the user typed, byte for byte.
std::optional<QString> undecodableArgument(int argc, const char* const* argv);

// Holds a folder for one writer while it lives, leaving no file in it: a
// second lock on the same folder, in this process or another, fails until
// the first is gone.
class FolderLock
{
public:
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool isLocked() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = false;
};

// A hidden folder beside a folder still to be made, where a set of files is written in full before
// the set takes the folder's name in one rename: a kill or a full disk leaves the folder as it was.
// A staging folder left by a killed writer is removed by the next one.
class StagingFolder
{
public:
    explicit StagingFolder(const QString& target);
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    bool isReady() const { return m_lock != nullptr; }
    QString path() const { return m_path; }
    // Gives the staged files the target's name; false, with nothing moved,
    // when something else took the name meanwhile or the rename fails.
    bool publish();
    // Why it is not ready, or why publish() failed, as the system says it.
    QString failure() const { return m_failure; }

private:
    QString m_target;
    QString m_path;
    std::unique_ptr<FolderLock> m_lock;
    QString m_failure;
    bool m_published = false;
};

} // namespace tessel
