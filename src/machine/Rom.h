// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/SnapshotReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

class Kit;

// Where Debian's opense-basic package puts its ROM.
inline const QString kOpenSeRomPath = QStringLiteral("/usr/share/spectrum-roms/opense.rom");

// The ROM a tape is loaded with decides whether the snapshot runs on a real
// Spectrum, whose ROM is Sinclair's.
struct Rom
{
    enum class Kind { Sinclair, OpenSe, Unknown };
    Kind kind = Kind::Unknown;
    QString path;
    QByteArray bytes; // 16 KiB
    QByteArray digest; // SHA-256 of the bytes
};

// The ROM for loading tapes: the file the kit's setting Rom48 names, else
// 48.rom in the program folder, else OpenSE BASIC at `fallback`. A program
// without a kit passes none. A ROM the user gave that cannot be read, or is
// not of 16 KiB, is an error, never passed over for another.
std::optional<Rom> findRom(const Kit* kit, QString* error,
                           const QString& fallback = kOpenSeRomPath);

// What the user must know about a tape loaded with this ROM: nothing for
// Sinclair's; for others, that the snapshot may not run on a real Spectrum.
QList<HardwareWarning> romWarnings(const Rom& rom, const QString& tape);

} // namespace tessel
