// SPDX-License-Identifier: GPL-3.0-or-later
// The settings engine on any content: reads never fail, and a write stores a
// value that reads back while every other line stays as it was.
//
// Input: the file's content, optionally followed by the fields section, key,
// value, default and bufsize (two bytes, little-endian, minus one), each
// preceded by "\0TZF\0"; missing ones take defaults. Without fields the
// program's own keys are written and read, so a plain tessel.ini is a seed.
#include "core/IniFile.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

using namespace tessel;

namespace {

const QByteArray kMarker("\0TZF\0", 5);

[[noreturn]] void fail(const char* what, const QByteArray& detail = {})
{
    std::fprintf(stderr, "fuzz_ini: %s\n%s\n", what, detail.toHex(' ').constData());
    std::abort();
}

#define CHECK(cond, detail)                                                                        \
    do {                                                                                           \
        if (!(cond))                                                                               \
            fail(#cond, detail);                                                                   \
    } while (false)

bool isBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}

bool isWide(const QByteArray& content)
{
    return content.startsWith("\xFF\xFE");
}

// What reading gives back for a written value: trimmed, one pair of quotes off.
QByteArray readBack(QByteArray value)
{
    qsizetype from = 0;
    qsizetype to = value.size();
    while (from < to && isBlank(value[from]))
        ++from;
    while (to > from && isBlank(value[to - 1]))
        --to;
    value = value.sliced(from, to - from);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value;
}

bool validUtf8(const QByteArray& bytes)
{
    QStringDecoder decode(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decode(bytes); // decodes only when it becomes a string
    return !decode.hasError();
}

// The content as text units: bytes, or UTF-16LE code units after the mark;
// an odd last byte of a UTF-16 file is kept apart.
struct Units
{
    std::u16string units;
    QByteArray rest;
};

Units unitsOf(const QByteArray& content, bool wide)
{
    Units u;
    if (!wide) {
        for (const char c : content)
            u.units.push_back(static_cast<uchar>(c));
        return u;
    }
    qsizetype i = 2;
    for (; i + 1 < content.size(); i += 2)
        u.units.push_back(static_cast<char16_t>(static_cast<uchar>(content[i])
                                                | static_cast<uchar>(content[i + 1]) << 8));
    u.rest = content.sliced(i);
    return u;
}

// The write replaced a run of units within one line, or inserted between lines.
void checkOnlyOneLineChanged(const QByteArray& before, const QByteArray& after)
{
    const bool wide = isWide(before);
    CHECK(isWide(after) == wide, after);
    const Units a = unitsOf(before, wide);
    const Units b = unitsOf(after, wide);
    CHECK(a.rest == b.rest, after);
    const std::size_t n = std::min(a.units.size(), b.units.size());
    std::size_t head = 0;
    while (head < n && a.units[head] == b.units[head])
        ++head;
    std::size_t tail = 0;
    while (tail < n - head
           && a.units[a.units.size() - 1 - tail] == b.units[b.units.size() - 1 - tail])
        ++tail;
    for (std::size_t i = head; i < a.units.size() - tail; ++i)
        CHECK(a.units[i] != u'\r' && a.units[i] != u'\n', after);
}

void checkRead(const QByteArray& content, const QByteArray& section, const QByteArray& key,
               const QByteArray& defaultValue, int bufsize)
{
    const ProfileRead read = readProfileString(content, section, key, defaultValue, bufsize);
    CHECK(read.count == read.bytes.size(), read.bytes);
    CHECK(read.count <= std::max(0, bufsize - 1), read.bytes);
    CHECK(!read.bytes.contains('\0'), read.bytes);
}

QByteArray valueOf(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                   qsizetype size)
{
    return readProfileString(content, section, key, "\x01(none)", static_cast<int>(size) + 16)
        .bytes;
}

// Writes and checks; gives the new content, or the old one when refused.
QByteArray checkWrite(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                      const QByteArray& value)
{
    const std::optional<QByteArray> written = writeProfileString(content, section, key, value);
    if (!written)
        return content;
    checkOnlyOneLineChanged(content, *written);
    // A UTF-16 file keeps the value through the locale's encoding, valid text only.
    if (!isWide(content) || validUtf8(value)) {
        const QByteArray expected = readBack(value);
        CHECK(valueOf(*written, section, key, expected.size()) == expected, *written);
    }
    // Writing the same again changes nothing, unless it rewrites the line (a
    // value with trailing blanks) with the file's spelling of a key that the
    // first write stored with trailing blanks.
    if (key.isEmpty() || !isBlank(key.back()))
        CHECK(writeProfileString(*written, section, key, value) == written, *written);
    return *written;
}

struct Setting
{
    const char* key;
    const char* value;
};

const Setting kSettings[] = {
    {"start", "1"},
    {"DirectorioSnaps", "/home/user/Spectrum juegos"},
    {"DirectorioTrabajo", "/opt/tessel/flash"},
    {"DireccionNombres", "8192"},
    {"DireccionRegistros", "8448"},
};

void fuzzProgramKeys(QByteArray content)
{
    for (const Setting& s : kSettings)
        checkRead(content, "tessel", s.key, {}, 255);
    bool written[std::size(kSettings)] = {};
    for (std::size_t i = 0; i < std::size(kSettings); ++i) {
        const QByteArray before = content;
        content = checkWrite(content, "tessel", kSettings[i].key, kSettings[i].value);
        written[i] = content != before
                     || valueOf(content, "tessel", kSettings[i].key, 64) == kSettings[i].value;
    }
    // Later writes leave the earlier ones alone.
    for (std::size_t i = 0; i < std::size(kSettings); ++i) {
        if (written[i])
            CHECK(valueOf(content, "tessel", kSettings[i].key, 64) == kSettings[i].value, content);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Not copied, so that a read past the end is caught.
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qsizetype at = input.indexOf(kMarker);
    if (at < 0) {
        fuzzProgramKeys(input);
        return 0;
    }
    const QByteArray content = input.first(at);
    QByteArray fields[5] = {"tessel", "DirectorioSnaps", "x", {}, {}};
    for (QByteArray& field : fields) {
        at += kMarker.size();
        if (at > input.size())
            break;
        const qsizetype end = input.indexOf(kMarker, at);
        field = input.sliced(at, (end < 0 ? input.size() : end) - at);
        if (end < 0)
            break;
        at = end;
    }
    const QByteArray& b = fields[4];
    const int bufsize = b.isEmpty() ? 255
                                    : static_cast<uchar>(b[0])
                                          + (b.size() > 1 ? static_cast<uchar>(b[1]) << 8 : 0) - 1;
    checkRead(content, fields[0], fields[1], fields[3], bufsize);
    checkWrite(content, fields[0], fields[1], fields[2]);
    return 0;
}
