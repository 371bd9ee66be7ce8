// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace tessel {

// Private-profile (INI) text handled as bytes, as the 8-bit Windows profile
// functions see it: the caller converts its text at the edge. A file that
// starts with the UTF-16LE mark is the exception; its text is converted to
// and from the locale's 8-bit encoding here, and a UTF-8 mark is kept but
// otherwise ignored.
//
// Layout: "[name]" starts a section, "key=value" sets a key. Names match
// regardless of ASCII letter case and surrounding blanks (space, TAB to CR,
// Ctrl-Z). Lines before the first section form a section with the empty
// name. Only the first section of a name, and in it only the first line of a
// key, counts. A NUL byte ends the name or value it falls in.

struct ProfileRead
{
    int count = 0; // bytes in `bytes`, at most bufsize - 1
    QByteArray bytes;
};

// The key's value, trimmed and without one pair of enclosing quotes, or else
// the default, less its trailing spaces (one is kept of a default of spaces
// only) and unquoted as a value is, when the section, the key or the key's
// '=' is missing. At most bufsize - 1 bytes; a large bufsize costs nothing.
// Safe on any content.
ProfileRead readProfileString(const QByteArray& content, const QByteArray& section,
                              const QByteArray& key, const QByteArray& defaultValue, int bufsize);

// The content with the key set to the value: the key's line rewritten, or a
// new line after the last non-blank line of its section, or a new section at
// the end. Every other byte stays as it was, and all of them when the key
// already holds exactly that value. Nothing when the text would
// break the file's lines: a line break or NUL anywhere, '=' in the key, a key
// starting with '['. Leading blanks of the names and of the value are
// dropped, and reading trims and unquotes values, as the platform does.
[[nodiscard]] std::optional<QByteArray> writeProfileString(const QByteArray& content,
                                                           const QByteArray& section,
                                                           const QByteArray& key,
                                                           const QByteArray& value);

// The same on a file, read anew on every call. A file missing from an
// existing folder reads as empty; when the folder is missing or the file
// cannot be read, the default is given as it is, less its trailing spaces.
ProfileRead readProfileStringFromFile(const QString& path, const QByteArray& section,
                                      const QByteArray& key, const QByteArray& defaultValue,
                                      int bufsize);

// Creates the file when it is missing, never its folder. The new content is
// written beside the file and renamed over it, folder flushed, so a failure
// at any point leaves the old file exactly as it was. A write that changes
// nothing does not touch the file and succeeds. False when the value could
// not be stored, including when an existing file could not be read; `error`
// (may be null) then says why.
[[nodiscard]] bool writeProfileStringToFile(const QString& path, const QByteArray& section,
                                            const QByteArray& key, const QByteArray& value,
                                            QString* error = nullptr);

// The file's bytes for readProfileString(): empty when the file is missing,
// nothing when something stands there that cannot be read as a file.
std::optional<QByteArray> readProfileFile(const QString& path);

// Whether the content holds the section, under any letter case.
bool profileHasSection(const QByteArray& content, const QByteArray& section);

// Several keys of one section set in one replace of the file: all of them
// land, or none.
[[nodiscard]] bool
writeProfileStringsToFile(const QString& path, const QByteArray& section,
                          const QList<std::pair<QByteArray, QByteArray>>& keyValues,
                          QString* error = nullptr);

} // namespace tessel
