// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tessel {

// The board icon, sharp at every scale the screen asks for.
QIcon boardIcon();
// The cartridge plugged into the computer, for the About window.
QPixmap aboutPicture();
// The grid's mark of an entry whose snapshot has trainers applied.
QIcon trainerMark();

} // namespace tessel
