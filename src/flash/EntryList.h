#pragma once

#include "flash/FlashSources.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace tessel {

struct EntryListResult
{
    QList<FlashEntry> entries; // in file order, paths as written
    QString error; // empty when the whole list was understood

    bool ok() const { return error.isEmpty(); }
};

// A list file: one "NAME<TAB>PATH" line per entry, UTF-8, LF or CRLF line
// ends, blank lines ignored. The name ends at the first tab and is kept as
// written, blanks included. Takes any bytes; junk gives an error naming the
// line, never a crash. Does not count entries or check names: the caller does.
EntryListResult parseEntryList(QByteArrayView data);

// One "NAME=PATH" command-line argument; the name ends at the first "=".
bool parseEntryArgument(const QString& argument, FlashEntry& entry, QString& error);

} // namespace tessel
