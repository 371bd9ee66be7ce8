// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/FolderListing.h"

#include <QAbstractListModel>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QIcon>
#include <QTimer>

namespace tessel {

// The file list: the files of one folder whose names match the patterns, in
// NameOrder. The folder is read on a worker thread and shown in one go; a
// newer folder drops the older listing. While a folder shows, files added or
// removed on disk are read again in the background and only the difference
// reaches the rows.
class FileListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit FileListModel(QObject* parent = nullptr);
    ~FileListModel() override;

    // Wildcards matched in any letter case, e.g. {"*.sna*", "*.z80"}. A new
    // set reads the folder again.
    void setNameFilters(const QStringList& patterns);
    QStringList nameFilters() const { return m_patterns; }

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
    // The folder could not be listed; the rows stay empty.
    void folderFailed(const QString& folder, const QString& error);

private:
    struct Listing
    {
        quint64 generation = 0;
        bool refresh = false;
        bool ok = false;
        QString error;
        QList<FolderEntry> entries;
        QList<ListingChange> changes;
    };

    void startListing(bool refresh);
    void onListed();
    void scheduleRefresh();
    void replaceRows(QList<FolderEntry> entries);

    QStringList m_patterns;
    QString m_folder;
    quint64 m_generation = 0;
    bool m_loaded = false;
    bool m_listing = false;
    bool m_changedMeanwhile = false;
    QList<FolderEntry> m_entries;
    mutable QIcon m_fileIcon; // made on first use: the theme lookup costs at start-up
    mutable bool m_iconMade = false;
    QFutureWatcher<Listing> m_job;
    QFileSystemWatcher m_watcher;
    QTimer m_refresh;
};

} // namespace tessel
