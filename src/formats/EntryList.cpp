// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/EntryList.h"

#include "core/DurableFile.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "formats/PokFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <utility>

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

// Ten lines with long paths fit many times over; anything bigger is not a list.
constexpr qint64 kMaxListSize = 1 << 20;

// What one line is.
struct ParsedLine
{
    enum Kind { Blank, Entry, TrainerLine, Bad } kind = Blank;
    SnapshotEntry entry = {};
    Trainer trainer = {};
    QString problem = {}; // a sentence naming the line
};

// A trainer's line begins so and holds no tab, which every entry line
// holds: a reader from before trainers refuses it by its line number.
constexpr QByteArrayView kTrainerPrefix = "POKE ";

ParsedLine bad(const QString& problem)
{
    return {ParsedLine::Bad, {}, {}, problem};
}

QString notUtf8(qsizetype number)
{
    return QCoreApplication::translate("EntryList", "Line %1: it is not valid UTF-8 text.")
        .arg(number);
}

// "POKE NAME=ADDR,VALUE[:ADDR,VALUE...]"; the name ends at the last "=".
ParsedLine parseTrainerLine(QByteArrayView line, qsizetype number)
{
    QString text;
    if (!decodeUtf8(line.sliced(kTrainerPrefix.size()), text))
        return bad(notUtf8(number));
    const qsizetype eq = text.lastIndexOf(QLatin1Char('='));
    if (eq < 0)
        return bad(QCoreApplication::translate("EntryList",
                                               "Line %1: a trainer's line is "
                                               "POKE NAME=ADDRESS,VALUE[:ADDRESS,VALUE...].")
                       .arg(number));
    QString why;
    const std::optional<QList<Poke>> pokes = parsePokeList(text.sliced(eq + 1), &why);
    if (!pokes)
        //: %2 is a sentence of its own, ending in a full stop.
        return bad(QCoreApplication::translate("EntryList", "Line %1: %2")
                       .arg(QString::number(number), why));
    return {ParsedLine::TrainerLine, {}, {text.first(eq), *pokes}, {}};
}

// Line `number`, its CR already dropped.
ParsedLine parseLine(QByteArrayView line, qsizetype number)
{
    if (isBlank(line))
        return {};
    if (line.contains('\0'))
        return bad(
            QCoreApplication::translate("EntryList", "Line %1: it holds a NUL byte.").arg(number));
    const qsizetype tab = line.indexOf('\t');
    if (tab < 0 && line.startsWith(kTrainerPrefix))
        return parseTrainerLine(line, number);
    if (tab < 0)
        return bad(QCoreApplication::translate(
                       "EntryList", "Line %1: there is no tab between the name and the path.")
                       .arg(number));
    QString name;
    QString path;
    if (!decodeUtf8(line.first(tab), name) || !decodeUtf8(line.sliced(tab + 1), path))
        return bad(notUtf8(number));
    if (path.isEmpty())
        return bad(
            QCoreApplication::translate("EntryList", "Line %1: the path after the tab is empty.")
                .arg(number));
    return {ParsedLine::Entry, SnapshotEntry{path, name}};
}

// Calls visit(line) for every line that is not blank, until it returns
// false. An entry's trainer lines join it, so it is visited after them.
template <typename Visit> void forEachLine(QByteArrayView data, Visit visit)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    // Lines end in LF or CRLF; a file without any LF ends them in CR alone.
    // Where LF ends lines, a lone CR stays in its line, to be refused there.
    const char breakByte = data.contains('\n') ? '\n' : '\r';
    qsizetype number = 0;
    std::optional<EntryLine> pending;
    // A trainer line after a bad line is not worth a complaint of its own.
    bool afterBad = false;
    while (!data.isEmpty()) {
        ++number;
        const qsizetype end = data.indexOf(breakByte);
        QByteArrayView line = end < 0 ? data : data.first(end);
        data = end < 0 ? QByteArrayView() : data.sliced(end + 1);
        if (breakByte == '\n' && line.endsWith('\r'))
            line.chop(1);
        ParsedLine parsed = parseLine(line, number);
        if (parsed.kind == ParsedLine::Blank)
            continue;
        if (parsed.kind == ParsedLine::TrainerLine && pending) {
            pending->entry.trainers.append(std::move(parsed.trainer));
            continue;
        }
        if (parsed.kind == ParsedLine::TrainerLine && afterBad)
            continue;
        if (pending && !visit(*std::exchange(pending, std::nullopt)))
            return;
        if (parsed.kind == ParsedLine::Entry) {
            pending = EntryLine{number, std::move(parsed.entry), {}};
            afterBad = false;
            continue;
        }
        if (parsed.kind == ParsedLine::TrainerLine)
            parsed.problem =
                QCoreApplication::translate(
                    "EntryList", "Line %1: a trainer's line belongs under the line of its entry.")
                    .arg(number);
        afterBad = true;
        if (!visit(EntryLine{number, {}, parsed.problem}))
            return;
    }
    if (pending)
        visit(*pending);
}

// Its byte-order mark, or text whose first line has a NUL after every
// letter (or before it), as Windows editors save "Unicode" text.
bool looksLikeUtf16(QByteArrayView data)
{
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF"))
        return true;
    return data.size() >= 4 && (data.at(1) == '\0') != (data.at(0) == '\0')
           && (data.at(3) == '\0') == (data.at(1) == '\0')
           && (data.at(2) == '\0') == (data.at(0) == '\0');
}

std::optional<QByteArray> readListFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!openRegularFile(
            file, error,
            QCoreApplication::translate("EntryList", "The list file %1 cannot be read (%2).")))
        return std::nullopt;
    QByteArray data = file.read(kMaxListSize + 1);
    if (data.size() > kMaxListSize) {
        fail(error,
             QCoreApplication::translate(
                 "EntryList", "The list file %1 is larger than %2 bytes; it is not an entry list.")
                 .arg(quotedPath(path), QString::number(kMaxListSize)));
        return std::nullopt;
    }
    if (looksLikeUtf16(data)) {
        fail(error, QCoreApplication::translate("EntryList",
                                                "The list file %1 is not UTF-8 text: it looks "
                                                "like UTF-16. Save it again as UTF-8.")
                        .arg(quotedPath(path)));
        return std::nullopt;
    }
    return data;
}

QString fromListFolder(const QString& listPath, const QString& path)
{
    return QDir::cleanPath(QFileInfo(listPath).absoluteDir().absoluteFilePath(path));
}

bool isBlankText(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == u' ' || c == u'\t'; });
}

// Relative below the list's folder, whole anywhere else.
QString storedPath(const QString& path, const QDir& base)
{
    const QString absolute = QDir::cleanPath(base.absoluteFilePath(path));
    const QString relative = base.relativeFilePath(absolute);
    const bool below = !QDir::isAbsolutePath(relative) && relative != QLatin1String("..")
                       && !relative.startsWith(QLatin1String("../"));
    return below ? relative : QDir::toNativeSeparators(absolute);
}

} // namespace

std::optional<SnapshotEntries> parseEntryList(QByteArrayView data, QString* error)
{
    SnapshotEntries entries;
    bool bad = false;
    forEachLine(data, [&](EntryLine line) {
        if (!line.problem.isEmpty()) {
            bad = true;
            fail(error, line.problem);
            return false;
        }
        entries.append(std::move(line.entry));
        return true;
    });
    if (bad)
        return std::nullopt;
    return entries;
}

QList<EntryLine> parseEntryLines(QByteArrayView data)
{
    QList<EntryLine> lines;
    forEachLine(data, [&](EntryLine line) {
        lines.append(std::move(line));
        return true;
    });
    return lines;
}

std::optional<SnapshotEntries> readEntryList(const QString& path, QString* error)
{
    const std::optional<QByteArray> data = readListFile(path, error);
    if (!data)
        return std::nullopt;
    SnapshotEntries entries;
    for (const EntryLine& line : parseEntryLines(*data)) {
        if (!line.problem.isEmpty()) {
            //: %2 is a sentence of its own that names the line.
            fail(error, QCoreApplication::translate("EntryList",
                                                    "The list file %1 cannot be used as it is. %2")
                            .arg(quotedPath(path), line.problem));
            return std::nullopt;
        }
        SnapshotEntry entry = line.entry;
        entry.path = fromListFolder(path, entry.path);
        entries.append(std::move(entry));
    }
    return entries;
}

std::optional<QList<EntryLine>> readEntryLines(const QString& path, QString* error)
{
    const std::optional<QByteArray> data = readListFile(path, error);
    if (!data)
        return std::nullopt;
    QList<EntryLine> lines = parseEntryLines(*data);
    for (EntryLine& line : lines) {
        if (line.problem.isEmpty())
            line.entry.path = fromListFolder(path, line.entry.path);
    }
    return lines;
}

std::optional<QByteArray> formatEntryList(const SnapshotEntries& entries, const QString& folder,
                                          QString* error)
{
    const QDir base(folder);
    QByteArray data;
    // Without the mark, a first name's own U+FEFF would be taken for one.
    if (!entries.isEmpty() && entries.constFirst().name.startsWith(QChar(0xFEFF)))
        data += "\xEF\xBB\xBF";
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const SnapshotEntry& entry = entries.at(i);
        const auto breaksLine = [](const QString& text) {
            return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(u'\0'));
        };
        if (breaksLine(entry.name) || entry.name.contains(u'\t')) {
            fail(error, QCoreApplication::translate(
                            "EntryList", "Entry %1 (\"%2\"): the menu name holds a tab, a "
                                         "line break or a NUL, which a list file "
                                         "cannot hold; rename the entry.")
                            .arg(QString::number(i + 1), entry.name));
            return std::nullopt;
        }
        if (entry.path.isEmpty() || breaksLine(entry.path)) {
            fail(error, QCoreApplication::translate(
                            "EntryList", "Entry %1 (\"%2\"): the snapshot's path %3 is empty "
                                         "or holds a line break or a NUL, which a "
                                         "list file cannot hold.")
                            .arg(QString::number(i + 1), entry.name, quotedPath(entry.path)));
            return std::nullopt;
        }
        QString path = storedPath(entry.path, base);
        // A line of blanks alone would be skipped as blank.
        if (isBlankText(entry.name) && isBlankText(path))
            path = QDir::toNativeSeparators(QDir::cleanPath(base.absoluteFilePath(entry.path)));
        data += entry.name.toUtf8() + '\t' + path.toUtf8() + '\n';
        for (const Trainer& trainer : entry.trainers) {
            // A tab would make the line an entry to an older reader.
            if (breaksLine(trainer.name) || trainer.name.contains(u'\t')) {
                fail(error, QCoreApplication::translate(
                                "EntryList", "Entry %1 (\"%2\"): the trainer \"%3\" holds a tab, "
                                             "a line break or a NUL in its name, which a list "
                                             "file cannot hold.")
                                .arg(QString::number(i + 1), entry.name, trainer.name));
                return std::nullopt;
            }
            QString why;
            const QString pokes = formatPokeList(trainer.pokes);
            if (!parsePokeList(pokes, &why)) {
                //: %4 is a sentence of its own, ending in a full stop.
                fail(error, QCoreApplication::translate("EntryList",
                                                        "Entry %1 (\"%2\"), trainer \"%3\": %4")
                                .arg(QString::number(i + 1), entry.name, trainer.name, why));
                return std::nullopt;
            }
            data +=
                kTrainerPrefix.toByteArray() + trainer.name.toUtf8() + '=' + pokes.toUtf8() + '\n';
        }
    }
    return data;
}

bool writeEntryList(const QString& path, const SnapshotEntries& entries, QString* error)
{
    const std::optional<QByteArray> data =
        formatEntryList(entries, QFileInfo(path).absolutePath(), error);
    if (!data)
        return false;
    // Never over one of the snapshots it lists.
    OutputRules rules;
    for (const SnapshotEntry& entry : entries)
        rules.inputs << entry.path;
    return writeDurably(path, *data, rules, error);
}

std::optional<SnapshotEntry> parseEntryArgument(const QString& argument, QString* error)
{
    const qsizetype eq = argument.indexOf(QLatin1Char('='));
    if (eq < 0 || eq + 1 == argument.size()) {
        fail(error,
             QCoreApplication::translate("EntryList", "\"%1\" is not an entry; write NAME=PATH.")
                 .arg(argument));
        return std::nullopt;
    }
    return SnapshotEntry{argument.sliced(eq + 1), argument.first(eq)};
}

} // namespace tessel
