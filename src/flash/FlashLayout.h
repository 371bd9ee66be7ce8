#pragma once

#include <QtGlobal>

namespace tessel {

// Where everything lies in the cartridge's 512 KiB flash. Offsets are 0-based
// byte offsets into the image.
constexpr int kFlashEntries = 10;

constexpr qint64 kImageSize = 524288;
constexpr qint64 kBankSize = 16384;
constexpr qint64 kAreaSize = 49152; // one snapshot's RAM, 0x4000..0xFFFF
constexpr qint64 kBank32Offset = kImageSize - kBankSize;

constexpr qint64 kSnapshotFileSize = 49179; // a 48K .sna
constexpr qint64 kSnapshotHeader = 27;
constexpr qint64 kRecordSize = 32; // the header plus the first 5 bytes of RAM

constexpr qint64 kSlotSize = 23;
constexpr qint64 kNameLength = 20; // bytes 20..22 of a slot are never written

// The firmware addresses the tables with 16-bit signed offsets.
constexpr qint64 kMaxNamesOffset = 32766 - kSlotSize * (kFlashEntries - 1);
constexpr qint64 kMaxRegistersOffset = 32766;

// Short sources are padded with blanks.
constexpr char kFill = 0x20;

constexpr qint64 areaOffset(int entry)
{
    return kBankSize + kAreaSize * entry;
}

} // namespace tessel
