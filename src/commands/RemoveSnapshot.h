// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessel {

class Prompts;
class SnapshotList;

// The Delete key on the grid, for the current row (0-based, -1 for none):
// after a confirmation that names the entry, the entry goes and the later
// ones move up. Returns the row that is current afterwards: none (-1) after
// a move, the same row when the last entry of a full list went or nothing
// happened.
int removeEntry(SnapshotList& list, int row, Prompts& prompts);

// The New command: empties the list after a confirmation, asked even when the
// list is empty. True when the user said yes.
bool clearList(SnapshotList& list, Prompts& prompts);

} // namespace tessel
