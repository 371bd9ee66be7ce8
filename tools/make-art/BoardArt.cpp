#include "BoardArt.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>
#include <vector>

namespace art {
namespace {

const QColor kOutline(0x0c, 0x38, 0x1b);
const QColor kBoardTop(0x33, 0xa3, 0x55);
const QColor kBoardBottom(0x1c, 0x78, 0x38);
const QColor kTrace(0x6a, 0xcf, 0x86);
const QColor kGoldLight(0xff, 0xe7, 0x94);
const QColor kGoldDark(0xc8, 0x92, 0x22);
const QColor kChip(0x22, 0x25, 0x2a);
const QColor kChipEdge(0x44, 0x49, 0x51);
const QColor kPin(0xc4, 0xca, 0xd2);

// Bezier factor that makes a cubic match a quarter circle.
constexpr double kKappa = 0.5523;

struct Corner
{
    QPointF at;
    double radius;
};

QPainterPath roundedPolygon(const std::vector<Corner>& corners)
{
    QPainterPath path;
    const auto n = corners.size();
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF prev = corners[(i + n - 1) % n].at;
        const QPointF next = corners[(i + 1) % n].at;
        const auto [v, r] = corners[i];
        auto toward = [&](QPointF target) {
            const QPointF d = target - v;
            const double len = std::hypot(d.x(), d.y());
            return v + d * (r / len);
        };
        const QPointF a = toward(prev);
        const QPointF b = toward(next);
        if (i == 0)
            path.moveTo(a);
        else
            path.lineTo(a);
        if (r > 0)
            path.cubicTo(a + (v - a) * kKappa, b + (v - b) * kKappa, b);
    }
    path.closeSubpath();
    return path;
}

void fillUnits(QPainter& p, double x0, double y0, double x1, double y1, const QBrush& brush)
{
    p.fillRect(QRectF(QPointF(x0, y0), QPointF(x1, y1)), brush);
}

void paintPins(QPainter& p, const Chip& chip)
{
    const QRectF b = chip.body;
    // Pins sit on every other unit starting one in, so rows line up with traces.
    if (chip.large) {
        for (double x = b.left() + 1; x < b.right() - 0.5; x += 2) {
            fillUnits(p, x, b.top() - 2, x + 1, b.top(), kPin);
            fillUnits(p, x, b.bottom(), x + 1, b.bottom() + 2, kPin);
        }
    }
    for (double y = b.top() + 1; y < b.bottom() - 0.5; y += 2) {
        fillUnits(p, b.left() - 2, y, b.left(), y + 1, kPin);
        fillUnits(p, b.right(), y, b.right() + 2, y + 1, kPin);
    }
}

void paintPassive(QPainter& p, double x, double y)
{
    fillUnits(p, x, y, x + 1, y + 2, kPin);
    fillUnits(p, x + 1, y, x + 3, y + 2, QColor(0xb0, 0x8a, 0x5a));
    fillUnits(p, x + 3, y, x + 4, y + 2, kPin);
}

void paintVia(QPainter& p, QPointF centre)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe4, 0xb4, 0x3c));
    p.drawEllipse(centre, 1.5, 1.5);
    p.setBrush(kOutline);
    p.drawEllipse(centre, 0.5, 0.5);
}

} // namespace

std::array<Chip, 4> boardChips()
{
    return {{
        {QRectF(8, 11, 15, 15), true},
        {QRectF(30, 9, 9, 5), false},
        {QRectF(30, 17, 9, 5), false},
        {QRectF(30, 25, 9, 5), false},
    }};
}

QPainterPath boardOutline(double i)
{
    const double left = 2 + i, right = 45 - i, top = 4 + i, shoulder = 36 - i;
    const double tabLeft = 8 + i, tabRight = 39 - i, bottom = kTabBottom - i;
    const double big = std::max(0.0, 3 - i), mid = std::max(0.0, 2 - i),
                 small = std::max(0.0, 1 - i);
    return roundedPolygon({
        {{left, top}, big},
        {{right, top}, big},
        {{right, shoulder}, mid},
        {{tabRight, shoulder}, 0},
        {{tabRight, bottom}, small},
        {{tabLeft, bottom}, small},
        {{tabLeft, shoulder}, 0},
        {{left, shoulder}, mid},
    });
}

void paintChipBody(QPainter& p, const Chip& chip)
{
    const QRectF b = chip.body;
    p.fillRect(b, kChip);
    fillUnits(p, b.left(), b.top(), b.right(), b.top() + 1, kChipEdge);
    fillUnits(p, b.left(), b.top(), b.left() + 1, b.bottom(), kChipEdge);
    if (chip.large) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x5d, 0x63, 0x6c));
        p.drawEllipse(QPointF(b.left() + 3, b.top() + 3), 1.0, 1.0);
    }
}

void paintBoard(QPainter& p, const BoardStyle& style)
{
    p.save();
    p.setPen(Qt::NoPen);

    // Outline first, then the inset body: keeps the 1-unit rim crisp at 48 px.
    p.setBrush(kOutline);
    p.drawPath(boardOutline());
    QLinearGradient body(0, 4, 0, kTabBottom);
    body.setColorAt(0, kBoardTop);
    body.setColorAt(1, kBoardBottom);
    p.setBrush(body);
    p.drawPath(boardOutline(1));

    QPen trace(kTrace, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(trace);
    p.setBrush(Qt::NoBrush);
    for (double x : {11.5, 15.5, 19.5})
        p.drawLine(QPointF(x, kFingerTop), QPointF(x, 28));
    for (double x : {31.5, 35.5})
        p.drawLine(QPointF(x, kFingerTop), QPointF(x, 30));
    for (double x : {23.5, 27.5})
        p.drawLine(QPointF(x, kFingerTop), QPointF(x, 33));
    for (double y : {12.5, 18.5, 20.5})
        p.drawLine(QPointF(25, y), QPointF(28, y));
    QPainterPath over;
    over.moveTo(21.5, 9);
    over.lineTo(21.5, 6.5);
    over.lineTo(34.5, 6.5);
    over.lineTo(34.5, 9);
    p.drawPath(over);
    p.setPen(Qt::NoPen);
    paintVia(p, {23.5, 32.5});
    paintVia(p, {27.5, 32.5});

    paintPassive(p, 4, 31);
    paintPassive(p, 39, 31);

    for (const Chip& chip : boardChips()) {
        paintPins(p, chip);
        if (style.chipBodies)
            paintChipBody(p, chip);
    }

    QLinearGradient gold(0, kFingerTop, 0, kTabBottom);
    gold.setColorAt(0, kGoldLight);
    gold.setColorAt(1, kGoldDark);
    for (int f = 0; f < 7; ++f) {
        const double x = 10 + 4 * f;
        fillUnits(p, x, kFingerTop, x + 3, kTabBottom, gold);
    }
    p.restore();
}

QImage renderBoardIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kBoardGrid, size / kBoardGrid);
    paintBoard(p);
    p.end();
    return image;
}

} // namespace art
