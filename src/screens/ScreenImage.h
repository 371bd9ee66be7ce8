// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Cartridge.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

#include <optional>

namespace tessel {

// The Spectrum's screen memory at 0x4000: a bitmap of 32 bytes a line, its
// lines interleaved within thirds of the screen, then one attribute byte per
// 8×8 cell (bits 0-2 INK, 3-5 PAPER, 6 BRIGHT, 7 FLASH).
constexpr int kScreenWidth = 256;
constexpr int kScreenHeight = 192;
constexpr int kBitmapSize = 6144;

// Where a 48K .sna keeps the border colour and the byte at 0x4000.
constexpr int kSnaBorderOffset = 26;
constexpr int kSnaMemoryOffset = kSnaHeaderSize;

// One of the eight colours (bit 0 blue, bit 1 red, bit 2 green), with or
// without BRIGHT: each primary is 0x00, or 0xD7 (0xFF with BRIGHT).
QRgb spectrumColour(int colour, bool bright);

// The 256×192 picture of 6,912 bytes of screen memory, in a 16-colour
// indexed image (index = colour, plus 8 with BRIGHT). FLASH swaps INK and
// PAPER in the second half of its cycle: pass flashSwapped for that phase.
// Fewer than 6,912 bytes give a null image.
QImage renderScreen(QByteArrayView memory, bool flashSwapped = false);

// Whether any cell of the screen has FLASH set.
bool screenFlashes(QByteArrayView memory);

// The screen a snapshot was showing, ready to paint.
struct LoadingScreen
{
    QImage image; // FLASH in its first phase: INK drawn as INK
    QImage flashed; // the second phase; null when no cell flashes
    QRgb border = 0;
    // Saved on a machine the cartridge cannot be, such as a 128K; its name
    // when known.
    bool otherMachine = false;
    QString machine;

    bool flashes() const { return !flashed.isNull(); }
};

// The screen of a 48K .sna given as its 49,179 bytes; any other length
// gives nothing.
std::optional<LoadingScreen> loadingScreenFromSna(QByteArrayView sna);

// Reads a snapshot file and makes its screen. A file that is not a 48K
// snapshot gives nothing, and an error naming the file and what is wrong.
std::optional<LoadingScreen> readLoadingScreen(const QString& path, QString* error);
// The same, and for a snapshot refused only for its machine, its screen
// marked with that machine: so that the user sees what it is.
std::optional<LoadingScreen> readAnyLoadingScreen(const QString& path, QString* error);

// The loading screen a tape carries, its first block of 6,912 bytes, read
// without loading the tape and framed by the ROM's white border; nothing
// when it carries none.
std::optional<LoadingScreen> readTapeScreen(const QString& path);

} // namespace tessel
