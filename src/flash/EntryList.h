#pragma once

#include "core/SnapshotEntry.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace tessel {

// A list file: one "NAME<TAB>PATH" line per entry, UTF-8, LF or CRLF line
// ends, blank lines ignored. The name ends at the first tab and is kept as
// written, blanks included. Takes any bytes; junk gives an error naming the
// line ("line 3: ..."), never a crash. Paths come as written. Does not count
// entries or check names: the caller does.
std::optional<SnapshotEntries> parseEntryList(QByteArrayView data, QString* error);

// A list file read from disk; relative paths are taken from the list's own
// folder, so a list travels with its files.
std::optional<SnapshotEntries> readEntryList(const QString& path, QString* error);

// One "NAME=PATH" command-line argument; the name ends at the first "=".
std::optional<SnapshotEntry> parseEntryArgument(const QString& argument, QString* error);

} // namespace tessel
