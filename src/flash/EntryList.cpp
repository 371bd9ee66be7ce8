#include "flash/EntryList.h"

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

QString lineError(qsizetype number, const QString& what)
{
    return QStringLiteral("line %1: %2").arg(number).arg(what);
}

} // namespace

EntryListResult parseEntryList(QByteArrayView data)
{
    EntryListResult result;
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
            result.error = lineError(number, QStringLiteral("holds a NUL byte."));
            return result;
        }
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0) {
            result.error =
                lineError(number, QStringLiteral("no tab between the name and the path."));
            return result;
        }
        QString name;
        QString path;
        if (!decodeUtf8(line.first(tab), name) || !decodeUtf8(line.sliced(tab + 1), path)) {
            result.error = lineError(number, QStringLiteral("is not valid UTF-8 text."));
            return result;
        }
        if (path.isEmpty()) {
            result.error = lineError(number, QStringLiteral("the path after the tab is empty."));
            return result;
        }
        result.entries.append({path, name});
    }
    return result;
}

bool parseEntryArgument(const QString& argument, FlashEntry& entry, QString& error)
{
    const qsizetype eq = argument.indexOf(QLatin1Char('='));
    if (eq < 0 || eq + 1 == argument.size()) {
        error = QStringLiteral("\"%1\" is not an entry; write NAME=PATH.").arg(argument);
        return false;
    }
    entry = {argument.sliced(eq + 1), argument.first(eq)};
    return true;
}

} // namespace tessel
