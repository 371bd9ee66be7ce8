// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace tessel {

// The extension of a compilation, a list file the window saves and opens.
inline const QString kCompilationExtension = QStringLiteral("tessel");

// A list file: one "NAME<TAB>PATH" line per entry, UTF-8, LF or CRLF line
// ends (CR in a file without LF), blank lines ignored. The name ends at the first tab and is kept
// as written, blanks included. Takes any bytes; junk gives an error naming the line ("Line 3:
// ..."), never a crash. Paths come as written. Does not count entries or check names: the caller
// does.
//
// Under an entry's line, one line per trainer chosen for it:
// "POKE NAME=ADDR,VALUE[:ADDR,VALUE...]" (decimal; the name ends at the
// last "="). It holds no tab, so a reader from before trainers refuses it
// with its line number rather than misreading it.
std::optional<SnapshotEntries> parseEntryList(QByteArrayView data, QString* error);

// A list file read from disk; relative paths are taken from the list's own
// folder, so a list travels with its files.
std::optional<SnapshotEntries> readEntryList(const QString& path, QString* error);

// One line of a list that is not blank: its entry, or what is wrong with it.
struct EntryLine
{
    qsizetype number = 0; // from 1, blank lines counted
    SnapshotEntry entry;
    QString problem; // empty when the line is an entry; else a sentence naming the line
};

// Every line, where parseEntryList() stops at the first bad one.
QList<EntryLine> parseEntryLines(QByteArrayView data);

// The same from disk, relative paths taken from the list's folder. Nothing
// when the file itself cannot be read as a list.
std::optional<QList<EntryLine>> readEntryLines(const QString& path, QString* error);

// The list file's bytes for the entries. A snapshot that lies below
// `folder` is written relative to it, with "/" between names, so that the
// folder can move or be shared with its list; any other is written whole.
// A name (menu or trainer) holding a tab, a line break or a NUL, or a path
// holding a line break or a NUL, cannot be told apart from the lines around
// it: that entry is refused.
std::optional<QByteArray> formatEntryList(const SnapshotEntries& entries, const QString& folder,
                                          QString* error);

// Writes the list file, paths relative to its own folder where they can be.
// It appears under its name only once complete.
bool writeEntryList(const QString& path, const SnapshotEntries& entries, QString* error);

// One "NAME=PATH" command-line argument; the name ends at the first "=".
std::optional<SnapshotEntry> parseEntryArgument(const QString& argument, QString* error);

} // namespace tessel
