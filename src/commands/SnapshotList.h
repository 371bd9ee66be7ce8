// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Cartridge.h"
#include "core/SnapshotEntry.h"

#include <QAbstractTableModel>

namespace tessel {

// The compilation being made: up to ten entries in menu order, the one copy
// of them. A row an entry: column 0 the snapshot's path, column 1 its menu
// name. Views that want the cartridge's ten rows put a proxy in front.
class SnapshotList final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { PathColumn, NameColumn, ColumnCount };
    // A row dragged within the list: only this list, in this process, takes it.
    static inline const QString kRowMimeType = QStringLiteral("application/x-tessel-list-row");

    explicit SnapshotList(QObject* parent = nullptr);

    const SnapshotEntries& entries() const { return m_entries; }
    int count() const { return static_cast<int>(m_entries.size()); }
    bool isFull() const { return count() >= kEntryCount; }
    // The entry of a row; an empty one past the last entry.
    SnapshotEntry entry(int row) const;

    // False, changing nothing, when the list is full.
    bool append(const SnapshotEntry& entry);
    // Later entries move up one row; nothing for a row without an entry.
    void removeAt(int row);
    // The entry at `from` moves to row `to`, the ones between shift by one;
    // false, changing nothing, when either row has no entry.
    bool move(int from, int to);
    // False, changing nothing, for a row without an entry.
    bool setName(int row, const QString& name);
    // The trainers applied to the entry's snapshot; false, changing
    // nothing, for a row without an entry.
    bool setTrainers(int row, const QList<Trainer>& trainers);
    void clear();
    // Replaces the whole list; false, changing nothing, for more than ten.
    bool setEntries(const SnapshotEntries& entries);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // An entry dragged to another row is moved there, never copied.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    // The dragged entry goes before `row`, or before the entry dropped on; a
    // drop past the entries (row -1 or count()) makes it the last one.
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

private:
    // The row a drag of this list carries; -1 for anything else.
    int draggedRow(const QMimeData* data) const;

    SnapshotEntries m_entries;
};

} // namespace tessel
