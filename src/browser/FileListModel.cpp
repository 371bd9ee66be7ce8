// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/FileListModel.h"

#include <QAbstractFileIconProvider>

namespace tessel {

namespace {
// Changes on disk come in bursts (a copy, an unpacked archive): one read
// after the burst does for all of them.
constexpr int kRefreshDelayMs = 100;
// Past this many separate steps one reset costs the views less.
constexpr qsizetype kMaxSteps = 256;
} // namespace

FileListModel::FileListModel(QObject* parent)
    : QAbstractListModel(parent)
{
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshDelayMs);
    connect(&m_refresh, &QTimer::timeout, this, [this] { startListing(true); });
    connect(&m_job, &QFutureWatcherBase::finished, this, &FileListModel::onListed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& path) {
        if (path == m_folder)
            scheduleRefresh();
    });
}

// The worker holds nothing of the model: told to stop, it ends on its own.
FileListModel::~FileListModel()
{
    m_job.cancel();
}

void FileListModel::setNameFilters(const QStringList& patterns)
{
    if (patterns == m_patterns)
        return;
    m_patterns = patterns;
    if (!m_folder.isEmpty())
        setFolder(m_folder);
}

void FileListModel::setFolder(const QString& folder)
{
    m_job.cancel();
    ++m_generation;
    m_listing = false;
    m_changedMeanwhile = false;
    m_refresh.stop();
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_folder = folder;
    m_loaded = false;
    // The old names must not stay under the new folder, not even for a moment.
    replaceRows({});
    if (m_folder.isEmpty())
        return;
    // Watched before it is read, so a change during the read is not missed.
    m_watcher.addPath(m_folder);
    startListing(false);
}

void FileListModel::startListing(bool refresh)
{
    const quint64 generation = m_generation;
    const QString folder = m_folder;
    const QStringList patterns = m_patterns;
    const QList<FolderEntry> before = refresh ? m_entries : QList<FolderEntry>();
    m_listing = true;
    m_job.setFuture(runInBackground<Listing>(
        [generation, refresh, folder, patterns, before](QPromise<Listing>& promise) {
            Listing result;
            result.generation = generation;
            result.refresh = refresh;
            std::optional<QList<FolderEntry>> entries = listFiles(
                folder, patterns, [&promise] { return promise.isCanceled(); }, &result.error);
            if (promise.isCanceled())
                return;
            result.ok = entries.has_value();
            if (entries) {
                if (refresh)
                    result.changes = diffListings(before, *entries, NameOrder());
                result.entries = std::move(*entries);
            }
            promise.addResult(std::move(result));
        }));
}

void FileListModel::onListed()
{
    const QFuture<Listing> future = m_job.future();
    if (future.isCanceled() || future.resultCount() == 0)
        return;
    Listing result = future.result();
    if (result.generation != m_generation)
        return;
    m_listing = false;

    if (!result.ok) {
        replaceRows({});
        if (!result.refresh) {
            if (!m_watcher.directories().isEmpty())
                m_watcher.removePaths(m_watcher.directories());
            emit folderFailed(m_folder, result.error);
            return;
        }
    } else if (!result.refresh) {
        replaceRows(std::move(result.entries));
        m_loaded = true;
        emit folderLoaded(m_folder);
    } else if (result.changes.size() > kMaxSteps) {
        replaceRows(std::move(result.entries));
    } else {
        for (const ListingChange& change : std::as_const(result.changes)) {
            if (change.removed > 0) {
                beginRemoveRows({}, change.row, change.row + change.removed - 1);
                m_entries.remove(change.row, change.removed);
                endRemoveRows();
            } else if (!change.inserted.isEmpty()) {
                const int count = int(change.inserted.size());
                beginInsertRows({}, change.row, change.row + count - 1);
                m_entries.insert(change.row, count, FolderEntry());
                std::copy(change.inserted.begin(), change.inserted.end(),
                          m_entries.begin() + change.row);
                endInsertRows();
            }
        }
    }
    if (m_changedMeanwhile) {
        m_changedMeanwhile = false;
        m_refresh.start();
    }
}

void FileListModel::scheduleRefresh()
{
    if (m_listing)
        m_changedMeanwhile = true;
    else if (m_loaded)
        m_refresh.start();
}

void FileListModel::replaceRows(QList<FolderEntry> entries)
{
    if (entries.isEmpty() && m_entries.isEmpty())
        return;
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_entries.at(index.row()).name;
    case Qt::DecorationRole:
        if (!m_iconMade) {
            m_fileIcon = QAbstractFileIconProvider().icon(QAbstractFileIconProvider::File);
            m_iconMade = true;
        }
        return m_fileIcon;
    default:
        return {};
    }
}

} // namespace tessel
