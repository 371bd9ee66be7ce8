// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCollator>
#include <QFuture>
#include <QList>
#include <QPromise>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <optional>

namespace tessel {

// An entry of a folder listing, file or subfolder.
struct FolderEntry
{
    QString name;
    // False when the name on disk is not valid text in the system's encoding:
    // the shown name would then lead to no file, or to another one.
    bool exactName = true;

    friend bool operator==(const FolderEntry&, const FolderEntry&) = default;
};

} // namespace tessel

// Lists of entries move in memory without calling constructors.
Q_DECLARE_TYPEINFO(tessel::FolderEntry, Q_RELOCATABLE_TYPE);

namespace tessel {

// The order the browser shows names in, the locale's: letters in any case
// alike, numbers by value ("game 9" before "game 10"; the C locale compares
// characters only). Names that differ only in case keep a fixed order among
// themselves. Use one per thread.
class NameOrder
{
public:
    NameOrder();
    int compare(const QString& a, const QString& b) const;
    bool operator()(const FolderEntry& a, const FolderEntry& b) const
    {
        return compare(a.name, b.name) < 0;
    }

private:
    QCollator m_collator;
};

// Says whether the caller has given up on a listing; checked now and then.
using CancelCheck = std::function<bool()>;

// The visible files of a folder whose names match one of the patterns ("*.sna*")
// in any letter case, in NameOrder. Hidden and system files are left out.
// Returns nothing when cancelled, or when the folder cannot be read or goes
// away while it is read (error says which).
std::optional<QList<FolderEntry>> listFiles(const QString& folder, const QStringList& patterns,
                                            const CancelCheck& cancelled, QString* error);

// The visible subfolders of a folder, in NameOrder; fails as listFiles does.
std::optional<QList<FolderEntry>> listFolders(const QString& folder, const CancelCheck& cancelled,
                                              QString* error);

// One step from one sorted listing to the next: remove `removed` rows at
// `row`, or insert `inserted` there. Steps apply in order, each on the rows
// the previous steps left.
struct ListingChange
{
    int row = 0;
    int removed = 0;
    QList<FolderEntry> inserted;
};

// The steps that turn `before` into `after`, both in NameOrder.
QList<ListingChange> diffListings(const QList<FolderEntry>& before, const QList<FolderEntry>& after,
                                  const NameOrder& order);

// Runs job(promise) on Qt's thread pool. The job watches promise.isCanceled()
// and adds its result; the future reports it, a QFutureWatcher on the
// caller's thread hands it over.
template <typename T, typename Job> QFuture<T> runInBackground(Job job)
{
    auto promise = std::make_shared<QPromise<T>>();
    QFuture<T> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, job = std::move(job)]() mutable {
        if (!promise->isCanceled())
            job(*promise);
        promise->finish();
    });
    return future;
}

} // namespace tessel
