// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/FileListModel.h"

#include <QAbstractFileIconProvider>

#include <utility>

namespace tessel {

namespace {
// Past this many separate steps one reset costs the views less.
constexpr qsizetype kMaxSteps = 256;
} // namespace

FileListModel::FileListModel(FolderListings& listings, QObject* parent)
    : QAbstractListModel(parent)
    , m_listings(listings)
{ }

void FileListModel::setNameFilters(const QStringList& patterns)
{
    if (patterns == m_listings.namePatterns())
        return;
    // Let go first, so the listings start no reading of the old set for us.
    m_listing.release();
    m_listings.setNamePatterns(patterns);
    if (m_folder.isEmpty())
        return;
    m_loaded = false;
    replaceRows({});
    // Held from the event loop: a setFolder() right after makes it needless.
    m_holdPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (std::exchange(m_holdPending, false))
                setFolder(m_folder);
        },
        Qt::QueuedConnection);
}

void FileListModel::setFolder(const QString& folder)
{
    m_listing.release(); // before the next is held: a reading of this folder alone stops
    m_holdPending = false;
    m_folder = folder;
    m_loaded = false;
    // The old names must not stay under the new folder, not even for a moment.
    replaceRows({});
    if (m_folder.isEmpty())
        return;
    m_listing = m_listings.hold(m_folder, true,
                                [this](const FolderListings::Update& update) { onListed(update); });
}

void FileListModel::onListed(const FolderListings::Update& update)
{
    const FolderContents& contents = update.contents;
    if (update.first) {
        replaceRows(contents.files);
        if (contents.ok) {
            m_loaded = true;
            emit folderLoaded(m_folder);
        } else {
            emit folderFailed(m_folder, contents.error);
        }
        return;
    }
    if (!contents.ok) {
        // The folder went (or cannot be read any more) while it showed.
        replaceRows({});
        if (std::exchange(m_loaded, false))
            emit folderFailed(m_folder, contents.error);
        return;
    }
    if (update.fileChanges.size() > kMaxSteps) {
        replaceRows(contents.files);
        return;
    }
    for (const ListingChange& change : update.fileChanges) {
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
