// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/GridRows.h"

#include "commands/SnapshotList.h"
#include "core/Cartridge.h"
#include "ui/Art.h"

namespace tessel {

GridRows::GridRows(SnapshotList& list, QObject* parent)
    : QAbstractProxyModel(parent)
    , m_list(list)
{
    setSourceModel(&list);
    const auto last = kEntryCount - 1;
    connect(&list, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to, const QList<int>& roles) {
                emit dataChanged(mapFromSource(from), mapFromSource(to), roles);
            });
    connect(&list, &QAbstractItemModel::rowsInserted, this,
            [this, last](const QModelIndex&, int first, int) { rowsChanged(first, last); });
    connect(&list, &QAbstractItemModel::rowsRemoved, this,
            [this, last](const QModelIndex&, int first, int) { rowsChanged(first, last); });
    connect(&list, &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int first, int, const QModelIndex&, int destination) {
                rowsChanged(qMin(first, destination), qMax(first, destination));
            });
    // A new list is a new document: no row stays current.
    connect(&list, &QAbstractItemModel::modelAboutToBeReset, this, &GridRows::beginResetModel);
    connect(&list, &QAbstractItemModel::modelReset, this, &GridRows::endResetModel);
}

void GridRows::rowsChanged(int first, int last)
{
    emit dataChanged(index(first, 0), index(qMin(last, kEntryCount - 1), columnCount() - 1),
                     {Qt::DisplayRole, Qt::ToolTipRole});
}

QModelIndex GridRows::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || proxyIndex.row() >= m_list.count())
        return {};
    return m_list.index(proxyIndex.row(), proxyIndex.column());
}

QModelIndex GridRows::mapFromSource(const QModelIndex& sourceIndex) const
{
    return sourceIndex.isValid() ? index(sourceIndex.row(), sourceIndex.column()) : QModelIndex();
}

QModelIndex GridRows::index(int row, int column, const QModelIndex& parent) const
{
    return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
}

QModelIndex GridRows::parent(const QModelIndex&) const
{
    return {};
}

int GridRows::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kEntryCount;
}

int GridRows::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.columnCount();
}

bool GridRows::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid();
}

QVariant GridRows::data(const QModelIndex& index, int role) const
{
    const QModelIndex source = mapToSource(index);
    if (!source.isValid())
        return {};
    if (role == Qt::DecorationRole && index.column() == SnapshotList::PathColumn
        && !m_list.entry(index.row()).trainers.isEmpty())
        return trainerMark();
    return m_list.data(source, role);
}

Qt::ItemFlags GridRows::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return m_list.flags({});
    const QModelIndex source = mapToSource(index);
    if (!source.isValid())
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Qt::ItemFlags flags = m_list.flags(source);
    return index.column() == SnapshotList::NameColumn ? flags | Qt::ItemIsEditable : flags;
}

bool GridRows::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                               const QModelIndex& parent) const
{
    return m_list.canDropMimeData(data, action, qMin(row, m_list.count()), column,
                                  mapToSource(parent));
}

bool GridRows::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                            const QModelIndex& parent)
{
    return m_list.dropMimeData(data, action, qMin(row, m_list.count()), column,
                               mapToSource(parent));
}

QVariant GridRows::headerData(int section, Qt::Orientation orientation, int role) const
{
    return m_list.headerData(section, orientation, role);
}

} // namespace tessel
