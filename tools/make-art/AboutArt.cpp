#include "AboutArt.h"

#include "BoardArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace art {
namespace {

// World units are millimetres: x to the computer's right, y from its front
// towards its back, z up from the desk.
struct V3
{
    double x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator-(V3 a, V3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 operator*(V3 a, double k)
{
    return {a.x * k, a.y * k, a.z * k};
}
double dot(V3 a, V3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 cross(V3 a, V3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 normalized(V3 a)
{
    return a * (1.0 / std::sqrt(dot(a, a)));
}

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

V3 fromAngles(double azimuth, double elevation)
{
    // Azimuth 0 looks from in front of the computer, 90 from its right.
    const double a = radians(azimuth), e = radians(elevation);
    return {std::sin(a) * std::cos(e), -std::cos(a) * std::cos(e), std::sin(e)};
}

class Camera
{
public:
    Camera(V3 target, double azimuth, double elevation, double distance)
        : eye_(target + fromAngles(azimuth, elevation) * distance)
    {
        fwd_ = normalized(target - eye_);
        right_ = normalized(cross(fwd_, {0, 0, 1}));
        up_ = cross(right_, fwd_);
    }

    QPointF map(V3 p) const { return fit_.map(raw(p)); }
    double depth(V3 p) const { return dot(p - eye_, fwd_); }

    void fitInto(const std::vector<V3>& points, const QRectF& box)
    {
        QPolygonF projected;
        for (V3 p : points)
            projected << raw(p);
        const QRectF bounds = projected.boundingRect();
        const double k = std::min(box.width() / bounds.width(), box.height() / bounds.height());
        fit_ = QTransform::fromTranslate(box.center().x(), box.center().y())
                   .scale(k, k)
                   .translate(-bounds.center().x(), -bounds.center().y());
    }

    // A planar rectangle seen in perspective is a homography of its own
    // 2D coordinates, so flat artwork can be painted straight onto it.
    QTransform onto(const std::array<V3, 4>& corners, const QRectF& local) const
    {
        const QPolygonF src{local.topLeft(), local.topRight(), local.bottomRight(),
                            local.bottomLeft()};
        QPolygonF dst;
        for (V3 c : corners)
            dst << map(c);
        QTransform t;
        QTransform::quadToQuad(src, dst, t);
        return t;
    }

    QPolygonF polygon(std::initializer_list<V3> points) const
    {
        QPolygonF out;
        for (V3 p : points)
            out << map(p);
        return out;
    }

    bool faces(V3 pointOnFace, V3 outwardNormal) const
    {
        return dot(outwardNormal, eye_ - pointOnFace) > 0;
    }

private:
    QPointF raw(V3 p) const
    {
        const V3 d = p - eye_;
        const double z = dot(d, fwd_);
        return {dot(d, right_) / z, -dot(d, up_) / z};
    }

    V3 eye_, fwd_, right_, up_;
    QTransform fit_;
};

QColor scaled(const QColor& c, double k)
{
    auto ch = [k](int v) { return std::clamp(static_cast<int>(std::lround(v * k)), 0, 255); };
    return QColor(ch(c.red()), ch(c.green()), ch(c.blue()), c.alpha());
}

struct Light
{
    V3 dir;
    QColor shade(const QColor& base, V3 normal) const
    {
        return scaled(base, 0.55 + 0.6 * std::max(0.0, dot(normalized(normal), dir)));
    }
};

// --- the computer --------------------------------------------------------

constexpr double kWidth = 233;
constexpr double kDepth = 144;
constexpr double kFrontHeight = 17;
constexpr double kBackHeight = 31;
const double kTopLength = std::hypot(kDepth, kBackHeight - kFrontHeight);

const QColor kCase(0x1b, 0x1c, 0x20);
const QColor kPlate(0x22, 0x23, 0x28);
const QColor kKey(0x86, 0x8c, 0x98);

// The expansion slot sits left of centre on the back edge.
constexpr double kSlotCentre = 78;
constexpr double kSlotHeight = 8;

void paintKey(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(r.translated(0.6, 1.6), 3.2, 3.2);
    QLinearGradient side(r.topLeft(), r.bottomLeft());
    side.setColorAt(0, scaled(kKey, 0.95));
    side.setColorAt(1, scaled(kKey, 0.55));
    p.setBrush(side);
    p.drawRoundedRect(r, 3.2, 3.2);
    QRadialGradient dome(r.center() - QPointF(0.8, 1.8), r.width() * 0.55);
    dome.setColorAt(0, scaled(kKey, 1.16));
    dome.setColorAt(0.7, kKey);
    dome.setColorAt(1, scaled(kKey, 0.85));
    p.setBrush(dome);
    p.drawRoundedRect(r.adjusted(0.9, 0.6, -0.9, -1.8), 2.6, 2.6);
    // A pale blob where the letter would be, bright enough to suggest print.
    p.setBrush(QColor(0xf4, 0xf4, 0xf4, 170));
    p.drawRoundedRect(QRectF(r.left() + 2.6, r.top() + 2.2, 2.6, 3.2), 0.6, 0.6);
}

void paintTop(QPainter& p)
{
    const double L = kTopLength;
    QLinearGradient body(0, 0, 0, L);
    body.setColorAt(0, scaled(kCase, 1.1));
    body.setColorAt(1, scaled(kCase, 0.9));
    p.fillRect(QRectF(0, 0, kWidth, L), body);

    // Cooling ribs along the rear of the lid.
    for (double w = 6; w < 32; w += 4) {
        p.fillRect(QRectF(14, w, kWidth - 28, 1.3), QColor(0x39, 0x3b, 0x42));
        p.fillRect(QRectF(14, w + 1.3, kWidth - 28, 1.0), QColor(0x08, 0x08, 0x0a));
    }

    const QRectF plate(6, 38, kWidth - 12, L - 43);
    p.setPen(QPen(QColor(0x4a, 0x4c, 0x54), 0.8));
    QLinearGradient sheen(plate.topLeft(), plate.bottomRight());
    sheen.setColorAt(0, scaled(kPlate, 1.25));
    sheen.setColorAt(0.5, kPlate);
    sheen.setColorAt(1, scaled(kPlate, 0.8));
    p.setBrush(sheen);
    p.drawRoundedRect(plate, 2, 2);

    p.save();
    p.setClipRect(plate.adjusted(0.5, 0.5, -0.5, -0.5));
    const QColor bands[] = {QColor(0xd8, 0x24, 0x24), QColor(0xf2, 0xc4, 0x1e),
                            QColor(0x2e, 0xa8, 0x48), QColor(0x22, 0x9c, 0xd6)};
    // Steep enough to clear the last keys of the two lower rows.
    const double slope = 1.6, width = 5.5;
    for (int i = 0; i < 4; ++i) {
        const double u = 200 + width * i;
        const double bottom = plate.bottom() + 1, rise = 70;
        QPolygonF band{{u, bottom},
                       {u + width, bottom},
                       {u + width + rise / slope, bottom - rise},
                       {u + rise / slope, bottom - rise}};
        p.setPen(Qt::NoPen);
        p.setBrush(bands[i]);
        p.drawPolygon(band);
    }
    p.restore();

    const double pitch = 19.6, keyW = 14.2, keyH = 12.4;
    const double offsets[] = {0, 5, 9, -1};
    const double left = plate.left() + 9;
    for (int row = 0; row < 4; ++row) {
        const double top = plate.top() + 11 + 22.5 * row;
        for (int k = 0; k < 10; ++k) {
            const double x = left + offsets[row] + pitch * k;
            p.setPen(Qt::NoPen);
            // Keyword print: white above each key, red below.
            p.setBrush(QColor(0xe8, 0xe8, 0xe8, 190));
            p.drawRect(QRectF(x + 2.5, top - 5.2, keyW - 5, 1.3));
            p.setBrush(QColor(0xe0, 0x3a, 0x30, 210));
            p.drawRect(QRectF(x + 3.5, top + keyH + 3.0, keyW - 7, 1.2));
            paintKey(p, QRectF(x, top, keyW, keyH));
        }
    }
}

void paintBack(QPainter& p, double slotLeft, double slotRight)
{
    // Local x runs from the computer's right edge, as seen from behind.
    auto lx = [](double worldX) { return kWidth - worldX; };
    auto ly = [](double worldZ) { return kBackHeight - worldZ; };
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x05, 0x05, 0x06));
    const QRectF slot(QPointF(lx(slotRight + 4), ly(kSlotHeight + 4.5)),
                      QPointF(lx(slotLeft - 4), ly(kSlotHeight - 4)));
    p.drawRoundedRect(slot, 1.2, 1.2);

    // Sockets for power, tape and television.
    const double sockets[] = {150, 168, 186, 210};
    for (double x : sockets) {
        const QPointF c(lx(x), ly(15));
        const bool tv = x > 200;
        p.setBrush(QColor(0x3a, 0x3c, 0x42));
        p.drawEllipse(c, tv ? 5.2 : 3.6, tv ? 5.2 : 3.6);
        p.setBrush(QColor(0x04, 0x04, 0x05));
        p.drawEllipse(c, tv ? 3.4 : 2.2, tv ? 3.4 : 2.2);
        if (tv) {
            p.setBrush(QColor(0x9a, 0x9c, 0xa2));
            p.drawEllipse(c, 0.9, 0.9);
        }
    }
}

// --- the cartridge -------------------------------------------------------

constexpr double kBoardScale = 1.75; // mm per board-grid unit
constexpr double kInserted = 8; // mm of the tab inside the slot
constexpr double kBoardThickness = 1.6;

struct Cartridge
{
    double left; // world x of board-grid x = 0
    double tabEdge; // world y of the tab's far edge, inside the computer

    V3 at(double gx, double gy, double z = kSlotHeight) const
    {
        return {left + gx * kBoardScale, tabEdge + (kTabBottom - gy) * kBoardScale, z};
    }
    std::array<V3, 4> plane(const QRectF& r, double z) const
    {
        return {at(r.left(), r.top(), z), at(r.right(), r.top(), z), at(r.right(), r.bottom(), z),
                at(r.left(), r.bottom(), z)};
    }
};

Cartridge placeCartridge()
{
    // Centre the tab (grid x 8..39) on the slot.
    const double tabMid = (8 + 39) / 2.0;
    return {kSlotCentre - tabMid * kBoardScale, kDepth - kInserted};
}

void paintCartridge(QPainter& p, const Camera& cam, const Light& light)
{
    const Cartridge cart = placeCartridge();
    const QRectF grid(0, 0, kBoardGrid, kBoardGrid);
    // Nothing inside the case may show through its back wall.
    const double visibleTo = kTabBottom - kInserted / kBoardScale;
    const QRectF outside(0, 0, kBoardGrid, visibleTo);

    // Stacked copies of the silhouette make the board's edge.
    const QColor edge = light.shade(QColor(0x1a, 0x5e, 0x2e), {0, 0, 1});
    for (int i = 0; i <= 6; ++i) {
        const double z = kSlotHeight - kBoardThickness * (1 - i / 6.0);
        p.setTransform(cam.onto(cart.plane(grid, z), grid));
        p.setClipRect(outside);
        p.setPen(Qt::NoPen);
        p.setBrush(i == 0 ? QColor(0x0d, 0x2e, 0x17) : edge);
        p.drawPath(boardOutline());
    }
    p.setTransform(cam.onto(cart.plane(grid, kSlotHeight), grid));
    p.setClipRect(outside);
    paintBoard(p, BoardStyle{.chipBodies = false});
    // Soft shadows where the raised chips meet the board.
    for (const Chip& chip : boardChips()) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(chip.body.adjusted(-0.3, -0.2, 0.9, 0.9), 0.8, 0.8);
    }
    p.setClipping(false);

    auto chips = boardChips();
    std::sort(chips.begin(), chips.end(), [&](const Chip& a, const Chip& b) {
        return cam.depth(cart.at(a.body.center().x(), a.body.center().y()))
               > cam.depth(cart.at(b.body.center().x(), b.body.center().y()));
    });
    for (const Chip& chip : chips) {
        const QRectF b = chip.body;
        const double top = kSlotHeight + (chip.large ? 1.8 : 1.4);
        const V3 c00 = cart.at(b.left(), b.top()), c10 = cart.at(b.right(), b.top());
        const V3 c11 = cart.at(b.right(), b.bottom()), c01 = cart.at(b.left(), b.bottom());
        const V3 up{0, 0, top - kSlotHeight};
        struct Side
        {
            V3 a, b, normal;
        };
        const Side sides[] = {{c00, c10, {0, 1, 0}},
                              {c10, c11, {1, 0, 0}},
                              {c11, c01, {0, -1, 0}},
                              {c01, c00, {-1, 0, 0}}};
        p.resetTransform();
        p.setPen(Qt::NoPen);
        for (const Side& s : sides) {
            if (!cam.faces(s.a, s.normal))
                continue;
            p.setBrush(light.shade(QColor(0x1e, 0x20, 0x24), s.normal));
            p.drawPolygon(cam.polygon({s.a, s.b, s.b + up, s.a + up}));
        }
        p.setTransform(cam.onto(cart.plane(grid, top), grid));
        paintChipBody(p, chip);
    }
    p.resetTransform();
}

// --- desk and shadows ----------------------------------------------------

void boxBlur(std::vector<float>& a, int w, int h, int radius)
{
    std::vector<float> tmp(a.size());
    auto pass = [&](std::vector<float>& src, std::vector<float>& dst, bool horizontal) {
        const int lines = horizontal ? h : w, len = horizontal ? w : h;
        for (int line = 0; line < lines; ++line) {
            auto idx = [&](int i) {
                i = std::clamp(i, 0, len - 1);
                return horizontal ? line * w + i : i * w + line;
            };
            float sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += src[idx(i)];
            for (int i = 0; i < len; ++i) {
                dst[idx(i)] = sum / (2 * radius + 1);
                sum += src[idx(i + radius + 1)] - src[idx(i - radius)];
            }
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(a, tmp, true);
        pass(tmp, a, false);
    }
}

QImage blurredShadow(const QSize& size, int radius, double opacity,
                     const std::vector<QPolygonF>& shapes)
{
    QImage mask(size, QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (const QPolygonF& s : shapes)
            p.drawPolygon(s);
    }
    const int w = size.width(), h = size.height();
    std::vector<float> a(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const uchar* line = mask.constScanLine(y);
        for (int x = 0; x < w; ++x)
            a[static_cast<std::size_t>(y) * w + x] = line[x] / 255.0f;
    }
    boxBlur(a, w, h, radius);
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int alpha = std::clamp(
                static_cast<int>(a[static_cast<std::size_t>(y) * w + x] * opacity * 255), 0, 255);
            line[x] = qRgba(0, 0, 0, alpha);
        }
    }
    return out;
}

void paintBackdrop(QImage& image)
{
    // Exactly the About window's grey at every border, a little lighter inside.
    const double cx = image.width() / 2.0, cy = image.height() / 2.0;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double dx = (x + 0.5 - cx) / cx, dy = (y + 0.5 - cy) / cy;
            const double edge = std::max(0.0, 1.0 - std::max(std::abs(dx), std::abs(dy)));
            const double glow =
                std::pow(std::min(1.0, edge * 3.0), 1.6) * (1.0 - 0.35 * std::hypot(dx, dy));
            const int v = 128 + static_cast<int>(std::lround(34 * glow));
            line[x] = qRgb(v, v, v);
        }
    }
}

} // namespace

QImage renderAboutPicture()
{
    QImage image(kAboutWidth, kAboutHeight, QImage::Format_RGB32);
    paintBackdrop(image);

    // Seen from above and behind, so the slot and the board lead the eye.
    const double azimuth = 195, elevation = 50;
    const V3 target{kWidth * 0.5, kDepth * 0.6, 10};
    // Close enough that perspective enlarges the cartridge in the foreground.
    Camera cam(target, azimuth, elevation, 360);
    const Light light{normalized(fromAngles(azimuth - 45, 58))};

    const Cartridge cart = placeCartridge();
    const V3 boardFar = cart.at(0, 4), boardFarRight = cart.at(kBoardGrid - 3, 4);
    cam.fitInto({{0, 0, 0},
                 {kWidth, 0, 0},
                 {0, kDepth, 0},
                 {kWidth, kDepth, 0},
                 {0, 0, kFrontHeight},
                 {kWidth, 0, kFrontHeight},
                 {0, kDepth, kBackHeight},
                 {kWidth, kDepth, kBackHeight},
                 boardFar,
                 boardFarRight},
                QRectF(34, 30, kAboutWidth - 68, kAboutHeight - 60));

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    // Shadows fall straight down with a slight lean away from the light.
    const V3 lean{-light.dir.x / light.dir.z, -light.dir.y / light.dir.z, 0};
    auto onDesk = [&](V3 v) { return cam.map(V3{v.x, v.y, 0} + lean * (v.z * 0.6)); };
    QPolygonF caseShadow, boardShadow;
    for (V3 v : {V3{-4, -4, 0}, V3{kWidth + 4, -4, 0}, V3{kWidth + 4, kDepth + 4, 0},
                 V3{-4, kDepth + 4, 0}})
        caseShadow << cam.map(v);
    QPolygonF castCase{onDesk({0, 0, kFrontHeight}), onDesk({kWidth, 0, kFrontHeight}),
                       onDesk({kWidth, kDepth, kBackHeight}), onDesk({0, kDepth, kBackHeight})};
    for (QPointF g : {QPointF(2, 4), QPointF(45, 4), QPointF(45, 36), QPointF(2, 36)})
        boardShadow << onDesk(cart.at(g.x(), g.y()));
    p.drawImage(0, 0, blurredShadow(image.size(), 14, 0.55, {caseShadow, castCase, boardShadow}));
    p.drawImage(0, 0, blurredShadow(image.size(), 3, 0.6, {caseShadow}));

    const bool cartridgeInFront =
        cam.depth(cart.at(24, 20)) < cam.depth({kWidth / 2, kDepth / 2, 10});
    if (!cartridgeInFront)
        paintCartridge(p, cam, light);

    // The case is convex, so culling back faces is enough to order it.
    const V3 b00{0, 0, 0}, b10{kWidth, 0, 0}, b11{kWidth, kDepth, 0}, b01{0, kDepth, 0};
    const V3 t00{0, 0, kFrontHeight}, t10{kWidth, 0, kFrontHeight},
        t11{kWidth, kDepth, kBackHeight}, t01{0, kDepth, kBackHeight};
    const V3 topNormal = normalized(cross(t10 - t00, t01 - t00));
    const QPen rim(QColor(0x55, 0x58, 0x60), 1.1);
    auto flat = [&](std::initializer_list<V3> pts, V3 normal) {
        if (!cam.faces(*pts.begin(), normal))
            return;
        p.resetTransform();
        p.setPen(Qt::NoPen);
        p.setBrush(light.shade(kCase, normal));
        p.drawPolygon(cam.polygon(pts));
    };
    flat({b00, b10, t10, t00}, {0, -1, 0});
    flat({b10, b11, t11, t10}, {1, 0, 0});
    flat({b01, b00, t00, t01}, {-1, 0, 0});
    if (cam.faces(b11, {0, 1, 0})) {
        flat({b11, b01, t01, t11}, {0, 1, 0});
        p.setTransform(cam.onto({t11, t01, b01, b11}, QRectF(0, 0, kWidth, kBackHeight)));
        paintBack(p, cart.at(8, 0).x, cart.at(39, 0).x);
        p.resetTransform();
    }
    if (cam.faces(t00, topNormal)) {
        p.setTransform(cam.onto({t01, t11, t10, t00}, QRectF(0, 0, kWidth, kTopLength)));
        paintTop(p);
        p.resetTransform();
        p.setPen(rim);
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(cam.polygon({t00, t10, t11, t01}));
    }

    if (cartridgeInFront)
        paintCartridge(p, cam, light);
    p.end();
    return image;
}

} // namespace art
