#include "snapshots/RemoveSnapshot.h"

#include "core/Prompts.h"
#include "snapshots/SnapshotGrid.h"
#include "snapshots/SnapshotTable.h"

namespace tessel {

void removeCurrentRow(SnapshotTable& table, SnapshotGrid& grid, Prompts& prompts)
{
    const int r = grid.row();
    if (!grid.textMatrix(r, kColPath).isEmpty() && r < SnapshotGrid::kRows && r > 0)
        BorrarSnap(table, grid, prompts);
}

void BorrarSnap(SnapshotTable& table, SnapshotGrid& grid, Prompts& prompts)
{
    const int r = grid.row();
    const QString text = QStringLiteral("Delete from the list ") + table.TablaSnaps[r - 1][kColName]
                         + QLatin1Char('?');
    if (prompts.message(text, kAppTitle, Icon::Exclamation, Buttons::OkCancel) != Answer::Ok)
        return;

    if (!grid.textMatrix(kMaxSnaps, kColPath).isEmpty() && r == kMaxSnaps) {
        // The last entry of a full list: nothing moves.
        table.TablaSnaps[kMaxSnaps - 1][kColPath].clear();
        table.TablaSnaps[kMaxSnaps - 1][kColName].clear();
        grid.setTextMatrix(kMaxSnaps, kColPath, QString());
        grid.setTextMatrix(kMaxSnaps, kColName, QString());
        table.NumSnaps = static_cast<qint16>(table.NumSnaps - 1);
        return;
    }

    // Row 10 is always empty, so the last row moved up is a blank one.
    for (int i = r - 1; i < kMaxSnaps; ++i) {
        table.TablaSnaps[i][kColPath] = table.TablaSnaps[i + 1][kColPath];
        table.TablaSnaps[i][kColName] = table.TablaSnaps[i + 1][kColName];
    }
    table.NumSnaps = static_cast<qint16>(table.NumSnaps - 1);
    grid.setRow(0);
    LimpiarRejilla(grid);
    MostrarTabla(table, grid);
}

} // namespace tessel
