// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/ScreenImage.h"

#include "formats/SnapshotReader.h"
#include "machine/Source.h"

#include <algorithm>

namespace tessel {

namespace {

constexpr int kAttributeOffset = kBitmapSize;
constexpr int kBytesPerLine = kScreenWidth / 8;

QList<QRgb> colourTable()
{
    QList<QRgb> table;
    for (int index = 0; index < 16; ++index)
        table.append(spectrumColour(index & 7, index & 8));
    return table;
}

// The bitmap offset of line y: bits 6-7 of y pick the third, bits 0-2 the
// pixel line within a character row, bits 3-5 the character row.
int lineOffset(int y)
{
    return ((y & 0xC0) << 5) | ((y & 0x07) << 8) | ((y & 0x38) << 2);
}

} // namespace

QRgb spectrumColour(int colour, bool bright)
{
    const int level = bright ? 0xFF : 0xD7;
    return qRgb(colour & 2 ? level : 0, colour & 4 ? level : 0, colour & 1 ? level : 0);
}

QImage renderScreen(QByteArrayView memory, bool flashSwapped)
{
    if (memory.size() < kScreenMemorySize)
        return {};
    static const QList<QRgb> table = colourTable();
    QImage image(kScreenWidth, kScreenHeight, QImage::Format_Indexed8);
    image.setColorTable(table);
    const auto* bytes = reinterpret_cast<const uchar*>(memory.data());
    for (int y = 0; y < kScreenHeight; ++y) {
        const uchar* bitmap = bytes + lineOffset(y);
        const uchar* attributes = bytes + kAttributeOffset + std::ptrdiff_t(y / 8) * kBytesPerLine;
        uchar* out = image.scanLine(y);
        for (int column = 0; column < kBytesPerLine; ++column) {
            const uchar attribute = attributes[column];
            const uchar bright = attribute & 0x40 ? 8 : 0;
            uchar ink = (attribute & 7) | bright;
            uchar paper = ((attribute >> 3) & 7) | bright;
            if (flashSwapped && (attribute & 0x80))
                std::swap(ink, paper);
            const uchar pixels = bitmap[column];
            for (int bit = 7; bit >= 0; --bit)
                *out++ = (pixels >> bit) & 1 ? ink : paper;
        }
    }
    return image;
}

bool screenFlashes(QByteArrayView memory)
{
    if (memory.size() < kScreenMemorySize)
        return false;
    const QByteArrayView attributes =
        memory.sliced(kAttributeOffset, kScreenMemorySize - kBitmapSize);
    return std::any_of(attributes.begin(), attributes.end(),
                       [](char attribute) { return static_cast<uchar>(attribute) & 0x80; });
}

namespace {

LoadingScreen screenOf(QByteArrayView memory, int border)
{
    LoadingScreen screen;
    screen.image = renderScreen(memory);
    if (screenFlashes(memory))
        screen.flashed = renderScreen(memory, true);
    screen.border = spectrumColour(border & 7, false);
    return screen;
}

} // namespace

std::optional<LoadingScreen> loadingScreenFromSna(QByteArrayView sna)
{
    if (sna.size() != kSnaFileSize)
        return std::nullopt;
    return screenOf(sna.sliced(kSnaMemoryOffset, kScreenMemorySize),
                    static_cast<uchar>(sna.at(kSnaBorderOffset)));
}

std::optional<LoadingScreen> readTapeScreen(const QString& path)
{
    const QByteArray memory = tapeScreen(path);
    if (memory.size() != kScreenMemorySize)
        return std::nullopt;
    return screenOf(memory, 7);
}

std::optional<LoadingScreen> readLoadingScreen(const QString& path, QString* error)
{
    const std::optional<SnapshotRead> snapshot = readSnapshot(path, error);
    if (!snapshot)
        return std::nullopt;
    return loadingScreenFromSna(snapshot->sna);
}

std::optional<LoadingScreen> readAnyLoadingScreen(const QString& path, QString* error)
{
    const std::optional<SnapshotScreen> snapshot = readSnapshotScreen(path, error);
    if (!snapshot)
        return std::nullopt;
    LoadingScreen screen = screenOf(snapshot->memory, snapshot->border);
    screen.otherMachine = snapshot->otherMachine;
    screen.machine = snapshot->machine;
    return screen;
}

} // namespace tessel
