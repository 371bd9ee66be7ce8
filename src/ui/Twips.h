// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace tessel {

// Layouts are designed in twips; 15 of them make a pixel at 96 dots per inch.
// Qt scales pixels on denser screens itself.
constexpr int twips(int t)
{
    return t / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

} // namespace tessel
