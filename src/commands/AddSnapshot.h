// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"
#include "formats/SnapshotReader.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

class Kit;
class Prompts;
class SnapshotList;

// The one door to the list. Every way a snapshot enters it (the file list,
// drops, Add Folder, compilations, images) reads the file here: what the
// cartridge does not take is refused, hardware the program will likely not
// run without is asked about, and what it can do without becomes the
// entry's note.

// What reading a snapshot found beside its memory.
struct Admission
{
    QStringList needs; // the texts of the Needed warnings: asked about
    QString note; // every warning's note, for the naming box and the grid
};

// Reads the file (a snapshot, or a tape loaded with the kit's ROM; none
// without a kit) as the list takes it; nothing, with the reason, when the
// cartridge does not take it.
std::optional<Admission> admit(const QString& path, const Kit* kit, SnapshotFault* fault,
                               QString* error);

// The file list's double click and Enter: adds the files in order, each
// after the checks and the naming box (a name is required). A full list
// gets the list-full warning; a file refused, or not confirmed, ends the
// run, as does a tape's loading cancelled (tapes load first, with a
// progress bar). Returns how many of the files were dealt with, from the first: the
// caller deselects those.
int addSnapshots(SnapshotList& list, const QStringList& paths, Prompts& prompts, const Kit* kit);

// Many files at once: a drop, or a folder's snapshots.
struct Batch
{
    enum Source { Dropped, Folder };

    QStringList paths;
    // Refusals found before the files came here (a folder with no snapshot),
    // one sentence each; told with the files' own.
    QStringList refused = {};
    Source source = Dropped;
    QString folder = {}; // for Folder: the folder, which its messages name
};

struct BatchResult
{
    int added = 0;
    bool stopped = false; // the user stopped the rest
};

// Adds the batch's files as addSnapshots() does until the list is full, but
// one file refused or not confirmed does not cost the user the rest: after
// the run one warning names every refused file and why, and the list-full
// warning says how many were left over. When there are several files the
// naming box offers Skip and Stop beside OK. A tape's loading cancelled
// stops the rest.
BatchResult addBatch(SnapshotList& list, const Batch& batch, Prompts& prompts, const Kit* kit);

// A whole list about to replace the current one (a compilation, an image):
// reads every entry as the door does and gives it its note. Returns, one
// line per warning, the entries that need hardware, for the caller's one
// question; nothing when an entry can no longer be read (*error says why).
std::optional<QStringList> inspectEntries(SnapshotEntries& entries, const Kit* kit, QString* error);

} // namespace tessel
