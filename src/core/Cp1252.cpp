// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Cp1252.h"

#include <QList>

#include <array>

namespace tessel {

namespace {

// Bytes 0x80..0x9F; 0 where the code page leaves the byte unassigned.
constexpr std::array<char16_t, 32> kSpecials = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char byteFor(char32_t c)
{
    // C1 controls have no printable meaning on the cartridge menu.
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kSpecials.size(); ++i) {
        if (kSpecials[i] != 0 && kSpecials[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QString fromCp1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        const char16_t special = b >= 0x80 && b < 0xA0 ? kSpecials[b - 0x80] : 0;
        text.append(QChar(special != 0 ? special : char16_t(b)));
    }
    return text;
}

bool isCp1252Control(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    return b < 0x20 || b == 0x7F || (b >= 0x80 && b < 0xA0 && kSpecials[b - 0x80] == 0);
}

QByteArray toCp1252(const QString& text)
{
    QList<uint> chars = text.toUcs4();
    // A few characters grow under composition; never make a name longer.
    const QList<uint> composed = text.normalized(QString::NormalizationForm_C).toUcs4();
    if (composed.size() <= chars.size())
        chars = composed;
    QByteArray bytes;
    bytes.reserve(chars.size());
    for (const uint c : chars)
        bytes.append(byteFor(c));
    return bytes;
}

} // namespace tessel
