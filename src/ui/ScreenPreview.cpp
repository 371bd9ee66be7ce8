// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ScreenPreview.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace tessel {

namespace {

constexpr int kPreviewScale = 2;
// Between the area the preview is shown for and the preview.
constexpr int kGap = 8;

} // namespace

ScreenView::ScreenView(int scale, QWidget* parent)
    : QWidget(parent)
    , m_scale(scale)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_flash.setInterval(kFlashMilliseconds);
    connect(&m_flash, &QTimer::timeout, this, [this] {
        m_phase = 1 - m_phase;
        update();
    });
}

void ScreenView::setScreen(const std::optional<LoadingScreen>& screen)
{
    m_frames = {};
    m_phase = 0;
    if (screen) {
        m_frames[0] = QPixmap::fromImage(screen->image);
        if (screen->flashes())
            m_frames[1] = QPixmap::fromImage(screen->flashed);
        m_border = QColor::fromRgb(screen->border);
    }
    updateTimer();
    update();
}

void ScreenView::setScale(int scale)
{
    if (scale == m_scale)
        return;
    m_scale = scale;
    updateGeometry();
    update();
}

QSize ScreenView::sizeHint() const
{
    return QSize(kScreenWidth + 2 * kBorder, kScreenHeight + 2 * kBorder) * m_scale;
}

void ScreenView::paintEvent(QPaintEvent*)
{
    if (!hasScreen())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), m_border);
    const QPixmap& frame = m_frames[m_phase].isNull() ? m_frames[0] : m_frames[m_phase];
    const QRect picture(QPoint(kBorder, kBorder) * m_scale,
                        QSize(kScreenWidth, kScreenHeight) * m_scale);
    // Whole-number scaling without smoothing keeps every pixel square and sharp.
    painter.drawPixmap(picture, frame);
}

void ScreenView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateTimer();
}

void ScreenView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    updateTimer();
}

void ScreenView::updateTimer()
{
    if (isVisible() && !m_frames[1].isNull()) {
        if (!m_flash.isActive())
            m_flash.start();
    } else {
        m_flash.stop();
        m_phase = 0;
    }
}

ScreenPreview::ScreenPreview(QWidget* parent)
    : QFrame(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                         | Qt::WindowTransparentForInput)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);

    m_view = new ScreenView(kPreviewScale, this);
    m_name = new QLabel(this);
    m_name->setTextFormat(Qt::PlainText);
    m_name->setAlignment(Qt::AlignHCenter);
    m_name->setForegroundRole(QPalette::ToolTipText);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_view, 0, Qt::AlignHCenter);
    layout->addWidget(m_name);
}

void ScreenPreview::showBeside(const LoadingScreen& screen, const QString& fileName,
                               const QRect& area)
{
    m_fileName = fileName;
    const QString accessible = tr("%1 loading screen").arg(fileName);
    setAccessibleName(accessible);
    m_view->setAccessibleName(accessible);
    m_view->setScreen(screen);

    QScreen* display = QGuiApplication::screenAt(area.center());
    if (!display)
        display = QGuiApplication::primaryScreen();
    const QRect room = display->availableGeometry();

    // Twice the size where that fits beside the area, else once: right of
    // it, else left, below, above; edges level with it, moved along to stay
    // on the screen.
    QPoint at;
    for (const int scale : {kPreviewScale, 1}) {
        m_view->setScale(scale);
        const int nameWidth = m_view->sizeHint().width();
        m_name->setText(m_name->fontMetrics().elidedText(fileName, Qt::ElideMiddle, nameWidth));
        m_name->setFixedWidth(nameWidth);
        adjustSize();
        const QSize size = sizeHint().boundedTo(room.size());
        const auto onScreen = [&](QPoint place) {
            place.setX(std::clamp(place.x(), room.left(), room.right() + 1 - size.width()));
            place.setY(std::clamp(place.y(), room.top(), room.bottom() + 1 - size.height()));
            return place;
        };
        const QPoint places[] = {
            {area.right() + 1 + kGap, area.top()},
            {area.left() - kGap - size.width(), area.top()},
            {area.left(), area.bottom() + 1 + kGap},
            {area.left(), area.top() - kGap - size.height()},
        };
        at = onScreen(places[0]);
        const auto clear = std::find_if(std::begin(places), std::end(places), [&](QPoint place) {
            return !QRect(onScreen(place), size).intersects(area);
        });
        if (clear != std::end(places)) {
            at = onScreen(*clear);
            break;
        }
    }
    move(at);
    show();
}

} // namespace tessel
