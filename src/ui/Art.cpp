#include "ui/Art.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>

#include <array>

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

// The board icon, reading only the file a size asks for when it is first
// asked for. Built from all three files at once, the icon cost start-up
// more than the rest of the window: every file was decoded at once, and
// the button needs only the smallest. Each size is drawn from the file Qt
// itself would pick (the smallest at least as large, else the largest), so
// every pixmap is the one an icon of all three files gives.
class BoardIconEngine final : public QIconEngine
{
public:
    static constexpr std::array<int, 3> kSides{48, 96, 256};

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
            loadArt();
            m_files[i].addFile(QStringLiteral(":/art/board-%1.png").arg(kSides[i]));
        }
        return m_files[i];
    }

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

} // namespace tessel
