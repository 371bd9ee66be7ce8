// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/FolderListings.h"

#include "core/Background.h"

#include <utility>

namespace tessel {

namespace {
// Changes on disk come in bursts (a copy, an unpacked archive): one read
// after the burst does for all of them.
constexpr int kRefreshDelayMs = 100;
// Entries read in one batch: about a millisecond's work.
constexpr int kBatch = 2048;

const QList<ListingChange> kNoChanges;
} // namespace

FolderListings::Hold::Hold(FolderListings* owner, const QString& folder, quint64 id)
    : m_owner(owner)
    , m_folder(folder)
    , m_id(id)
{ }

FolderListings::Hold::Hold(Hold&& other) noexcept
    : m_owner(std::exchange(other.m_owner, nullptr))
    , m_folder(std::move(other.m_folder))
    , m_id(other.m_id)
{ }

FolderListings::Hold& FolderListings::Hold::operator=(Hold&& other) noexcept
{
    if (this != &other) {
        release();
        m_owner = std::exchange(other.m_owner, nullptr);
        m_folder = std::move(other.m_folder);
        m_id = other.m_id;
    }
    return *this;
}

FolderListings::Hold::~Hold()
{
    release();
}

void FolderListings::Hold::release()
{
    if (FolderListings* owner = std::exchange(m_owner, nullptr))
        owner->release(m_folder, m_id);
}

FolderListings::FolderListings(QObject* parent)
    : QObject(parent)
    , m_watcher(
          this,
          [this](const QString& path, quint64 ticket, bool ok) { onWatched(path, ticket, ok); },
          [this](const QString& path) { onChanged(path); })
{
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshDelayMs);
    connect(&m_refresh, &QTimer::timeout, this, &FolderListings::readChanged);
}

// The readings hold nothing of this: told to stop, they end on their own.
FolderListings::~FolderListings()
{
    for (const std::shared_ptr<Folder>& folder : std::as_const(m_folders))
        cancelReading(*folder);
}

void FolderListings::setNamePatterns(const QStringList& patterns)
{
    if (patterns == m_patterns)
        return;
    m_patterns = patterns;
    for (const std::shared_ptr<Folder>& folder : std::as_const(m_folders)) {
        folder->filesRead = false;
        folder->last.files = {};
        for (Holder& holder : folder->holders)
            holder.heard = holder.heard && !holder.files;
        if (folder->job && folder->jobFiles)
            cancelReading(*folder);
        if (!folder->job && wantsFiles(*folder))
            startReading(*folder);
    }
}

FolderListings::Hold FolderListings::hold(const QString& path, bool files, Listener listener)
{
    std::shared_ptr<Folder>& slot = m_folders[path];
    if (!slot) {
        slot = std::make_shared<Folder>();
        slot->path = path;
        // Watched before it is read, so a change during the read is not missed.
        watch(*slot);
    }
    Folder& folder = *slot;
    const quint64 id = m_nextId++;
    folder.holders.append({id, files, false, std::move(listener)});
    const bool covered = !files || folder.filesRead;
    // From the event loop: a holder is never called back inside hold().
    if (folder.read && covered)
        QMetaObject::invokeMethod(
            this, [this, path, id] { deliverLast(path, id); }, Qt::QueuedConnection);
    if (files && folder.job && !folder.jobFiles)
        cancelReading(folder); // read again, this time with the files
    if (!folder.job && !(folder.read && covered))
        startReading(folder);
    return Hold(this, path, id);
}

void FolderListings::release(const QString& path, quint64 id)
{
    const auto it = m_folders.find(path);
    if (it == m_folders.end())
        return;
    Folder& folder = **it;
    folder.holders.removeIf([id](const Holder& holder) { return holder.id == id; });
    if (folder.holders.isEmpty()) {
        cancelReading(folder);
        if (folder.watched || folder.watchPending)
            m_watcher.unwatch(path);
        m_changed.remove(path);
        m_folders.erase(it);
        return;
    }
    if (!wantsFiles(folder)) {
        folder.filesRead = false;
        folder.last.files = {};
        if (folder.jobFiles) {
            folder.jobFiles = false;
            folder.keepFiles->store(false, std::memory_order_relaxed);
        }
    }
}

int FolderListings::readingsUnderWay() const
{
    int count = 0;
    for (const std::shared_ptr<Folder>& folder : m_folders)
        count += folder->job || folder->readWhenWatched ? 1 : 0;
    return count;
}

bool FolderListings::wantsFiles(const Folder& folder) const
{
    return std::any_of(folder.holders.begin(), folder.holders.end(),
                       [](const Holder& holder) { return holder.files; });
}

void FolderListings::cancelReading(Folder& folder)
{
    if (folder.job) {
        folder.job->cancel();
        folder.job.reset();
    }
    folder.jobFiles = false;
    folder.readWhenWatched = false;
}

void FolderListings::watch(Folder& folder)
{
    folder.watchTicket = ++m_lastTicket;
    folder.watchPending = true;
    m_watcher.watch(folder.path, folder.watchTicket);
}

void FolderListings::onWatched(const QString& path, quint64 ticket, bool ok)
{
    const std::shared_ptr<Folder> folder = m_folders.value(path);
    // A folder let go, and perhaps held again, since: its own answer follows.
    if (!folder || folder->watchTicket != ticket)
        return;
    folder->watchPending = false;
    folder->watched = ok;
    if (std::exchange(folder->readWhenWatched, false) && !folder->job)
        startReading(*folder);
}

void FolderListings::startReading(Folder& folder)
{
    if (folder.watchPending) {
        folder.readWhenWatched = true;
        return;
    }
    const bool files = wantsFiles(folder);
    auto keepFiles = std::make_shared<std::atomic<bool>>(files);
    folder.keepFiles = keepFiles;
    folder.jobFiles = files;
    folder.changed = false;
    // Steps are worked out on the worker, from the listing the holders have.
    const bool stepFolders = folder.read;
    const bool stepFiles = files && folder.filesRead;
    const FolderContents before = folder.last;
    auto reading = std::make_shared<FolderReading>(folder.path, files ? m_patterns : QStringList());

    folder.job = std::make_unique<QFutureWatcher<Read>>();
    QFutureWatcher<Read>* job = folder.job.get();
    connect(job, &QFutureWatcherBase::finished, this, [this, path = folder.path, job] {
        const auto it = m_folders.constFind(path);
        if (it != m_folders.cend() && (*it)->job.get() == job)
            onRead(path);
    });
    // Every step is bounded: a batch of entries read, or of names sorted,
    // then the steps for the holders, the files' in a step of their own.
    job->setFuture(
        runInBatches<Read>([reading, keepFiles, before, stepFolders, stepFiles, read = Read(),
                            sorted = false](QPromise<Read>& promise) mutable {
            const bool files = keepFiles->load(std::memory_order_relaxed);
            if (!files)
                reading->dropFiles();
            if (!sorted) {
                if (reading->readSome(kBatch) || reading->sortSome(kBatch))
                    return true;
                sorted = true;
                read.contents = reading->finish();
                if (stepFolders)
                    read.folderChanges =
                        diffListings(before.folders, read.contents.folders, NameOrder());
                if (stepFiles && files)
                    return true;
            } else if (files) {
                read.fileChanges = diffListings(before.files, read.contents.files, NameOrder());
            } else {
                read.contents.files = {};
            }
            promise.addResult(std::move(read));
            return false;
        }));
}

void FolderListings::onRead(const QString& path)
{
    const std::shared_ptr<Folder> folder = m_folders.value(path);
    // The watcher calling: it goes once the call is over.
    QFutureWatcher<Read>* job = folder->job.release();
    job->deleteLater();
    const QFuture<Read> future = job->future();
    if (future.isCanceled() || future.resultCount() == 0)
        return;
    const Read read = future.result();
    folder->read = true;
    folder->filesRead = folder->jobFiles;
    folder->jobFiles = false;
    folder->last = read.contents;
    if (read.contents.ok && !folder->watched && !folder->watchPending) {
        watch(*folder);
    } else if (!read.contents.ok && folder->watched) {
        m_watcher.unwatch(path);
        folder->watched = false;
    }
    if (folder->changed) {
        m_changed.insert(path);
        m_refresh.start();
    }
    QList<quint64> to;
    for (const Holder& holder : std::as_const(folder->holders))
        to.append(holder.id);
    deliver(path, to, read.contents, read.folderChanges, read.fileChanges);
}

// Holders may come and go while they hear: each is looked up afresh.
void FolderListings::deliver(const QString& path, const QList<quint64>& to,
                             const FolderContents& contents,
                             const QList<ListingChange>& folderChanges,
                             const QList<ListingChange>& fileChanges)
{
    for (const quint64 id : to) {
        const std::shared_ptr<Folder> folder = m_folders.value(path);
        if (!folder)
            return;
        const auto holder =
            std::find_if(folder->holders.begin(), folder->holders.end(),
                         [id](const Holder& candidate) { return candidate.id == id; });
        if (holder == folder->holders.end())
            continue;
        const bool first = !holder->heard;
        const bool files = holder->files;
        if (!first && folderChanges.isEmpty() && (!files || fileChanges.isEmpty()))
            continue;
        holder->heard = true;
        const Listener listener = holder->listener;
        listener(Update{first, contents, folderChanges, files ? fileChanges : kNoChanges});
    }
}

void FolderListings::deliverLast(const QString& path, quint64 id)
{
    const std::shared_ptr<Folder> folder = m_folders.value(path);
    if (!folder)
        return;
    const auto holder = std::find_if(folder->holders.begin(), folder->holders.end(),
                                     [id](const Holder& candidate) { return candidate.id == id; });
    if (holder == folder->holders.end() || holder->heard || !folder->read
        || (holder->files && !folder->filesRead))
        return;
    holder->heard = true;
    const Listener listener = holder->listener;
    const FolderContents last = folder->last;
    listener(Update{true, last, kNoChanges, kNoChanges});
}

void FolderListings::onChanged(const QString& path)
{
    const std::shared_ptr<Folder> folder = m_folders.value(path);
    if (!folder)
        return;
    if (folder->job) {
        folder->changed = true;
        return;
    }
    m_changed.insert(path);
    m_refresh.start();
}

void FolderListings::readChanged()
{
    const QSet<QString> changed = std::exchange(m_changed, {});
    for (const QString& path : changed) {
        const std::shared_ptr<Folder> folder = m_folders.value(path);
        if (folder && !folder->job)
            startReading(*folder);
    }
}

} // namespace tessel
