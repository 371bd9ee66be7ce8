// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ZxCharset.h"

#include "core/Cp1252.h"

#include <QCoreApplication>

#include <array>

namespace tessel {

namespace {

// 0x80..0x8F: bit 0 lights the top right quarter, bit 1 the top left, bit 2
// the bottom right, bit 3 the bottom left.
constexpr std::array<char16_t, 16> kBlocks = {
    0x00A0, 0x259D, 0x2598, 0x2580, 0x2597, 0x2590, 0x259A, 0x259C,
    0x2596, 0x259E, 0x258C, 0x259B, 0x2584, 0x259F, 0x2599, 0x2588,
};

constexpr uchar kFirstUdg = 0x90;
constexpr uchar kFirstToken = 0xA5;

// The 48K's keywords, 0xA5 (RND) to 0xFF (COPY).
// clang-format off
constexpr std::array<const char*, 91> kTokens = {
    "RND",      "INKEY$",   "PI",       "FN",       "POINT",    "SCREEN$",  "ATTR",     "AT", // 0xA5
    "TAB",      "VAL$",     "CODE",     "VAL",      "LEN",      "SIN",      "COS",      "TAN", // 0xAD
    "ASN",      "ACS",      "ATN",      "LN",       "EXP",      "INT",      "SQR",      "SGN", // 0xB5
    "ABS",      "PEEK",     "IN",       "USR",      "STR$",     "CHR$",     "NOT",      "BIN", // 0xBD
    "OR",       "AND",      "<=",       ">=",       "<>",       "LINE",     "THEN",     "TO", // 0xC5
    "STEP",     "DEF FN",   "CAT",      "FORMAT",   "MOVE",     "ERASE",    "OPEN #",   "CLOSE #", // 0xCD
    "MERGE",    "VERIFY",   "BEEP",     "CIRCLE",   "INK",      "PAPER",    "FLASH",    "BRIGHT", // 0xD5
    "INVERSE",  "OVER",     "OUT",      "LPRINT",   "LLIST",    "STOP",     "READ",     "DATA", // 0xDD
    "RESTORE",  "NEW",      "BORDER",   "CONTINUE", "DIM",      "REM",      "FOR",      "GO TO", // 0xE5
    "GO SUB",   "INPUT",    "LOAD",     "LIST",     "LET",      "PAUSE",    "NEXT",     "POKE", // 0xED
    "PRINT",    "PLOT",     "RUN",      "SAVE",     "RANDOMIZE", "IF",       "CLS",      "DRAW", // 0xF5
    "CLEAR",    "RETURN",   "COPY", // 0xFD
};
// clang-format on

// A typed character as the hint names it: invisible ones by their code.
QString visible(const QString& character)
{
    const char32_t c = character.toUcs4().value(0);
    const bool blank = c != U' ' && QChar::isSpace(c);
    if (blank || QChar::category(c) == QChar::Other_Control
        || QChar::category(c) == QChar::Other_Format)
        return QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
    return character;
}

} // namespace

QString spectrumGlyph(uchar byte)
{
    if (byte < 0x20)
        return QStringLiteral("?");
    switch (byte) {
    case 0x5E:
        return QStringLiteral("\u2191");
    case 0x60:
        return QStringLiteral("\u00A3");
    case 0x7F:
        return QStringLiteral("\u00A9");
    default:
        break;
    }
    if (byte < 0x80)
        return QString(QLatin1Char(static_cast<char>(byte)));
    if (byte < kFirstUdg)
        return QString(QChar(kBlocks[byte - 0x80]));
    if (byte < kFirstToken)
        return QStringLiteral("UDG ") + QLatin1Char(static_cast<char>('A' + byte - kFirstUdg));
    return QLatin1String(kTokens[byte - kFirstToken]);
}

QList<CharsetChange> charsetChanges(const QString& name)
{
    QList<CharsetChange> changes;
    const QByteArray bytes = toCp1252(name);
    // toCp1252 gives one byte per character of the text it stored, which is
    // the composed form unless composing made it longer.
    QList<uint> chars = name.toUcs4();
    const QList<uint> composed = name.normalized(QString::NormalizationForm_C).toUcs4();
    if (composed.size() <= chars.size())
        chars = composed;
    for (qsizetype i = 0; i < chars.size() && i < bytes.size(); ++i) {
        const char32_t c = chars.at(i);
        const QString typed = QString::fromUcs4(&c, 1);
        const QString shown = spectrumGlyph(static_cast<uchar>(bytes.at(i)));
        if (shown == typed)
            continue;
        const CharsetChange change{typed, shown};
        if (!changes.contains(change))
            changes.append(change);
    }
    return changes;
}

QString charsetHint(const QString& name)
{
    const QList<CharsetChange> changes = charsetChanges(name);
    if (changes.isEmpty())
        return {};
    QStringList parts;
    for (const CharsetChange& change : changes) {
        parts.append(
            change.shown.trimmed().isEmpty()
                ? QCoreApplication::translate("ZxCharset", "%1 as a blank",
                                              "typed character shown as a blank")
                      .arg(visible(change.typed))
                : QCoreApplication::translate("ZxCharset", "%1 as %2", "typed character shown as")
                      .arg(visible(change.typed), change.shown));
    }
    return QCoreApplication::translate("ZxCharset", "The Spectrum shows %1", "a list of changes")
        .arg(parts.join(QCoreApplication::translate("ZxCharset", ", ", "list separator")));
}

} // namespace tessel
