// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace tessel {

class Kit;
class Prompts;
class SnapshotList;

// Adds the files, in order, each after checking that it is a snapshot or a
// tape the cartridge takes (a tape loaded first, with a progress bar, the
// kit's ROM; none without a kit) and asking for its menu name. A full list gets the
// list-full warning; a file that is not taken gets a warning and ends the
// run, as does a tape's loading cancelled. Returns how many of the files
// were dealt with (added, refused or cancelled), from the first: the caller
// deselects those.
int addSnapshots(SnapshotList& list, const QStringList& paths, Prompts& prompts, const Kit* kit);

// Files dropped on the window, added as addSnapshots() adds them until the
// list is full. Of many files, one the cartridge does not take should not
// cost the user the rest: it is skipped, and after the run one warning names
// every file skipped and why. When files are left over because the list is
// full, the list-full warning says how many. A tape's loading cancelled ends
// the run. Returns how many were added.
int addDroppedSnapshots(SnapshotList& list, const QStringList& paths, Prompts& prompts,
                        const Kit* kit);

} // namespace tessel
