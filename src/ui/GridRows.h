// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractProxyModel>

namespace tessel {

class SnapshotList;

// The grid's look of the list: always the cartridge's ten rows, the entries
// first and blank rows after them, so that any row can be current, as on
// the cartridge's menu. A row of an entry maps to the list's row. An
// entry's name is edited in place (the window does the renaming). An entry
// with trainers applied shows their mark before its snapshot.
class GridRows final : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit GridRows(SnapshotList& list, QObject* parent = nullptr);

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // A drop on a blank row goes after the last entry: the list has no holes.
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

private:
    // The rows keep their number; what they show changes from `first` down.
    void rowsChanged(int first, int last);

    SnapshotList& m_list;
};

} // namespace tessel
