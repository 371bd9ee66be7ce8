// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Cartridge.h"
#include "core/SnapshotEntry.h"

#include <QAbstractTableModel>

namespace tessel {

// The compilation being made: up to ten entries in the order they were
// added, the one copy of them. The grid is a view on it: always ten rows,
// column 0 the snapshot's path and column 1 its menu name, the rows after
// the last entry blank.
class SnapshotList final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { PathColumn, NameColumn, ColumnCount };

    explicit SnapshotList(QObject* parent = nullptr);

    const SnapshotEntries& entries() const { return m_entries; }
    int count() const { return static_cast<int>(m_entries.size()); }
    bool isFull() const { return count() >= kEntryCount; }
    // The entry of a row; an empty one for a blank row.
    SnapshotEntry entry(int row) const;

    // False, changing nothing, when the list is full.
    bool append(const SnapshotEntry& entry);
    // Later entries move up one row; nothing for a blank row.
    void removeAt(int row);
    void clear();
    // Replaces the whole list; false, changing nothing, for more than ten.
    bool setEntries(const SnapshotEntries& entries);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void rowsChanged(int first);

    SnapshotEntries m_entries;
};

} // namespace tessel
