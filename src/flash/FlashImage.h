// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Kit.h"
#include "core/SnapshotEntry.h"

#include <QString>

#include <optional>

class QIODevice;

namespace tessel {

// Everything an image is made of, checked and ready to stream.
struct FlashSources
{
    QString bank1;
    QString bank32;
    SnapshotEntries entries; // ten, in menu order, snapshots or tapes
    std::optional<Kit> kit; // whose ROM loads the tapes; none: OpenSE BASIC
    qint64 namesOffset = 0;
    qint64 registersOffset = 0;
};

// Streams the image into an empty, seekable device: bank 1, the ten memory
// areas, bank 32, then seeks back to patch in the name table and, last, the
// register table (which wins where the two overlap). Each snapshot is read
// once, for its memory and its register record alike, with the entry's
// trainers applied to both, and only one at a time is held. A source that
// vanished or changed since it was checked is an error here too.
// `writeFailed` (may be null) tells a failed write to `out` from a source
// that failed.
bool writeFlashImage(const FlashSources& sources, QIODevice& out, QString* error,
                     bool* writeFailed = nullptr);

} // namespace tessel
