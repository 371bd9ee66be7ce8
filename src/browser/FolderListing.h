// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayList>
#include <QCollator>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

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
    // Puts a short run of entries in this order (see SortInSteps).
    void sortRun(QList<FolderEntry>::iterator first, QList<FolderEntry>::iterator last) const;

private:
    QCollator m_collator;
};

// A sort in NameOrder a bounded piece at a time, so a worker can yield
// between pieces: runs of names sorted by keys, then merged pairwise, a
// few thousand names per step. The list must not change meanwhile.
class SortInSteps
{
public:
    explicit SortInSteps(QList<FolderEntry>& entries);
    // Does about `budget` names' work; false once the list is sorted.
    bool step(const NameOrder& order, qsizetype budget);

private:
    void startPair();

    QList<FolderEntry>& m_entries;
    QList<FolderEntry> m_buffer; // the other side of each merge
    bool m_inBuffer = false; // the runs being merged are in the buffer
    qsizetype m_runsSorted = 0;
    qsizetype m_width = 0; // of the runs being merged; 0 before the first pass
    qsizetype m_from = 0; // where the pair being merged starts
    qsizetype m_left = 0, m_right = 0, m_out = 0;
    bool m_done = false;
};

// Wildcards ("*.sna*") matched against names in any letter case, as QDir's
// name filters are.
class NameMatcher
{
public:
    explicit NameMatcher(const QStringList& patterns);
    bool isEmpty() const { return m_stars.empty() && m_others.isEmpty(); }
    bool operator()(const QString& name) const;
    // The same for a name in the system's bytes, without decoding it, when
    // it and every pattern are plain ASCII; nothing otherwise.
    std::optional<bool> matchesBytes(QByteArrayView name) const;

private:
    // A pattern of '*' and plain text (every pattern the browser uses) is
    // matched piece by piece: a folder of 100,000 names is read against
    // several patterns, where regular expressions cost the most of the read.
    std::vector<QStringList> m_stars;
    QList<QRegularExpression> m_others;
    std::vector<QByteArrayList> m_asciiStars; // lower case; empty when any pattern is not ASCII
};

// What one reading of a folder found, each list in NameOrder.
struct FolderContents
{
    bool ok = false;
    QString error; // why not, when not ok
    QList<FolderEntry> folders;
    QList<FolderEntry> files;
};

// One reading of a folder, some entries at a time, so the reader can stop
// between batches: the visible subfolders, and the visible files whose names
// match the patterns (no files without patterns). Hidden entries are left
// out; links are followed. Fails when the folder cannot be read or goes away
// while it is read.
class FolderReading
{
public:
    FolderReading(const QString& folder, const QStringList& patterns);
    ~FolderReading();
    FolderReading(const FolderReading&) = delete;
    FolderReading& operator=(const FolderReading&) = delete;

    // Reads up to `count` more entries. False once the reading is over.
    bool readSome(int count);
    // From now on only folders are kept.
    void dropFiles();
    // Sorts some of what was read, about `budget` names' work; false once
    // all is sorted. Once readSome has returned false.
    bool sortSome(qsizetype budget);
    // The contents, sorted; once readSome has returned false.
    FolderContents finish();

private:
    struct Reader;
    QString m_folder;
    NameMatcher m_matches;
    bool m_files;
    std::unique_ptr<Reader> m_reader;
    bool m_over = false;
    FolderContents m_contents;
    std::optional<NameOrder> m_order; // made on the worker that sorts
    std::optional<SortInSteps> m_sortFolders;
    std::optional<SortInSteps> m_sortFiles;
};

// Says whether the caller has given up on a reading; checked between batches.
using CancelCheck = std::function<bool()>;

// A whole reading at once; nothing (not ok, no error) when cancelled.
FolderContents readFolder(const QString& folder, const QStringList& patterns,
                          const CancelCheck& cancelled = {});

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

} // namespace tessel
