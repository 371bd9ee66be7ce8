#include "snapshots/SnapshotGrid.h"

namespace tessel {

SnapshotGrid::SnapshotGrid(QObject* parent)
    : QAbstractTableModel(parent)
    , m_selection(this)
{
    m_cells[0] = {QStringLiteral("SNAPSHOT"), QStringLiteral("NAME")};
}

QString SnapshotGrid::textMatrix(int row, int col) const
{
    if (row < 0 || row >= kRows || col < 0 || col >= kCols)
        return {};
    return m_cells[row][col];
}

void SnapshotGrid::setTextMatrix(int row, int col, const QString& text)
{
    if (row < 0 || row >= kRows || col < 0 || col >= kCols || m_cells[row][col] == text)
        return;
    m_cells[row][col] = text;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex cell = index(row - 1, col);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

int SnapshotGrid::row() const
{
    const QModelIndex current = m_selection.currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void SnapshotGrid::setRow(int row)
{
    if (row <= 0 || row >= kRows) {
        m_selection.clear();
        return;
    }
    m_selection.setCurrentIndex(index(row - 1, 0),
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int SnapshotGrid::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kRows - 1;
}

int SnapshotGrid::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kCols;
}

QVariant SnapshotGrid::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return m_cells[index.row() + 1][index.column()];
}

QVariant SnapshotGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return textMatrix(0, section);
    return section + 1;
}

} // namespace tessel
