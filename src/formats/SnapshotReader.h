// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Cartridge.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

// Larger files are refused unread: no snapshot of any format comes near it.
constexpr qint64 kMaxSnapshotFileSize = qint64(8) * 1024 * 1024;

// Something a snapshot was saved with that the cartridge does not give, or
// what loading a tape left uncertain (Needed when it may keep the program
// from running).
struct HardwareWarning
{
    enum Kind {
        // The program will likely not run without it: an Interface 1, a
        // Multiface, a disk or other interface whose ROM was paged in, a ROM
        // of its own.
        Needed,
        // An output the program runs without: sound hardware (AY, Fuller
        // Box, SpecDrum, Covox), which leaves it quieter, and the ZX Printer,
        // whose absence the Spectrum's ROM skips over.
        OutputOnly,
        // A joystick interface, which the player plugs into the Spectrum or
        // does without by choosing keys in the game.
        Joystick,
        // Worth knowing, never asked about: the ROM a tape was loaded with, a
        // disk, storage or network interface attached but not in use.
        Noted,
    };

    Kind kind = Needed;
    QString text; // one sentence naming the file, for messages and the command line
    QString note; // one short sentence without the file, for a hint or a tooltip

    friend bool operator==(const HardwareWarning&, const HardwareWarning&) = default;
};

struct SnapshotRead
{
    // The form the image holds, kSnaFileSize bytes: the 27-byte register
    // header, then the 48 KiB of RAM from 0x4000, with the program counter
    // pushed on the stack.
    QByteArray sna;
    QList<HardwareWarning> warnings; // adding is still allowed
};

// The warnings' texts, in order.
QStringList warningTexts(const QList<HardwareWarning>& warnings);

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

// The screen a snapshot was showing, to look at: also for a snapshot the
// cartridge refuses for its machine, whose screen page is still there.
struct SnapshotScreen
{
    QByteArray memory; // kScreenMemorySize bytes of the screen on display
    int border = 0; // 0 to 7
    bool otherMachine = false; // saved on a machine the cartridge cannot be
    QString machine; // that machine's name ("Spectrum 128K"), empty when unknown
};

// The screen of a 48K .sna's kSnaFileSize bytes.
SnapshotScreen screenOfSna(QByteArrayView sna);

// The screen of any snapshot readSnapshot() takes, or of one it refuses
// only for its machine. Anything else gives nothing and the reason.
std::optional<SnapshotScreen> readSnapshotScreen(const QString& path, QString* error);

// Writes the .sna form of `in` to `out`, whole or not at all, with the same
// refusals as readSnapshot. The warnings of the conversion go to `warnings`.
bool convertToSna(const QString& in, const QString& out, QStringList* warnings, QString* error);

// "*.sna*" and one pattern per other snapshot extension libspectrum reads,
// in lower case: match them ignoring case.
QStringList snapshotNamePatterns();

// Whether a file name matches "*.sna*", ignoring case.
bool hasSnaName(const QString& fileName);

} // namespace tessel
