#pragma once

#include <QString>

namespace tessel {

// The section and keys of the settings file "tessel.ini".
inline const QString kSection = QStringLiteral("tessel");
inline const QString kKeyStart = QStringLiteral("start");
inline const QString kKeySnapsFolder = QStringLiteral("DirectorioSnaps");
inline const QString kKeyWorkFolder = QStringLiteral("DirectorioTrabajo");
inline const QString kKeyNamesOffset = QStringLiteral("DireccionNombres");
inline const QString kKeyRegistersOffset = QStringLiteral("DireccionRegistros");

// Reads a key's value, at most 254 bytes of it (a multibyte character cut at
// that limit is dropped); empty when the file, the section or the key is
// missing. Text is converted from the locale's 8-bit encoding.
QString LeerIni(const QString& file, const QString& section, const QString& key);

// Writes a key's value through at once, in the locale's 8-bit encoding. A
// failed write is silent and leaves the file as it was. A value with a line
// break, which the file could not keep, is such a failure.
void EscribirIni(const QString& file, const QString& section, const QString& key,
                 const QString& value);

} // namespace tessel
