// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Fonts.h"

#include <QFontMetricsF>

namespace tessel {

QFont fittedFont(QFont font, const QString& text, int width)
{
    qreal size = font.pointSizeF();
    while (size > 1 && QFontMetricsF(font).horizontalAdvance(text) > width) {
        size -= 0.5;
        font.setPointSizeF(size);
    }
    return font;
}

} // namespace tessel
