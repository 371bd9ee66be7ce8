#pragma once

namespace tessel {

class Prompts;
class SnapshotGrid;
struct SnapshotTable;

// The Delete key on the grid: removes the current row when it holds an entry.
void removeCurrentRow(SnapshotTable& table, SnapshotGrid& grid, Prompts& prompts);

// Removes the entry of the grid's current row after a confirmation; the
// later entries move up one row.
void BorrarSnap(SnapshotTable& table, SnapshotGrid& grid, Prompts& prompts);

} // namespace tessel
