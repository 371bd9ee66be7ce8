// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace tessel {

// The burn-progress window, for burning the image into the cartridge. No
// command opens it yet; its Cancel button closes it.
class BurnWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit BurnWindow(QWidget* parent = nullptr);
};

} // namespace tessel
