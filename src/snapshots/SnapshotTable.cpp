#include "snapshots/SnapshotTable.h"

#include "core/Prompts.h"
#include "snapshots/SnapshotGrid.h"

namespace tessel {

void VaciarTabla(SnapshotTable& table)
{
    for (int i = 0; i < kMaxSnaps; ++i) {
        table.TablaSnaps[i][kColPath].clear();
        table.TablaSnaps[i][kColName].clear();
    }
}

void LimpiarRejilla(SnapshotGrid& grid)
{
    for (int r = 1; r <= kMaxSnaps; ++r) {
        grid.setTextMatrix(r, kColPath, QString());
        grid.setTextMatrix(r, kColName, QString());
    }
}

void MostrarTabla(const SnapshotTable& table, SnapshotGrid& grid)
{
    for (int i = 0; i < kMaxSnaps; ++i) {
        grid.setTextMatrix(i + 1, kColPath, table.TablaSnaps[i][kColPath]);
        grid.setTextMatrix(i + 1, kColName, table.TablaSnaps[i][kColName]);
    }
}

void newList(Prompts& prompts, SnapshotTable& table, SnapshotGrid& grid)
{
    const Answer answer =
        prompts.message(QStringLiteral("Are you sure? The actual list of SNAs will be erased."),
                        kAppTitle, Icon::Critical, Buttons::YesNo);
    if (answer != Answer::Yes)
        return;
    LimpiarRejilla(grid);
    VaciarTabla(table);
    table.NumSnaps = 0;
}

} // namespace tessel
