#pragma once

#include <QString>

#include <array>

namespace tessel {

class Prompts;
class SnapshotGrid;

constexpr int kMaxSnaps = 10;
constexpr int kColPath = 0;
constexpr int kColName = 1;

// The list being compiled: rows 0..NumSnaps-1 filled in the order they were
// added, the rest empty. Row 10 is never written; removal copies it up as the
// blank row.
struct SnapshotTable
{
    std::array<std::array<QString, 2>, kMaxSnaps + 1> TablaSnaps;
    qint16 NumSnaps = 0;

    bool isFull() const { return NumSnaps >= kMaxSnaps; }
};

void VaciarTabla(SnapshotTable& table);
void LimpiarRejilla(SnapshotGrid& grid);
void MostrarTabla(const SnapshotTable& table, SnapshotGrid& grid);

// The New command: after a confirmation, empties the grid and the table.
void newList(Prompts& prompts, SnapshotTable& table, SnapshotGrid& grid);

} // namespace tessel
