// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ScreenPreview.h"

#include <QCoreApplication>
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

std::optional<PreviewPlace> placePreview(QSize twice, QSize once, const QRect& list,
                                         const QList<QRect>& others, const QRect& window,
                                         const QRect& screen)
{
    const auto onScreen = [&](QPoint place, QSize size) {
        place.setX(std::clamp(place.x(), screen.left(), screen.right() + 1 - size.width()));
        place.setY(std::clamp(place.y(), screen.top(), screen.bottom() + 1 - size.height()));
        return place;
    };
    const auto fits = [&](QSize size) {
        return size.width() <= screen.width() && size.height() <= screen.height();
    };
    const auto clear = [&](const QRect& shown) {
        return !shown.intersects(list)
               && std::none_of(others.begin(), others.end(),
                               [&](const QRect& other) { return shown.intersects(other); });
    };

    // Beside the window, the side with more room first.
    const int rightRoom = screen.right() - window.right() - kGap;
    const int leftRoom = window.left() - screen.left() - kGap;
    for (const int scale : {kPreviewScale, 1}) {
        const QSize size = scale == 1 ? once : twice;
        if (!fits(size))
            continue;
        const QPoint right(window.right() + 1 + kGap, list.top());
        const QPoint left(window.left() - kGap - size.width(), list.top());
        const std::pair<int, QPoint> sides[] = {{rightRoom, right}, {leftRoom, left}};
        const bool leftFirst = leftRoom > rightRoom;
        for (int i = 0; i < 2; ++i) {
            const auto& [room, place] = sides[leftFirst ? 1 - i : i];
            const QPoint at = onScreen(place, size);
            if (room >= size.width() && clear(QRect(at, size)))
                return PreviewPlace{at, scale};
        }
    }

    // Once, beside the list: right, left, below, above. Where that would
    // cover the other lists it slides along the list's side, just past the
    // edge of whatever it met, to the clear place nearest where it began.
    if (!fits(once))
        return std::nullopt;
    QList<QRect> obstacles = others;
    obstacles.prepend(list);
    const auto slide = [&](QPoint start, Qt::Orientation along) -> std::optional<QPoint> {
        QList<QPoint> tries{start};
        for (const QRect& obstacle : obstacles) {
            if (along == Qt::Vertical) {
                tries.append({start.x(), obstacle.top() - kGap - once.height()});
                tries.append({start.x(), obstacle.bottom() + 1 + kGap});
            } else {
                tries.append({obstacle.left() - kGap - once.width(), start.y()});
                tries.append({obstacle.right() + 1 + kGap, start.y()});
            }
        }
        for (QPoint& place : tries)
            place = onScreen(place, once);
        std::stable_sort(tries.begin(), tries.end(), [&](QPoint a, QPoint b) {
            return (a - start).manhattanLength() < (b - start).manhattanLength();
        });
        for (const QPoint place : tries) {
            if (clear(QRect(place, once)))
                return place;
        }
        return std::nullopt;
    };
    const std::pair<QPoint, Qt::Orientation> sides[] = {
        {{list.right() + 1 + kGap, list.top()}, Qt::Vertical},
        {{list.left() - kGap - once.width(), list.top()}, Qt::Vertical},
        {{list.left(), list.bottom() + 1 + kGap}, Qt::Horizontal},
        {{list.left(), list.top() - kGap - once.height()}, Qt::Horizontal},
    };
    for (const auto& [start, along] : sides) {
        if (const std::optional<QPoint> at = slide(start, along))
            return PreviewPlace{*at, 1};
    }
    return std::nullopt;
}

QString otherMachineNote(const LoadingScreen& screen)
{
    if (!screen.otherMachine)
        return {};
    return screen.machine.isEmpty()
               ? QCoreApplication::translate(
                   "ScreenPreview", "Another machine's snapshot: cannot go on this cartridge.")
               : QCoreApplication::translate("ScreenPreview", "%1: cannot go on this cartridge.")
                     .arg(screen.machine);
}

void frameLikePreview(QFrame& frame)
{
    frame.setFrameStyle(QFrame::Box | QFrame::Plain);
    frame.setBackgroundRole(QPalette::ToolTipBase);
    frame.setForegroundRole(QPalette::ToolTipText);
    frame.setAutoFillBackground(true);
}

ScreenPreview::ScreenPreview(QWidget* parent)
    : QFrame(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                         | Qt::WindowTransparentForInput)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    frameLikePreview(*this);

    m_view = new ScreenView(kPreviewScale, this);
    m_name = new QLabel(this);
    m_name->setTextFormat(Qt::PlainText);
    m_name->setAlignment(Qt::AlignHCenter);
    m_name->setForegroundRole(QPalette::ToolTipText);
    m_note = new QLabel(this);
    m_note->setTextFormat(Qt::PlainText);
    m_note->setAlignment(Qt::AlignHCenter);
    m_note->setWordWrap(true);
    QFont bold = m_note->font();
    bold.setBold(true);
    m_note->setFont(bold);
    QPalette warning = m_note->palette();
    warning.setColor(QPalette::ToolTipText, QColor(170, 0, 0));
    m_note->setPalette(warning);
    m_note->setForegroundRole(QPalette::ToolTipText);
    m_note->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_view, 0, Qt::AlignHCenter);
    layout->addWidget(m_name);
    layout->addWidget(m_note);
}

void ScreenPreview::setScale(int scale)
{
    m_view->setScale(scale);
    const int width = m_view->sizeHint().width();
    m_name->setText(m_name->fontMetrics().elidedText(m_fileName, Qt::ElideMiddle, width));
    m_name->setFixedWidth(width);
    m_note->setFixedWidth(width);
    adjustSize();
}

void ScreenPreview::showBeside(const LoadingScreen& screen, const QString& fileName,
                               const QRect& list, const QList<QRect>& others, const QRect& window)
{
    m_fileName = fileName;
    const QString note = otherMachineNote(screen);
    const QString accessible = tr("%1 loading screen").arg(fileName);
    setAccessibleName(note.isEmpty() ? accessible : accessible + QLatin1Char(' ') + note);
    m_view->setAccessibleName(accessible);
    m_view->setScreen(screen);
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());

    QScreen* display = QGuiApplication::screenAt(list.center());
    if (!display)
        display = QGuiApplication::primaryScreen();
    setScale(kPreviewScale);
    const QSize twice = sizeHint();
    setScale(1);
    const QSize once = sizeHint();
    const std::optional<PreviewPlace> place =
        placePreview(twice, once, list, others, window, display->availableGeometry());
    if (!place) {
        hide();
        return;
    }
    if (place->scale != 1)
        setScale(place->scale);
    move(place->at);
    show();
}

} // namespace tessel
