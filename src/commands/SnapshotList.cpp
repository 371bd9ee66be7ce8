// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/SnapshotList.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

#include <algorithm>

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

bool SnapshotList::setTrainers(int row, const QList<Trainer>& trainers)
{
    if (row < 0 || row >= count())
        return false;
    m_entries[row].trainers = trainers;
    emit dataChanged(index(row, PathColumn), index(row, NameColumn),
                     {Qt::DisplayRole, Qt::ToolTipRole, Qt::DecorationRole});
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
    if (role != Qt::ToolTipRole)
        return shown;
    QStringList lines{shown};
    if (!entry.note.isEmpty())
        lines << entry.note;
    if (!entry.trainers.isEmpty()) {
        QStringList names;
        for (const Trainer& trainer : entry.trainers)
            names << QStringLiteral("\"%1\"").arg(trainer.name);
        lines << tr("Trainers applied in the image: %1.").arg(names.join(QStringLiteral(", ")));
    }
    return lines.join(QLatin1Char('\n'));
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

Qt::ItemFlags SnapshotList::flags(const QModelIndex& index) const
{
    // The list as a whole takes drops; an entry is dragged.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

QStringList SnapshotList::mimeTypes() const
{
    return {kRowMimeType};
}

QMimeData* SnapshotList::mimeData(const QModelIndexList& indexes) const
{
    const auto entry = std::find_if(indexes.cbegin(), indexes.cend(), [this](const QModelIndex& i) {
        return checkIndex(i, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid);
    });
    if (entry == indexes.cend())
        return nullptr;
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << QCoreApplication::applicationPid() << quintptr(this) << qint32(entry->row());
    auto* data = new QMimeData;
    data->setData(kRowMimeType, payload);
    return data;
}

Qt::DropActions SnapshotList::supportedDragActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions SnapshotList::supportedDropActions() const
{
    return Qt::MoveAction;
}

int SnapshotList::draggedRow(const QMimeData* data) const
{
    if (!data || !data->hasFormat(kRowMimeType))
        return -1;
    QDataStream in(data->data(kRowMimeType));
    qint64 pid = 0;
    quintptr list = 0;
    qint32 row = -1;
    in >> pid >> list >> row;
    // Another window's or another program's rows mean nothing here.
    if (in.status() != QDataStream::Ok || pid != QCoreApplication::applicationPid()
        || list != quintptr(this) || row < 0 || row >= count())
        return -1;
    return row;
}

bool SnapshotList::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                   const QModelIndex& parent) const
{
    return action == Qt::MoveAction && !parent.parent().isValid() && draggedRow(data) >= 0;
}

bool SnapshotList::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                const QModelIndex& parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    const int from = draggedRow(data);
    int before = parent.isValid() ? parent.row() : row;
    if (before < 0 || before > count())
        before = count();
    // The rows after the dragged one move up once it is out of the way.
    return move(from, before > from ? before - 1 : before);
}

} // namespace tessel
