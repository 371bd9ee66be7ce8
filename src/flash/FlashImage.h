#pragma once

#include "flash/FlashSources.h"

#include <QString>

class QIODevice;

namespace tessel {

// Streams the image into an empty, seekable device: bank 1, the ten memory
// areas, bank 32, then seeks back to patch in the name table and, last, the
// register table (which wins where the two overlap). Only three working
// buffers are held, whatever the sources; each source is reopened as it is
// needed, so one that vanished or changed since prepareFlash() is an error
// here too.
bool writeFlashImage(const FlashSources& sources, QIODevice& out, QString& error);

// Why a write to out fell short. A write cut short by a full disk or a size
// limit sets no error on a file, yet leaves it incomplete.
QString writeFailure(const QIODevice& out);

// The image as a file that appears under its name only once it is complete;
// on failure a file already there keeps every byte.
bool buildFlashFile(const FlashSources& sources, const QString& path, QString& error);

} // namespace tessel
