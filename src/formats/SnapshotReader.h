// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Cartridge.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

// Larger files are refused unread: no snapshot of any format comes near it.
constexpr qint64 kMaxSnapshotFileSize = qint64(8) * 1024 * 1024;

struct SnapshotRead
{
    // The form the image holds, kSnaFileSize bytes: the 27-byte register
    // header, then the 48 KiB of RAM from 0x4000, with the program counter
    // pushed on the stack.
    QByteArray sna;
    QStringList warnings; // hardware the cartridge cannot give; adding is still allowed
};

// Why a snapshot was refused, for callers that word their own messages.
enum class SnapshotFault {
    None,
    File, // missing, a folder, a pipe or device, unreadable, or too large
    Unreadable, // damaged, truncated, compressed, or not a snapshot at all
    Machine, // saved on a machine other than a 16K or 48K Spectrum
    Stack, // the stack pointer leaves no room in RAM for the program counter
};

// Any snapshot format libspectrum reads, turned into the 48K .sna form. A
// file of exactly kSnaFileSize bytes is taken byte for byte, unless its name is
// not "*.sna*" and its contents are another snapshot format. Safe to call
// from several threads at once.
std::optional<SnapshotRead> readSnapshot(const QString& path, QString* error);
std::optional<SnapshotRead> readSnapshot(const QString& path, SnapshotFault* fault, QString* error);

// The same for bytes already read; fileName names them in messages and tells
// the format by its extension.
std::optional<SnapshotRead> readSnapshotData(QByteArrayView data, const QString& fileName,
                                             QString* error);
std::optional<SnapshotRead> readSnapshotData(QByteArrayView data, const QString& fileName,
                                             SnapshotFault* fault, QString* error);

// Writes the .sna bytes to `out`, whole or not at all.
bool writeSnaFile(const QString& out, const QByteArray& sna, QString* error);

// Writes the .sna form of `in` to `out`, whole or not at all, with the same
// refusals as readSnapshot. The warnings of the conversion go to `warnings`.
bool convertToSna(const QString& in, const QString& out, QStringList* warnings, QString* error);

// "*.sna*" and one pattern per other snapshot extension libspectrum reads,
// in lower case: match them ignoring case.
QStringList snapshotNamePatterns();

// Whether a file name matches "*.sna*", ignoring case.
bool hasSnaName(const QString& fileName);

} // namespace tessel
