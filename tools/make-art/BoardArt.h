#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRectF>

#include <array>

class QPainter;

namespace art {

// The board is laid out on a 48-unit grid: at 48 px every edge falls on a
// pixel boundary and every 1-unit trace is centred on a pixel column.
inline constexpr double kBoardGrid = 48.0;

struct Chip
{
    QRectF body;
    bool large;
};

std::array<Chip, 4> boardChips();

// Silhouette including the connector tab; inset > 0 shrinks it evenly.
QPainterPath boardOutline(double inset = 0.0);

// Board-grid y where the gold fingers begin and where the tab ends.
inline constexpr double kFingerTop = 38.0;
inline constexpr double kTabBottom = 45.0;

struct BoardStyle
{
    // The about scene raises the chip bodies in 3D, so it wants only
    // their pins and shadows painted flat.
    bool chipBodies = true;
};

// Paints into board-grid coordinates; the caller scales.
void paintBoard(QPainter& p, const BoardStyle& style = {});
void paintChipBody(QPainter& p, const Chip& chip);

QImage renderBoardIcon(int size);

} // namespace art
