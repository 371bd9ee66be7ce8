// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/FolderListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace tessel {

namespace {

constexpr int kCancelBatch = 256;

QString noLongerThere(const QString& folder)
{
    return QCoreApplication::translate("FolderListing",
                                       "The folder \"%1\" cannot be listed: it does not exist.")
        .arg(QDir::toNativeSeparators(folder));
}

QString cannotRead(const QString& folder)
{
    return QCoreApplication::translate("FolderListing",
                                       "The folder \"%1\" cannot be listed: it cannot be read.")
        .arg(QDir::toNativeSeparators(folder));
}

bool canList(const QString& folder, QString* error)
{
    const QFileInfo info(folder);
    if (!info.isDir()) {
        *error = noLongerThere(folder);
        return false;
    }
    if (!info.isReadable() || !info.isExecutable()) {
        *error = cannotRead(folder);
        return false;
    }
    return true;
}

bool hasOnlyStars(const QString& pattern)
{
    return !pattern.contains(QLatin1Char('?')) && !pattern.contains(QLatin1Char('['));
}

// The pieces between the stars, in order, each found after the one before.
bool matchesStars(const QString& name, const QStringList& pieces)
{
    constexpr Qt::CaseSensitivity kAnyCase = Qt::CaseInsensitive;
    const QString& first = pieces.first();
    if (pieces.size() == 1)
        return name.compare(first, kAnyCase) == 0;
    const QString& last = pieces.last();
    if (name.size() < first.size() + last.size() || !name.startsWith(first, kAnyCase)
        || !name.endsWith(last, kAnyCase))
        return false;
    qsizetype from = first.size();
    const qsizetype end = name.size() - last.size();
    for (qsizetype i = 1; i + 1 < pieces.size(); ++i) {
        const QString& piece = pieces[i];
        const qsizetype at = QStringView(name).first(end).indexOf(piece, from, kAnyCase);
        if (at < 0)
            return false;
        from = at + piece.size();
    }
    return true;
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// ASCII text in any letter case, the piece already in lower case.
bool sameBytes(QByteArrayView text, QByteArrayView piece)
{
    return std::equal(piece.begin(), piece.end(), text.begin(), text.end(),
                      [](char p, char t) { return p == lower(t); });
}

bool matchesStarsBytes(QByteArrayView name, const QByteArrayList& pieces)
{
    const QByteArray& first = pieces.first();
    if (pieces.size() == 1)
        return sameBytes(name, first);
    const QByteArray& last = pieces.last();
    if (name.size() < first.size() + last.size() || !sameBytes(name.first(first.size()), first)
        || !sameBytes(name.last(last.size()), last))
        return false;
    qsizetype from = first.size();
    const qsizetype end = name.size() - last.size();
    for (qsizetype i = 1; i + 1 < pieces.size(); ++i) {
        const QByteArray& piece = pieces[i];
        qsizetype at = from;
        while (at + piece.size() <= end && !sameBytes(name.sliced(at, piece.size()), piece))
            ++at;
        if (at + piece.size() > end)
            return false;
        from = at + piece.size();
    }
    return true;
}

// Runs of names are sorted by keys, then merged: keys for all the names of
// a big folder at once would take more memory than the names.
constexpr qsizetype kKeyedRun = 4096;

} // namespace

NameOrder::NameOrder()
{
    m_collator.setNumericMode(true);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int NameOrder::compare(const QString& a, const QString& b) const
{
    const int byName = m_collator.compare(a, b);
    return byName != 0 ? byName : a.compare(b);
}

// A key per name, made once, compares as the collator does at the cost of
// comparing bytes: several times faster than comparing the names again at
// every step of the sort.
void NameOrder::sortRun(QList<FolderEntry>::iterator first, QList<FolderEntry>::iterator last) const
{
    // In the C locale Qt's keys are the bytes of the names, blind to case,
    // while its comparison is not.
    if (m_collator.locale().language() == QLocale::C) {
        std::sort(first, last, *this);
        return;
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(last - first));
    for (auto it = first; it != last; ++it)
        keys.push_back(m_collator.sortKey(it->name));
    std::vector<size_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int byKey = keys[a].compare(keys[b]);
        return byKey != 0 ? byKey < 0
                          : first[qsizetype(a)].name.compare(first[qsizetype(b)].name) < 0;
    });
    std::vector<FolderEntry> sorted;
    sorted.reserve(order.size());
    for (const size_t i : order)
        sorted.push_back(std::move(first[qsizetype(i)]));
    std::move(sorted.begin(), sorted.end(), first);
}

SortInSteps::SortInSteps(QList<FolderEntry>& entries)
    : m_entries(entries)
{ }

void SortInSteps::startPair()
{
    const qsizetype size = m_entries.size();
    m_left = m_from;
    m_right = std::min(m_from + m_width, size);
    m_out = m_from;
}

bool SortInSteps::step(const NameOrder& order, qsizetype budget)
{
    if (m_done)
        return false;
    const qsizetype size = m_entries.size();
    if (m_runsSorted < size) {
        const qsizetype end = std::min(m_runsSorted + kKeyedRun, size);
        order.sortRun(m_entries.begin() + m_runsSorted, m_entries.begin() + end);
        m_runsSorted = end;
        return true;
    }
    if (m_width == 0) {
        if (size <= kKeyedRun) {
            m_done = true;
            return false;
        }
        m_width = kKeyedRun;
        m_buffer.resize(size);
        startPair();
    }
    // Stable: of equal names, the left run's first.
    QList<FolderEntry>& from = m_inBuffer ? m_buffer : m_entries;
    QList<FolderEntry>& to = m_inBuffer ? m_entries : m_buffer;
    const qsizetype middle = std::min(m_from + m_width, size);
    const qsizetype end = std::min(m_from + 2 * m_width, size);
    for (; budget > 0 && m_left < middle && m_right < end; --budget) {
        if (order(from[m_right], from[m_left]))
            to[m_out++] = std::move(from[m_right++]);
        else
            to[m_out++] = std::move(from[m_left++]);
    }
    if (m_left < middle && m_right < end)
        return true;
    // One run is used up: the rest of the other follows as it is.
    for (; m_left < middle; ++m_left)
        to[m_out++] = std::move(from[m_left]);
    for (; m_right < end; ++m_right)
        to[m_out++] = std::move(from[m_right]);
    m_from = end;
    if (m_from < size) {
        startPair();
        return true;
    }
    m_inBuffer = !m_inBuffer;
    m_width *= 2;
    m_from = 0;
    if (m_width < size) {
        startPair();
        return true;
    }
    if (m_inBuffer)
        m_entries.swap(m_buffer);
    m_buffer = {};
    m_done = true;
    return false;
}

NameMatcher::NameMatcher(const QStringList& patterns)
{
    bool ascii = true;
    for (const QString& pattern : patterns) {
        if (hasOnlyStars(pattern)) {
            m_stars.push_back(pattern.split(QLatin1Char('*')));
            const QByteArray bytes = pattern.toLatin1();
            ascii = ascii && isAscii(bytes) && QString::fromLatin1(bytes) == pattern;
            m_asciiStars.push_back(bytes.toLower().split('*'));
        } else {
            m_others.append(QRegularExpression::fromWildcard(pattern, Qt::CaseInsensitive));
            ascii = false;
        }
    }
    if (!ascii)
        m_asciiStars.clear();
}

std::optional<bool> NameMatcher::matchesBytes(QByteArrayView name) const
{
    if (m_asciiStars.empty() || !isAscii(name))
        return std::nullopt;
    return std::any_of(
        m_asciiStars.begin(), m_asciiStars.end(),
        [name](const QByteArrayList& pieces) { return matchesStarsBytes(name, pieces); });
}

bool NameMatcher::operator()(const QString& name) const
{
    return std::any_of(m_stars.begin(), m_stars.end(),
                       [&name](const QStringList& pieces) { return matchesStars(name, pieces); })
           || std::any_of(m_others.begin(), m_others.end(), [&name](const QRegularExpression& re) {
                  return re.match(name).hasMatch();
              });
}

#ifdef Q_OS_UNIX
// Read with the system's calls: Qt's own iterator skips every name that is
// not valid text, and such files would never show.
struct FolderReading::Reader
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir{nullptr, ::closedir};

    bool open(const QString& folder)
    {
        dir.reset(::opendir(QFile::encodeName(folder).constData()));
        return dir != nullptr;
    }
};

bool FolderReading::readSome(int count)
{
    if (m_over)
        return false;
    if (!m_reader) {
        m_reader = std::make_unique<Reader>();
        if (!canList(m_folder, &m_contents.error)) {
            m_over = true;
            return false;
        }
        if (!m_reader->open(m_folder)) {
            m_contents.error = cannotRead(m_folder);
            m_over = true;
            return false;
        }
    }
    DIR* dir = m_reader->dir.get();
    const int fd = ::dirfd(dir);
    for (int i = 0; i < count; ++i) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            m_over = true;
            struct stat st;
            if (errno != 0)
                m_contents.error = cannotRead(m_folder);
            // Reading a folder removed meanwhile simply ends.
            else if (::fstat(fd, &st) != 0 || st.st_nlink == 0)
                m_contents.error = noLongerThere(m_folder);
            else
                m_contents.ok = true;
            return false;
        }
        const char* raw = entry->d_name;
        if (raw[0] == '.') // hidden, or . and ..
            continue;
        // Links are followed; a broken one, a device, a pipe or a socket is no entry.
        bool isDir = entry->d_type == DT_DIR;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(fd, raw, &st, 0) != 0)
                continue;
            isDir = S_ISDIR(st.st_mode);
            isFile = S_ISREG(st.st_mode);
        }
        if (!isDir && !(isFile && m_files))
            continue;
        // Most names of a big folder are no snapshot's: they are matched
        // before they are decoded.
        const std::optional<bool> matched =
            isFile ? m_matches.matchesBytes(QByteArrayView(raw)) : std::nullopt;
        if (matched == false)
            continue;
        const QString name = QFile::decodeName(raw);
        if (isFile && !matched.has_value() && !m_matches(name))
            continue;
        // Bytes that are not valid text decode to U+FFFD and do not come back.
        const bool exact =
            !name.contains(QChar::ReplacementCharacter) || QFile::encodeName(name) == raw;
        (isDir ? m_contents.folders : m_contents.files).append({name, exact});
    }
    return true;
}
#else
struct FolderReading::Reader
{
    explicit Reader(const QString& folder)
        : it(folder, QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot)
    { }
    QDirIterator it;
};

bool FolderReading::readSome(int count)
{
    if (m_over)
        return false;
    if (!m_reader) {
        if (!canList(m_folder, &m_contents.error)) {
            m_over = true;
            return false;
        }
        m_reader = std::make_unique<Reader>(m_folder);
    }
    QDirIterator& it = m_reader->it;
    for (int i = 0; i < count; ++i) {
        if (!it.hasNext()) {
            m_over = true;
            // The iterator ends quietly when the folder goes while it reads.
            m_contents.ok = canList(m_folder, &m_contents.error);
            return false;
        }
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString name = info.fileName();
        if (info.isDir())
            m_contents.folders.append({name, true});
        else if (m_files && m_matches(name))
            m_contents.files.append({name, true});
    }
    return true;
}
#endif

FolderReading::FolderReading(const QString& folder, const QStringList& patterns)
    : m_folder(folder)
    , m_matches(patterns)
    , m_files(!m_matches.isEmpty())
{ }

FolderReading::~FolderReading() = default;

void FolderReading::dropFiles()
{
    m_files = false;
    m_contents.files = {};
    m_sortFiles.reset();
}

bool FolderReading::sortSome(qsizetype budget)
{
    if (!m_contents.ok)
        return false;
    if (!m_order)
        m_order.emplace();
    if (!m_sortFolders)
        m_sortFolders.emplace(m_contents.folders);
    if (m_sortFolders->step(*m_order, budget))
        return true;
    if (!m_sortFiles)
        m_sortFiles.emplace(m_contents.files);
    return m_sortFiles->step(*m_order, budget);
}

FolderContents FolderReading::finish()
{
    if (m_contents.ok) {
        while (sortSome(std::numeric_limits<qsizetype>::max())) { }
    } else {
        m_contents.folders = {};
        m_contents.files = {};
    }
    return std::move(m_contents);
}

FolderContents readFolder(const QString& folder, const QStringList& patterns,
                          const CancelCheck& cancelled)
{
    FolderReading reading(folder, patterns);
    while (reading.readSome(kCancelBatch)) {
        if (cancelled && cancelled())
            return {};
    }
    return reading.finish();
}

QList<ListingChange> diffListings(const QList<FolderEntry>& before, const QList<FolderEntry>& after,
                                  const NameOrder& order)
{
    QList<ListingChange> changes;
    qsizetype i = 0;
    qsizetype j = 0;
    int row = 0;
    while (i < before.size() || j < after.size()) {
        if (i < before.size() && j < after.size() && before[i] == after[j]) {
            ++i;
            ++j;
            ++row;
            continue;
        }
        ListingChange change{row, 0, {}};
        // Gone: what sorts before the next kept entry, or the same name
        // with another state (removed here, inserted again below).
        while (i < before.size()
               && (j == after.size() || order.compare(before[i].name, after[j].name) <= 0)) {
            if (j < after.size() && before[i] == after[j])
                break;
            ++change.removed;
            ++i;
        }
        if (change.removed == 0) {
            while (j < after.size()
                   && (i == before.size() || order.compare(after[j].name, before[i].name) < 0))
                change.inserted.append(after[j++]);
            row += int(change.inserted.size());
        }
        changes.append(std::move(change));
    }
    return changes;
}

} // namespace tessel
