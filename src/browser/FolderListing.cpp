// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/FolderListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace tessel {

namespace {

// Often enough to drop a stale listing within a few milliseconds.
constexpr int kCheckEvery = 256;

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

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
    if (!info.isDir())
        return fail(error, noLongerThere(folder));
    if (!info.isReadable() || !info.isExecutable())
        return fail(error, cannotRead(folder));
    return true;
}

enum class Kind { Files, Folders };

// Wildcards matched in any letter case, as QDir's name filters are.
class NameMatcher
{
public:
    explicit NameMatcher(const QStringList& patterns)
    {
        for (const QString& pattern : patterns)
            m_patterns.append(QRegularExpression::fromWildcard(pattern, Qt::CaseInsensitive));
    }
    bool operator()(const QString& name) const
    {
        return std::any_of(
            m_patterns.begin(), m_patterns.end(),
            [&name](const QRegularExpression& re) { return re.match(name).hasMatch(); });
    }

private:
    QList<QRegularExpression> m_patterns;
};

#ifdef Q_OS_UNIX
// Read with the system's calls: Qt's own iterator skips every name that is
// not valid text, and such files would never show.
bool read(const QString& folder, Kind kind, const NameMatcher& matches,
          const CancelCheck& cancelled, QList<FolderEntry>& entries, QString* error)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(QFile::encodeName(folder).constData()),
                                                  ::closedir);
    if (!dir)
        return canList(folder, error) && fail(error, cannotRead(folder));
    const int fd = ::dirfd(dir.get());
    int seen = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry)
            break;
        if (++seen % kCheckEvery == 0 && cancelled && cancelled())
            return false;
        const char* raw = entry->d_name;
        if (raw[0] == '.') // hidden, or . and ..
            continue;
        const QString name = QFile::decodeName(raw);
        if (kind == Kind::Files && !matches(name))
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
        if (kind == Kind::Files ? !isFile : !isDir)
            continue;
        // Bytes that are not valid text decode to U+FFFD and do not come back.
        const bool exact =
            !name.contains(QChar::ReplacementCharacter) || QFile::encodeName(name) == raw;
        entries.append({name, exact});
    }
    if (errno != 0)
        return fail(error, cannotRead(folder));
    // Reading a folder removed meanwhile simply ends.
    struct stat st;
    if (::fstat(fd, &st) != 0 || st.st_nlink == 0)
        return fail(error, noLongerThere(folder));
    return true;
}
#else
bool read(const QString& folder, Kind kind, const NameMatcher& matches,
          const CancelCheck& cancelled, QList<FolderEntry>& entries, QString* error)
{
    QDirIterator it(folder,
                    (kind == Kind::Files ? QDir::Files : QDir::Dirs) | QDir::NoDotAndDotDot);
    int seen = 0;
    while (it.hasNext()) {
        it.next();
        if (++seen % kCheckEvery == 0 && cancelled && cancelled())
            return false;
        const QString name = it.fileName();
        if (kind == Kind::Files && !matches(name))
            continue;
        entries.append({name, true});
    }
    // The iterator ends quietly when the folder goes while it reads.
    return canList(folder, error);
}
#endif

std::optional<QList<FolderEntry>> list(const QString& folder, Kind kind,
                                       const QStringList& patterns, const CancelCheck& cancelled,
                                       QString* error)
{
    if (!canList(folder, error))
        return std::nullopt;
    QList<FolderEntry> entries;
    if (!read(folder, kind, NameMatcher(patterns), cancelled, entries, error))
        return std::nullopt;
    if (cancelled && cancelled())
        return std::nullopt;
    const NameOrder order;
    std::sort(entries.begin(), entries.end(), std::cref(order));
    return entries;
}

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

std::optional<QList<FolderEntry>> listFiles(const QString& folder, const QStringList& patterns,
                                            const CancelCheck& cancelled, QString* error)
{
    // No pattern would list every file.
    if (patterns.isEmpty())
        return QList<FolderEntry>{};
    return list(folder, Kind::Files, patterns, cancelled, error);
}

std::optional<QList<FolderEntry>> listFolders(const QString& folder, const CancelCheck& cancelled,
                                              QString* error)
{
    return list(folder, Kind::Folders, {}, cancelled, error);
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
