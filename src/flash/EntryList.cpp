#include "flash/EntryList.h"

#include "core/Errors.h"
#include "core/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QStringDecoder>

namespace tessel {

namespace {

bool isBlank(QByteArrayView line)
{
    for (const char c : line) {
        if (c != ' ' && c != '\t')
            return false;
    }
    return true;
}

// Whole bytes only: a sequence cut at the end is an error, not held over. A
// field's leading U+FEFF is text: only the file's own mark is dropped.
bool decodeUtf8(QByteArrayView bytes, QString& text)
{
    QStringDecoder decode(QStringConverter::Utf8, QStringConverter::Flag::Stateless
                                                      | QStringConverter::Flag::ConvertInitialBom);
    text = decode(bytes);
    return !decode.hasError();
}

std::nullopt_t lineError(QString* error, qsizetype number, const QString& what)
{
    fail(error, QStringLiteral("line %1: %2").arg(number).arg(what));
    return std::nullopt;
}

// Ten lines with long paths fit many times over; anything bigger is not a list.
constexpr qint64 kMaxListSize = 1 << 20;

} // namespace

std::optional<SnapshotEntries> parseEntryList(QByteArrayView data, QString* error)
{
    SnapshotEntries entries;
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    qsizetype number = 0;
    while (!data.isEmpty()) {
        ++number;
        const qsizetype end = data.indexOf('\n');
        QByteArrayView line = end < 0 ? data : data.first(end);
        data = end < 0 ? QByteArrayView() : data.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (isBlank(line))
            continue;
        if (line.contains('\0')) {
            return lineError(error, number, QStringLiteral("holds a NUL byte."));
        }
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0) {
            return lineError(error, number,
                             QStringLiteral("no tab between the name and the path."));
        }
        QString name;
        QString path;
        if (!decodeUtf8(line.first(tab), name) || !decodeUtf8(line.sliced(tab + 1), path)) {
            return lineError(error, number, QStringLiteral("is not valid UTF-8 text."));
        }
        if (path.isEmpty()) {
            return lineError(error, number, QStringLiteral("the path after the tab is empty."));
        }
        entries.append({path, name});
    }
    return entries;
}

std::optional<SnapshotEntries> readEntryList(const QString& path, QString* error)
{
    QFile file(path);
    QString reason;
    if (!openRegularFile(file, &reason)) {
        fail(error,
             QStringLiteral("The list file %1 cannot be read (%2).").arg(quotedPath(path), reason));
        return std::nullopt;
    }
    const QByteArray data = file.read(kMaxListSize + 1);
    if (data.size() > kMaxListSize) {
        fail(error,
             QStringLiteral("The list file %1 is larger than %2 bytes; it is not an entry list.")
                 .arg(quotedPath(path))
                 .arg(kMaxListSize));
        return std::nullopt;
    }
    QString where;
    std::optional<SnapshotEntries> entries = parseEntryList(data, &where);
    if (!entries) {
        fail(error, QStringLiteral("The list file %1, %2").arg(quotedPath(path), where));
        return std::nullopt;
    }
    const QDir base = QFileInfo(path).absoluteDir();
    for (SnapshotEntry& entry : *entries)
        entry.path = QDir::cleanPath(base.absoluteFilePath(entry.path));
    return entries;
}

std::optional<SnapshotEntry> parseEntryArgument(const QString& argument, QString* error)
{
    const qsizetype eq = argument.indexOf(QLatin1Char('='));
    if (eq < 0 || eq + 1 == argument.size()) {
        fail(error, QStringLiteral("\"%1\" is not an entry; write NAME=PATH.").arg(argument));
        return std::nullopt;
    }
    return SnapshotEntry{argument.sliced(eq + 1), argument.first(eq)};
}

} // namespace tessel
