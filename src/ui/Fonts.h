// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

namespace tessel {

// The font at its size, or smaller until the text fits the width on one line:
// whatever family the system finds for it, the text shows whole.
QFont fittedFont(QFont font, const QString& text, int width);

} // namespace tessel
