// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Art.h"

#include "core/Background.h"

#include <QFuture>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <memory>

// The pictures live in a static library, where the linker would drop them
// unless they are asked for by name.
static void loadArt()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    Q_UNUSED(loaded)
}

namespace tessel {

namespace {

QString boardFile(int side)
{
    return QStringLiteral(":/art/board-%1.png").arg(side);
}

QFuture<QImage> decodeLater(const QString& file)
{
    return runInBackground<QImage>(
        [file](QPromise<QImage>& promise) { promise.addResult(QImageReader(file).read()); });
}

// The board icon. Built from its three files at once, it decoded them all
// on the window's thread before the window could show; the button needs
// only the smallest. Here the files are decoded on a worker from the
// moment the icon is made, and a size takes its file only when first drawn
// (a file not decoded by then is decoded there and then). Each size comes
// from the file Qt itself would pick of the three (the smallest at least
// as large, else the largest), so every pixmap is the one an icon of all
// three files gives.
class BoardIconEngine final : public QIconEngine
{
public:
    static constexpr std::array<int, 3> kSides{48, 96, 256};

    BoardIconEngine()
        : m_decoded(std::make_shared<std::array<QFuture<QImage>, 3>>())
    {
        loadArt();
        for (size_t i = 0; i < kSides.size(); ++i)
            (*m_decoded)[i] = decodeLater(boardFile(kSides[i]));
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPaintDevice* device = painter->device();
        const qreal ratio = device ? device->devicePixelRatio() : qApp->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return fileIcon(size).pixmap(size, 1.0, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        if (mode != QIcon::Normal || state != QIcon::Off)
            return fileIcon(size).actualSize(size, mode, state);
        const int side = kSides[pick(size)];
        QSize actual(side, side);
        if (actual.width() > size.width() || actual.height() > size.height())
            actual.scale(size, Qt::KeepAspectRatio);
        return actual;
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        if (mode != QIcon::Normal || state != QIcon::Off)
            return {};
        return {QSize(48, 48), QSize(96, 96), QSize(256, 256)};
    }

    QString key() const override { return QStringLiteral("tessel-board"); }
    QIconEngine* clone() const override { return new BoardIconEngine(*this); }
    bool isNull() override { return false; }

private:
    BoardIconEngine(const BoardIconEngine&) = default;

    static size_t pick(const QSize& size)
    {
        const qint64 wanted = qint64(size.width()) * size.height();
        for (size_t i = 0; i < kSides.size(); ++i) {
            if (qint64(kSides[i]) * kSides[i] >= wanted)
                return i;
        }
        return kSides.size() - 1;
    }

    QIcon& fileIcon(const QSize& size)
    {
        const size_t i = pick(size);
        if (m_files[i].isNull()) {
            const QFuture<QImage>& decoded = (*m_decoded)[i];
            // Never wait: the worker may be busy with other work.
            const QImage image = decoded.isFinished() && decoded.resultCount() > 0
                                     ? decoded.result()
                                     : QImageReader(boardFile(kSides[i])).read();
            m_files[i].addPixmap(QPixmap::fromImage(image));
        }
        return m_files[i];
    }

    std::shared_ptr<std::array<QFuture<QImage>, 3>> m_decoded;
    std::array<QIcon, 3> m_files;
};

} // namespace

QIcon boardIcon()
{
    return QIcon(new BoardIconEngine);
}

QPixmap aboutPicture()
{
    loadArt();
    return QPixmap(QStringLiteral(":/art/about.jpg"));
}

QIcon trainerMark()
{
    // Drawn, not a file: a few pixels in any size the row asks for.
    constexpr int kSide = 32;
    QPixmap heart(kSide, kSide);
    heart.fill(Qt::transparent);
    QPainter painter(&heart);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(16, 28);
    path.cubicTo(2, 18, 2, 6, 9, 5);
    path.cubicTo(13, 4, 16, 8, 16, 10);
    path.cubicTo(16, 8, 19, 4, 23, 5);
    path.cubicTo(30, 6, 30, 18, 16, 28);
    painter.setPen(QPen(QColor(0x80, 0, 0), 2));
    painter.setBrush(QColor(0xD0, 0x10, 0x10));
    painter.drawPath(path);
    painter.end();
    return QIcon(heart);
}

} // namespace tessel
