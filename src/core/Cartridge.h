// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace tessel {

// What the cartridge and its snapshots measure. Offsets are 0-based byte
// offsets into the 512 KiB flash image.

constexpr int kEntryCount = 10; // snapshots on a cartridge
constexpr int kMaxNameLength = 20; // characters of a menu name

constexpr qint64 kSnaFileSize = 49179; // a 48K .sna: the header, then RAM
constexpr qint64 kSnaHeaderSize = 27;

constexpr qint64 kImageSize = 524288;
constexpr qint64 kBankSize = 16384;
constexpr qint64 kAreaSize = 49152; // one snapshot's RAM, 0x4000..0xFFFF
constexpr qint64 kBank32Offset = kImageSize - kBankSize;
constexpr qint64 kRecordSize = 32; // the header plus the first 5 bytes of RAM
constexpr qint64 kSlotSize = 23; // a name table slot; bytes 20..22 are never written

// The firmware addresses the tables with 16-bit signed offsets.
constexpr qint64 kMaxNamesOffset = 32766 - kSlotSize * (kEntryCount - 1);
constexpr qint64 kMaxRegistersOffset = 32766;

// The Spectrum's screen memory at 0x4000: bitmap and attributes.
constexpr int kScreenMemorySize = 6912;

// Short sources are padded with blanks.
constexpr char kFill = 0x20;

constexpr qint64 areaOffset(int entry)
{
    return kBankSize + kAreaSize * entry;
}

} // namespace tessel
