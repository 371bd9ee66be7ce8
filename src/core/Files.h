// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QFile;

namespace tessel {

// How file names compare on this system.
#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

// Opens an existing file for reading, only when it is a regular file (or a
// link to one): a folder, a named pipe, a socket or a device is refused at
// once, since reading one would block for ever or never end. Never creates
// anything. Otherwise *reason says what stands there, as a phrase that fits
// after "cannot be read (".
bool openRegularFile(QFile& file, QString* reason);

// What stands at the path when it is not a regular file ("a folder", "a named
// pipe (FIFO)", ...); empty for a regular file and for nothing at all.
QString nonRegularKind(const QString& path);

// Whether two paths name the same file, by its identity on disk (device and
// inode), so links and other spellings of one file are caught.
bool sameFile(const QString& a, const QString& b);

// Checks that a file may be replaced by one being written: it does not exist
// yet or is a regular file, and it is none of the inputs. The message names
// the file and why not.
bool checkReplaceable(const QString& output, const QStringList& inputs, QString* error);

} // namespace tessel
