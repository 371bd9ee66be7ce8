// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/FolderListing.h"
#include "browser/WatchThread.h"

#include <QFutureWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

namespace tessel {

// The listings of the folders the browser shows, one per folder, shared by
// the folder tree and the file list: the tree takes a folder's subfolders,
// the list its files, and a folder both show is read once, in bounded
// batches on the background pool. Folders held are watched; a change on disk
// reads the folder again and each holder hears only the difference. A
// reading nobody holds any more is cancelled.
class FolderListings final : public QObject
{
    Q_OBJECT

public:
    // What a holder hears: the whole listing when it is the holder's first,
    // otherwise the steps from the listing it heard last.
    struct Update
    {
        bool first = true;
        const FolderContents& contents;
        const QList<ListingChange>& folderChanges;
        const QList<ListingChange>& fileChanges;
    };
    using Listener = std::function<void(const Update&)>;

    // A holder's claim on one folder's listing, given up when dropped.
    class Hold
    {
    public:
        Hold() = default;
        Hold(Hold&& other) noexcept;
        Hold& operator=(Hold&& other) noexcept;
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        bool isHeld() const { return m_owner != nullptr; }
        void release();

    private:
        friend class FolderListings;
        Hold(FolderListings* owner, const QString& folder, quint64 id);
        FolderListings* m_owner = nullptr;
        QString m_folder;
        quint64 m_id = 0;
    };

    explicit FolderListings(QObject* parent = nullptr);
    // Every Hold must be gone first.
    ~FolderListings() override;

    // Wildcards for the files kept, matched in any letter case. Holders of
    // files take new holds to see the new set.
    void setNamePatterns(const QStringList& patterns);
    QStringList namePatterns() const { return m_patterns; }

    // The listener hears the folder's listing once it is read (soon after,
    // from the event loop, when it already is), and every change after, on
    // this thread. With files, the listing holds the matching files too.
    [[nodiscard]] Hold hold(const QString& folder, bool files, Listener listener);

    // Readings started, or waiting for their folder's watch, and not yet in
    // or cancelled.
    int readingsUnderWay() const;

private:
    struct Holder
    {
        quint64 id = 0;
        bool files = false;
        bool heard = false;
        Listener listener;
    };
    // A reading's result: the listing, and the steps from the one before.
    struct Read
    {
        FolderContents contents;
        QList<ListingChange> folderChanges;
        QList<ListingChange> fileChanges;
    };
    struct Folder
    {
        QString path;
        QList<Holder> holders;
        bool read = false; // `last` is a listing
        bool filesRead = false; // with the files
        bool watched = false;
        // Asked to be watched, no answer yet: the reading waits for it, so
        // that a change made while it reads is not missed.
        quint64 watchTicket = 0;
        bool watchPending = false;
        bool readWhenWatched = false;
        bool changed = false; // on disk, since the reading under way began
        FolderContents last;
        std::unique_ptr<QFutureWatcher<Read>> job;
        bool jobFiles = false; // the reading under way keeps files
        std::shared_ptr<std::atomic<bool>> keepFiles; // told to it between batches
    };

    void release(const QString& folder, quint64 id);
    bool wantsFiles(const Folder& folder) const;
    void startReading(Folder& folder);
    void cancelReading(Folder& folder);
    void onRead(const QString& path);
    void deliver(const QString& path, const QList<quint64>& to, const FolderContents& contents,
                 const QList<ListingChange>& folderChanges,
                 const QList<ListingChange>& fileChanges);
    void deliverLast(const QString& path, quint64 id);
    void watch(Folder& folder);
    void onWatched(const QString& path, quint64 ticket, bool ok);
    void onChanged(const QString& path);
    void readChanged();

    QStringList m_patterns;
    QHash<QString, std::shared_ptr<Folder>> m_folders;
    quint64 m_nextId = 1;
    QSet<QString> m_changed; // folders to read again after a burst of changes
    QTimer m_refresh;
    quint64 m_lastTicket = 0;
    WatchThread m_watcher;
};

} // namespace tessel
