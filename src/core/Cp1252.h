// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tessel {

// Text for the cartridge menu, one byte per character in Windows-1252, the
// code page of the platform the cartridge kit grew up on. Decomposed accents
// are composed first, so "e" + combining acute becomes one 0xE9, but the
// result never has more bytes than the text has characters. A character with
// no byte in the code page becomes "?" (a surrogate pair is one character).
QByteArray toCp1252(const QString& text);

// The other way: one character a byte. The five bytes the code page leaves
// unassigned become the C1 controls of the same number, as Windows reads
// them, so no byte is lost and toCp1252() gives every other byte back.
QString fromCp1252(QByteArrayView bytes);

// Whether a byte stands for a control character rather than one a menu name
// may show: 0x00..0x1F, 0x7F and the unassigned bytes.
bool isCp1252Control(char byte);

} // namespace tessel
