// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/IniFile.h"

#include "core/Errors.h"

#include "core/DurableFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace tessel {
namespace {

// The content as text units: each byte widened as it is, or the code units
// of a UTF-16LE file. A unit offset maps back to a byte offset exactly, so an
// edit changes only the bytes it replaces, whatever the rest holds.
class Text
{
public:
    enum Mark { NoMark, Utf8Mark, Utf16Mark };

    static Mark markOf(const QByteArray& content)
    {
        if (content.startsWith("\xFF\xFE"))
            return Utf16Mark;
        return content.startsWith("\xEF\xBB\xBF") ? Utf8Mark : NoMark;
    }

    explicit Text(const QByteArray& content)
    {
        const Mark mark = markOf(content);
        if (mark == Utf16Mark) {
            m_wide = true;
            m_prefix = 2;
            m_units.resize((content.size() - 2) / 2); // an odd last byte is left alone
            QChar* out = m_units.data();
            for (qsizetype i = 0; i < m_units.size(); ++i) {
                const auto lo = static_cast<uchar>(content[2 + 2 * i]);
                const auto hi = static_cast<uchar>(content[3 + 2 * i]);
                out[i] = QChar(static_cast<char16_t>(lo | hi << 8));
            }
        } else {
            m_prefix = mark == Utf8Mark ? 3 : 0;
            m_units =
                QString::fromLatin1(content.constData() + m_prefix, content.size() - m_prefix);
        }
    }

    QStringView units() const { return m_units; }
    qsizetype byteOffset(qsizetype unit) const { return m_prefix + unit * (m_wide ? 2 : 1); }

    // Caller's bytes to units and back. A leading U+FEFF is text here, not a
    // mark to drop, or a value starting with it would not read back.
    QString fromBytes(const QByteArray& bytes) const
    {
        if (!m_wide)
            return QString::fromLatin1(bytes);
        QStringDecoder decode(QStringConverter::System,
                              QStringConverter::Flag::Stateless
                                  | QStringConverter::Flag::ConvertInitialBom);
        return decode(bytes);
    }
    QByteArray toBytes(QStringView units) const
    {
        return m_wide ? units.toLocal8Bit() : units.toLatin1();
    }

    // Units to the file's own bytes; in an 8-bit file every unit is below 256.
    QByteArray encode(QStringView units) const
    {
        if (!m_wide)
            return units.toLatin1();
        QByteArray bytes;
        bytes.reserve(units.size() * 2);
        for (const QChar c : units) {
            bytes.append(static_cast<char>(c.unicode() & 0xFF));
            bytes.append(static_cast<char>(c.unicode() >> 8));
        }
        return bytes;
    }

private:
    QString m_units;
    qsizetype m_prefix = 0;
    bool m_wide = false;
};

struct Line
{
    qsizetype begin = 0;
    qsizetype end = 0; // before the line break
    qsizetype next = 0; // after it; equals `end` on a last line without one
};

// Finds line breaks through Qt's vectorised search, remembering the next CR
// and LF: a file of megabytes (start-up reads several keys) is then
// scanned a few times, not a character at a time per key.
class Lines
{
public:
    explicit Lines(QStringView text)
        : m_text(text)
    { }

    Line at(qsizetype pos)
    {
        const qsizetype end = std::min(next(m_cr, u'\r', pos), next(m_lf, u'\n', pos));
        // A break is LF, CR LF, CR CR LF (left by a doubled conversion) or a lone CR.
        const QStringView rest = m_text.sliced(end, std::min<qsizetype>(3, m_text.size() - end));
        const qsizetype breakLength = rest.startsWith(u"\r\r\n") ? 3
                                      : rest.startsWith(u"\r\n") ? 2
                                      : rest.isEmpty()           ? 0
                                                                 : 1;
        return {pos, end, end + breakLength};
    }

private:
    qsizetype next(qsizetype& cached, char16_t c, qsizetype pos)
    {
        if (cached < pos) {
            cached = m_text.indexOf(QChar(c), pos);
            if (cached < 0)
                cached = m_text.size();
        }
        return cached;
    }

    QStringView m_text;
    qsizetype m_cr = -1;
    qsizetype m_lf = -1;
};

// Blanks as the platform trims them: space, TAB to CR, and Ctrl-Z, the old
// end-of-file mark that some files still carry. Nothing above 0x7F: in UTF-8
// text 0xA0 or 0x85 is part of a letter.
bool isBlankByte(uchar c)
{
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A;
}

bool isBlank(QChar c)
{
    return c.unicode() < 0x80 && isBlankByte(static_cast<uchar>(c.unicode()));
}

QStringView trimmedLeft(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    return s;
}

QStringView trimmed(QStringView s)
{
    s = trimmedLeft(s);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

// A name or value is kept as a C string: it ends at its first NUL. The line's
// '[', ']', '=' and blanks are found on the whole line first, so a NUL cuts
// only the part it is in, and blanks before it stay.
QStringView upToNul(QStringView s)
{
    const qsizetype nul = s.indexOf(QChar(u'\0'));
    return nul < 0 ? s : s.first(nul);
}

QStringView unquotedPath(QStringView value)
{
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
                        && value.back() == value.front();
    return quoted ? value.sliced(1, value.size() - 2) : value;
}

char16_t foldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// ASCII only: the platform's folding of other letters depends on its code page.
bool sameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i].unicode()) != foldAscii(b[i].unicode()))
            return false;
    }
    return true;
}

struct Entry
{
    enum Kind { Blank, Header, Key } kind = Blank;
    QStringView name;
    QStringView value; // as stored, quotes included
    bool hasValue = false;
};

Entry parseLine(QStringView line)
{
    line = trimmed(line);
    if (line.isEmpty())
        return {};
    if (line.front() == u'[') {
        const qsizetype close = line.lastIndexOf(u']');
        if (close > 0)
            return {Entry::Header, upToNul(trimmed(line.sliced(1, close - 1))), {}, false};
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return {Entry::Key, upToNul(line), {}, false};
    return {Entry::Key, upToNul(trimmed(line.first(eq))), upToNul(trimmed(line.sliced(eq + 1))),
            true};
}

struct Spot
{
    bool sectionFound = false;
    Line keyLine{-1, -1, -1};
    Entry key;
    // Where a new key line goes, and whether a line break must come first.
    qsizetype insertAt = 0;
    bool insertNeedsBreak = false;

    bool keyFound() const { return keyLine.begin >= 0; }
};

Spot locate(QStringView text, QStringView section, QStringView key)
{
    Spot spot;
    bool inside = section.isEmpty();
    spot.sectionFound = inside;
    Lines lines(text);
    for (qsizetype pos = 0; pos < text.size();) {
        const Line line = lines.at(pos);
        pos = line.next;
        const Entry entry = parseLine(text.sliced(line.begin, line.end - line.begin));
        if (entry.kind == Entry::Blank)
            continue;
        if (entry.kind == Entry::Header) {
            if (inside)
                break;
            inside = sameName(entry.name, section);
            spot.sectionFound = inside;
        } else if (inside && sameName(entry.name, key)) {
            spot.keyLine = line;
            spot.key = entry;
            return spot;
        }
        if (inside) {
            spot.insertAt = line.next;
            spot.insertNeedsBreak = line.next == line.end;
        }
    }
    return spot;
}

// New lines take the file's first line break; CRLF when it has none.
QString lineBreakOf(QStringView text)
{
    const Line first = Lines(text).at(0);
    return first.next > first.end ? text.sliced(first.end, first.next - first.end).toString()
                                  : QStringLiteral("\r\n");
}

QByteArray cString(const QByteArray& bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.left(nul);
}

// Why a write would break the file's lines, or null: a line break or NUL, a
// key that would end early at its '=' or read as a section header. A
// sentence with %1 for the key and %2 for the file.
const char* refusal(const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    for (const QByteArray* text : {&section, &key, &value}) {
        if (text->contains('\0') || text->contains('\r') || text->contains('\n'))
            return QT_TRANSLATE_NOOP("IniFile",
                                     "The key \"%1\" was not saved in %2: the section, key or "
                                     "value holds a line break or a NUL character.");
    }
    qsizetype start = 0;
    while (start < key.size() && isBlankByte(static_cast<uchar>(key[start])))
        ++start;
    if (key.indexOf('=', start) >= 0)
        return QT_TRANSLATE_NOOP("IniFile",
                                 "The key \"%1\" was not saved in %2: the key holds '='.");
    if (key.indexOf('[', start) == start)
        return QT_TRANSLATE_NOOP("IniFile",
                                 "The key \"%1\" was not saved in %2: the key starts with '['.");
    return nullptr;
}

// Empty when the file is missing from an existing folder, which is an empty
// profile; nothing when the folder is missing or the file cannot be read, so
// that a write never replaces a file it has not seen. Only a plain file is
// read: a pipe or a device in its place would block or never end.
std::optional<QByteArray> readWhole(const QString& path, QString* error)
{
    QFile file(path);
    const QFileInfo info(path);
    if (!file.exists()) {
        if (info.absoluteDir().exists())
            return QByteArray();
        fail(error, QCoreApplication::translate("IniFile", "The folder %1 does not exist.")
                        .arg(quotedPath(info.absolutePath())));
        return std::nullopt;
    }
    if (!info.isFile()) {
        fail(error, QCoreApplication::translate(
                        "IniFile", "%1 is a folder, pipe or device, not a settings file.")
                        .arg(quotedPath(path)));
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, QCoreApplication::translate("IniFile", "%1 could not be read: %2.")
                        .arg(quotedPath(path), file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        fail(error, QCoreApplication::translate("IniFile", "%1 could not be read: %2.")
                        .arg(quotedPath(path), file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

// The default loses its trailing spaces, but never its first character: a
// default of spaces only gives one space.
QByteArray defaultText(const QByteArray& defaultValue)
{
    QByteArray text = cString(defaultValue);
    qsizetype size = text.size();
    while (size > 1 && text[size - 1] == ' ')
        --size;
    text.truncate(size);
    return text;
}

ProfileRead cut(QByteArray value, int bufsize)
{
    if (bufsize <= 0)
        return {};
    value.truncate(bufsize - 1);
    return {static_cast<int>(value.size()), value};
}

} // namespace

ProfileRead readProfileString(const QByteArray& content, const QByteArray& section,
                              const QByteArray& key, const QByteArray& defaultValue, int bufsize)
{
    if (bufsize <= 0)
        return {};
    const Text text(content);
    const QString sectionName = text.fromBytes(cString(section));
    const QString keyName = text.fromBytes(cString(key));
    const Spot spot = locate(text.units(), trimmed(sectionName), trimmed(keyName));
    if (spot.keyFound() && spot.key.hasValue)
        return cut(text.toBytes(unquotedPath(spot.key.value)), bufsize);
    // Once the file is open the default takes the value's place, and is
    // unquoted as a value is.
    return cut(unquotedPath(QString::fromLatin1(defaultText(defaultValue))).toLatin1(), bufsize);
}

std::optional<QByteArray> writeProfileString(const QByteArray& content, const QByteArray& section,
                                             const QByteArray& key, const QByteArray& value)
{
    if (refusal(section, key, value))
        return std::nullopt;
    const Text text(content);
    const QStringView units = text.units();
    const QString sectionArg = text.fromBytes(section);
    const QString keyArg = text.fromBytes(key);
    const QString sectionName = trimmedLeft(sectionArg).toString();
    const QString keyName = trimmedLeft(keyArg).toString();
    const QString valueText = trimmedLeft(text.fromBytes(value)).toString();
    const Spot spot = locate(units, trimmed(sectionName), trimmed(keyName));
    // A write that changes nothing leaves every byte, and the file, alone.
    // Stored and new values compare exactly: quotes and letter case count.
    if (spot.keyFound() && spot.key.hasValue && spot.key.value == valueText)
        return content;

    const QString eol = lineBreakOf(units);
    qsizetype from = units.size();
    qsizetype to = from;
    QString insert;
    if (spot.keyFound()) {
        // Keeps the file's spelling of the key and the line's own break.
        from = spot.keyLine.begin;
        to = spot.keyLine.end;
        insert = spot.key.name.toString() + u'=' + valueText;
    } else if (spot.sectionFound) {
        from = to = spot.insertAt;
        insert = (spot.insertNeedsBreak ? eol : QString()) + keyName + u'=' + valueText + eol;
    } else {
        const bool endsOpen = !units.isEmpty() && units.back() != u'\r' && units.back() != u'\n';
        insert = (endsOpen ? eol : QString()) + u'[' + sectionName + u']' + eol + keyName + u'='
                 + valueText + eol;
    }

    QByteArray result = content;
    const qsizetype at = text.byteOffset(from);
    result.replace(at, text.byteOffset(to) - at, text.encode(insert));
    // A key written at the very start must not turn into a byte-order mark.
    if (Text::markOf(result) != Text::markOf(content))
        return std::nullopt;
    return result;
}

ProfileRead readProfileStringFromFile(const QString& path, const QByteArray& section,
                                      const QByteArray& key, const QByteArray& defaultValue,
                                      int bufsize)
{
    const std::optional<QByteArray> content = readWhole(path, nullptr);
    if (content)
        return readProfileString(*content, section, key, defaultValue, bufsize);
    // A file that could not be opened has no values to unquote the default like.
    return cut(defaultText(defaultValue), bufsize);
}

bool writeProfileStringToFile(const QString& path, const QByteArray& section, const QByteArray& key,
                              const QByteArray& value, QString* error)
{
    return writeProfileStringsToFile(path, section, {{key, value}}, error);
}

bool profileHasSection(const QByteArray& content, const QByteArray& section)
{
    const Text text(content);
    return locate(text.units(), trimmed(text.fromBytes(section)), {}).sectionFound;
}

std::optional<QByteArray> readProfileFile(const QString& path)
{
    return readWhole(path, nullptr);
}

bool writeProfileStringsToFile(const QString& path, const QByteArray& section,
                               const QList<std::pair<QByteArray, QByteArray>>& keyValues,
                               QString* error)
{
    const std::optional<QByteArray> old = readWhole(path, error);
    if (!old)
        return false;
    std::optional<QByteArray> updated = *old;
    for (const auto& [key, value] : keyValues) {
        updated = writeProfileString(*updated, section, key, value);
        if (!updated) {
            const char* why = refusal(section, key, value);
            if (!why)
                why = QT_TRANSLATE_NOOP("IniFile", "The key \"%1\" was not saved in %2: the file "
                                                   "would start with a byte-order mark.");
            fail(error, QCoreApplication::translate("IniFile", why)
                            .arg(QString::fromLocal8Bit(key), quotedPath(path)));
            return false;
        }
    }
    if (*updated == *old)
        return true;
    // The settings file may be a link the user made to share it.
    return writeDurably(path, *updated, {{}, true}, error);
}

} // namespace tessel
