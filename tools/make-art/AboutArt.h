#pragma once

#include <QImage>

namespace art {

inline constexpr int kAboutWidth = 639;
inline constexpr int kAboutHeight = 511;

// The cartridge plugged into the back of the computer, on a backdrop that
// fades to the About window's grey at the borders.
QImage renderAboutPicture();

} // namespace art
