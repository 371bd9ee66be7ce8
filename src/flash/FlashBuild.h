// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"
#include "flash/FlashImage.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

class Kit;

struct BuildOptions
{
    // The file to write; empty for the working image, "tessel.rom" in the
    // working folder the settings name.
    QString output;
    // Files besides the kit's and the snapshots that the output must not
    // replace, such as the list the entries came from.
    QStringList otherInputs;
};

// A build checked and ready to write.
struct FlashJob
{
    FlashSources sources;
    QString output;
    QStringList inputs; // every file the image is made from
    QStringList warnings; // sources taken, but not as they are (a bank fitted)
};

// A bank file as a build takes it: a regular file, not empty; another size
// than 16,384 bytes is fitted, with a warning. A missing one is told with
// the folder it must go into.
bool checkBankFile(const QString& path, QStringList& warnings, QString* error);

// Checks everything a build needs before anything is written: the bank
// files (regular, not empty; another size than 16,384 bytes is fitted, with
// a warning), ten entries with names of 1 to 20 printable characters,
// snapshots the cartridge takes and trainers that poke only RAM, the settings file (read once: the
// two table offsets, the working folder), and an output that is not one of the inputs nor anything
// but a regular file. The first problem is the error.
std::optional<FlashJob> prepareBuild(const Kit& kit, const SnapshotEntries& entries,
                                     const BuildOptions& options, QString* error);

// Writes the image; it appears under its name only once complete, so on a
// failure a file already there keeps every byte.
bool writeBuild(const FlashJob& job, QString* error);

// Both halves: the one build the window and tessel-flash share.
std::optional<FlashJob> build(const Kit& kit, const SnapshotEntries& entries,
                              const BuildOptions& options, QString* error);

// Copies a built image to a file the user chose, replacing it only once the
// copy is complete, and never when it is one of `inputs` or the image.
bool exportImage(const QString& image, const QString& target, const QStringList& inputs,
                 QString* error);

} // namespace tessel
