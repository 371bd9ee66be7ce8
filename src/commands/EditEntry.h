// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

class Prompts;
class SnapshotList;

// Renames the entry of a row under the menu-name rule. A name the rule
// refuses is refused with a message saying why, and the entry keeps its
// name. Nothing for a row without an entry. True when the name was taken.
bool renameEntry(SnapshotList& list, int row, const QString& name, Prompts& prompts);

// Moves the entry of a row `by` rows up (negative) or down, within the
// entries. Returns the row the entry is on afterwards; the same row when
// it has no entry or would leave the entries, and nothing moves.
int moveEntry(SnapshotList& list, int row, int by);

} // namespace tessel
