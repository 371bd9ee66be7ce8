// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

class Kit;

// One entry of an image taken apart.
struct ExtractedEntry
{
    QString name; // the menu name, 1 to 20 characters
    QString fileName; // the menu name made safe for any file system, ".sna"
    QByteArray sna; // the 48K .sna, 49,179 bytes
};

struct FlashContents
{
    QList<ExtractedEntry> entries; // ten, in menu order
    QString listFileName; // the compilation's file name
    // What the image could not give back as it was put in: names and memory
    // that lie under the tables, blank names.
    QStringList warnings;
};

// Takes an image apart with the table offsets it was built with. Each name
// is its slot read as Windows-1252, trailing blanks (and zero bytes) dropped;
// each snapshot is its register record followed by its memory area from the
// sixth byte on (the first five are in the record too), so it holds the
// pokes of the trainers the image was built with.
//
// The tables are written last, over whatever lies beneath them; they fit
// within bank 1 and the first memory area. So the records are always whole,
// a name byte under the register table is lost (shown as "?"; a name lost
// entirely gets the default name), and the bytes of the first snapshot's
// memory under either table are lost: its file holds the tables' bytes
// there. Building the entries again with the same offsets and banks writes
// the same image.
//
// Refused, with a reason that names `imagePath`: another size than 524,288
// bytes, ten blank memory areas, and tables that do not fit the offsets: a
// record whose copy of the first five bytes of memory differs from its
// memory area, a name with a control character, or, when the kit's bank 1
// is given (as the builder fits it), bytes beside the name table that are
// not the bank's.
// A record's interrupt mode above 2 is a warning.
std::optional<FlashContents> readFlashContents(QByteArrayView image, const QString& imagePath,
                                               qint64 namesOffset, qint64 registersOffset,
                                               QString* error, QByteArrayView kitBank1 = {});

// The image file, with the offsets of the kit's settings file. The list file
// is named after the image.
std::optional<FlashContents> readFlashImage(const Kit& kit, const QString& image, QString* error);

// The names the extraction writes in `folder` that are taken already.
QStringList existingFiles(const FlashContents& contents, const QString& folder);

struct Extraction
{
    SnapshotEntries entries; // full paths, in menu order
    QString listFile;
};

// Writes the ten snapshots and the compilation that lists them with paths
// relative to the folder; the folder is made when missing. All eleven are
// written in full before any takes its name, and one extraction at a time
// may write into a folder. Unless replaceExisting, a file already there is
// an error and nothing is written; what stands there is only ever replaced
// when it is a regular file (not a link) other than the image itself.
std::optional<Extraction> writeExtraction(const FlashContents& contents, const QString& folder,
                                          const QString& image, bool replaceExisting,
                                          QString* error);

// A menu name as a file name that every common file system takes: no
// separators or reserved characters, no leading dot or blank, no trailing
// dot or blank, no device name of Windows.
QString safeFileName(const QString& name);

} // namespace tessel
