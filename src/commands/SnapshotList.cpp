// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/SnapshotList.h"

namespace tessel {

SnapshotList::SnapshotList(QObject* parent)
    : QAbstractTableModel(parent)
{ }

SnapshotEntry SnapshotList::entry(int row) const
{
    return row >= 0 && row < count() ? m_entries.at(row) : SnapshotEntry();
}

bool SnapshotList::append(const SnapshotEntry& entry)
{
    if (isFull())
        return false;
    beginInsertRows({}, count(), count());
    m_entries.append(entry);
    endInsertRows();
    return true;
}

void SnapshotList::removeAt(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows({}, row, row);
    m_entries.removeAt(row);
    endRemoveRows();
}

bool SnapshotList::move(int from, int to)
{
    if (from < 0 || from >= count() || to < 0 || to >= count())
        return false;
    if (from == to)
        return true;
    // Qt counts the destination before the move: one past it when moving down.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    m_entries.move(from, to);
    endMoveRows();
    return true;
}

bool SnapshotList::setName(int row, const QString& name)
{
    if (row < 0 || row >= count())
        return false;
    m_entries[row].name = name;
    emit dataChanged(index(row, NameColumn), index(row, NameColumn),
                     {Qt::DisplayRole, Qt::ToolTipRole});
    return true;
}

void SnapshotList::clear()
{
    setEntries({});
}

bool SnapshotList::setEntries(const SnapshotEntries& entries)
{
    if (entries.size() > kEntryCount)
        return false;
    beginResetModel();
    m_entries = entries;
    endResetModel();
    return true;
}

int SnapshotList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int SnapshotList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SnapshotList::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)
        || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const SnapshotEntry& entry = m_entries.at(index.row());
    const QString shown = index.column() == PathColumn ? entry.path : entry.name;
    if (role == Qt::ToolTipRole && !entry.note.isEmpty())
        return QString(shown + QLatin1Char('\n') + entry.note);
    return shown;
}

QVariant SnapshotList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case PathColumn:
        return tr("SNAPSHOT");
    case NameColumn:
        return tr("NAME");
    default:
        return {};
    }
}

} // namespace tessel
