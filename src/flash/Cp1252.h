#pragma once

#include <QByteArray>
#include <QString>

namespace tessel {

// Text for the cartridge menu, one byte per character in Windows-1252, the
// code page of the platform the cartridge kit grew up on. Decomposed accents
// are composed first, so "e" + combining acute becomes one 0xE9, but the
// result never has more bytes than the text has characters. A character with
// no byte in the code page becomes "?" (a surrogate pair is one character).
QByteArray toCp1252(const QString& text);

} // namespace tessel
