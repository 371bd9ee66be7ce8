// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace tessel {

class Prompts;
class SnapshotList;

// Adds the files, in order, each after checking that it is a snapshot the
// cartridge takes and asking for its menu name. A full list gets the
// list-full warning; a file that is not taken gets a warning and ends the
// run. Returns how many of the files were dealt with (added or refused),
// from the first: the caller deselects those.
int addSnapshots(SnapshotList& list, const QStringList& paths, Prompts& prompts);

// Files dropped on the window, added as addSnapshots() adds them until the
// list is full. Of many files, one the cartridge does not take should not
// cost the user the rest: it is skipped, and after the run one warning names
// every file skipped and why. When files are left over because the list is
// full, the list-full warning says how many. Returns how many were added.
int addDroppedSnapshots(SnapshotList& list, const QStringList& paths, Prompts& prompts);

} // namespace tessel
