// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/SnapshotReader.h"

namespace tessel {

// Our own readings of formats whose reader in the installed libspectrum
// cannot be trusted with every file. Each takes any bytes; `fileName` names
// them in messages.

// A .sp snapshot, read here and never by libspectrum (whose 1.5 reader
// copies a normal 48K file 16 KiB past the end of its buffer). The 38-byte
// header's lengths and addresses are checked against the file's size.
std::optional<SnapshotRead> readSpSnapshot(QByteArrayView data, const QString& fileName,
                                           SnapshotFault* fault, QString* error);

// A .z80 or .slt before libspectrum reads it: its header is whole and
// every memory block lies in the file and expands to exactly one 16 KiB
// page (48 KiB for a version 1 file), since libspectrum takes a short or
// long block without a word. A 49,179-byte file that fails is said to look
// like a .sna.
bool checkZ80Snapshot(QByteArrayView data, const QString& fileName, SnapshotFault* fault,
                      QString* error);

// A .szx before libspectrum reads it: every block lies in the file, and
// none that libspectrum inflates is larger than its largest honest
// compressed size, since libspectrum inflates it whole before looking at
// its size (a 1 MiB file could ask for a gigabyte).
bool checkSzxSnapshot(QByteArrayView data, const QString& fileName, SnapshotFault* fault,
                      QString* error);

} // namespace tessel
