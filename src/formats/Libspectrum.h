// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/SnapshotReader.h"

namespace tessel {

// The one file that speaks to libspectrum, the Spectrum's file-format
// library. Its calls are serialised, so these are safe from any thread; its
// messages come back in ours and it never aborts the program.

// A snapshot of any format libspectrum reads, turned into the 48K .sna form,
// with the refusals readSnapshot() documents. `data` may be any bytes.
std::optional<SnapshotRead> decodeSnapshot(QByteArrayView data, const QString& fileName,
                                           SnapshotFault* fault, QString* error);

// The screen on display in a snapshot of any machine, and the border. A raw
// 48K .sna is read as it is.
std::optional<SnapshotScreen> decodeScreen(QByteArrayView data, const QString& fileName,
                                           QString* error);

} // namespace tessel
