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
    m_entries.append(entry);
    rowsChanged(count() - 1);
    return true;
}

void SnapshotList::removeAt(int row)
{
    if (row < 0 || row >= count())
        return;
    m_entries.removeAt(row);
    rowsChanged(row);
}

void SnapshotList::clear()
{
    setEntries({});
}

bool SnapshotList::setEntries(const SnapshotEntries& entries)
{
    if (entries.size() > kEntryCount)
        return false;
    m_entries = entries;
    rowsChanged(0);
    return true;
}

// The grid keeps its ten rows; what changes is the text from `first` down.
void SnapshotList::rowsChanged(int first)
{
    emit dataChanged(index(first, 0), index(kEntryCount - 1, ColumnCount - 1),
                     {Qt::DisplayRole, Qt::ToolTipRole});
}

int SnapshotList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kEntryCount;
}

int SnapshotList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SnapshotList::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)
        || (role != Qt::DisplayRole && role != Qt::ToolTipRole) || index.row() >= count())
        return {};
    const SnapshotEntry& entry = m_entries.at(index.row());
    return index.column() == PathColumn ? entry.path : entry.name;
}

QVariant SnapshotList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case PathColumn:
        return QStringLiteral("SNAPSHOT");
    case NameColumn:
        return QStringLiteral("NAME");
    default:
        return {};
    }
}

} // namespace tessel
