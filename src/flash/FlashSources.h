#pragma once

#include "flash/FlashLayout.h"

#include <QString>

#include <array>

class QFile;

namespace tessel {

class Kit;

struct FlashEntry
{
    QString path; // the snapshot file
    QString name; // its menu name
};

using FlashEntries = std::array<FlashEntry, kFlashEntries>;

// Everything an image is made of, checked and ready to stream.
struct FlashSources
{
    QString bank1;
    QString bank32;
    FlashEntries entries;
    qint64 namesOffset = 0;
    qint64 registersOffset = 0;
};

// Gathers the sources from the kit (bank files, table offsets in the settings
// file) and checks every one of them before anything is written: bank files
// readable, snapshots readable and 49,179 bytes long, names of 1 to 20
// characters, offsets present, decimal and in range. On the first problem
// returns false with a sentence that names the file or key and what is wrong.
bool prepareFlash(const Kit& kit, const QString& settingsPath, const FlashEntries& entries,
                  FlashSources& sources, QString& error);

// Opens a source read-only; never creates it. Otherwise reason says why not.
bool openSource(QFile& file, QString& reason);

// A path as the user should see it in a message: quoted, native separators.
QString quotedPath(const QString& path);

} // namespace tessel
