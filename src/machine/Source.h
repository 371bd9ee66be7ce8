// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"
#include "formats/SnapshotReader.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

class Kit;
class Progress;

// A source is what an entry of the cartridge may be made from: a snapshot,
// or a tape that a Spectrum loads into one.

// A source as the 48K .sna the cartridge takes: a snapshot as readSnapshot()
// reads it; a tape from the cache, else loaded there and then (a second or
// so; `progress`, which may be null, hears how far and may cancel: then
// nothing is returned and the error is empty). The kit says which ROM loads
// tapes; a program without one passes none. A tape's warnings say what the
// ROM and unread blocks mean for the snapshot.
std::optional<SnapshotRead> readSource(const QString& path, const Kit* kit, SnapshotFault* fault,
                                       QString* error, Progress* progress = nullptr);
std::optional<SnapshotRead> readSource(const QString& path, const Kit* kit, QString* error);

// The .sna the cartridge gets for an entry: its source read as readSource()
// reads it, with the entry's trainers applied. The image build and Test SNA
// both take it from here.
std::optional<SnapshotRead> readEntrySource(const SnapshotEntry& entry, const Kit* kit,
                                            QString* error);

// Writes the .sna of the source to `out`, whole or not at all, as
// convertToSna() does for snapshots.
bool convertSourceToSna(const QString& in, const QString& out, const Kit* kit,
                        QStringList* warnings, QString* error);

// Whether reading the source would load a tape now rather than take it
// from the cache. False for snapshots and for files that cannot be read.
bool needsLoading(const QString& path, const Kit* kit);

// A file an emulator can open on the source: the file itself for a
// snapshot, the cached .sna for a tape (loaded first when it is not there).
std::optional<QString> emulatorFile(const QString& path, const Kit* kit, QString* error,
                                    Progress* progress = nullptr);

// The loading screen a tape carries, its first block of 6,912 bytes, read
// without loading the tape; empty when it has none or is no tape.
QByteArray tapeScreen(const QString& path);

} // namespace tessel
