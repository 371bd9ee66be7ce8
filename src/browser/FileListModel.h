// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/FolderListings.h"

#include <QAbstractListModel>
#include <QIcon>

namespace tessel {

// The file list: the files of one folder whose names match the patterns, in
// NameOrder, from the folder's shared listing. The rows empty at once when
// the folder changes and come in one go once it is read; files added or
// removed on disk later reach the rows one step at a time.
class FileListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit FileListModel(FolderListings& listings, QObject* parent = nullptr);

    // Wildcards matched in any letter case, e.g. {"*.sna*", "*.z80"}. A new
    // set reads the folder again.
    void setNameFilters(const QStringList& patterns);
    QStringList nameFilters() const { return m_listings.namePatterns(); }

    // Empties the rows at once and lists the folder in the background; an
    // empty path leaves the list empty.
    void setFolder(const QString& folder);
    // The folder asked for last, listed or not.
    QString folder() const { return m_folder; }
    // True once the rows are the folder's.
    bool isLoaded() const { return m_loaded; }

    QString fileName(int row) const { return m_entries.value(row).name; }
    // False for a name that does not lead back to its file (not valid text).
    bool hasExactName(int row) const { return m_entries.value(row).exactName; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    // The first listing of the folder is in the rows.
    void folderLoaded(const QString& folder);
    // The folder could not be listed, or no longer can be; the rows are empty.
    void folderFailed(const QString& folder, const QString& error);

private:
    void onListed(const FolderListings::Update& update);
    void replaceRows(QList<FolderEntry> entries);

    FolderListings& m_listings;
    FolderListings::Hold m_listing;
    QString m_folder;
    bool m_loaded = false;
    bool m_holdPending = false; // setNameFilters() holds the folder again from the event loop
    QList<FolderEntry> m_entries;
    mutable QIcon m_fileIcon; // made on first use: the theme lookup costs at start-up
    mutable bool m_iconMade = false;
};

} // namespace tessel
