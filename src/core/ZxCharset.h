// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace tessel {

// What the Spectrum draws for one byte of a menu name, as near as Unicode
// comes: the character itself for most of 0x20..0x7E, £ for 0x60, ↑ for
// 0x5E, © for 0x7F, quarter-block graphics for 0x80..0x8F, "UDG A".."UDG U"
// for the user-defined graphics and the keyword for a token byte. Control
// bytes below 0x20 give "?".
QString spectrumGlyph(uchar byte);

// A character of a name that the Spectrum draws as something else.
struct CharsetChange
{
    QString typed; // one character as typed (a surrogate pair stays whole)
    QString shown; // what the Spectrum draws for the byte it is stored as

    bool operator==(const CharsetChange&) const = default;
};

// The characters of a name that look different on the Spectrum, each once,
// in the order they first appear. A character is judged by the byte it is
// stored as (see toCp1252): "ñ" is stored as 0xF1, which the Spectrum draws
// as the keyword LET; a character the code page lacks is stored as "?".
QList<CharsetChange> charsetChanges(const QString& name);

// One line for under the name field, saying what will look different on the
// Spectrum; empty when the whole name shows as typed.
QString charsetHint(const QString& name);

} // namespace tessel
