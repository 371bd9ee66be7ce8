// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HoverPreview.h"

#include "screens/ScreenCache.h"
#include "ui/ScreenPreview.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHoverEvent>
#include <QScrollBar>

namespace tessel {

namespace {

// The pointer's own area: the preview goes beside it, not under it.
constexpr int kPointerReach = 12;

} // namespace

HoverPreview::HoverPreview(QAbstractItemView& view, ScreenCache& cache, PathFor pathFor)
    : QObject(&view)
    , m_view(view)
    , m_cache(cache)
    , m_pathFor(std::move(pathFor))
    , m_preview(new ScreenPreview(&view))
{
    m_viewport = m_view.viewport();
    m_viewport->setAttribute(Qt::WA_Hover);
    m_viewport->installEventFilter(this);
    m_view.installEventFilter(this);

    connect(&m_cache, &ScreenCache::ready, this, [this](const QString& path) {
        if (path == m_path)
            showCached();
    });
    connect(&m_cache, &ScreenCache::unavailable, this, [this](const QString& path) {
        if (path == m_path && m_preview)
            m_preview->hide();
    });
    // Scrolling under a still pointer brings another item beneath it.
    for (QScrollBar* bar : {m_view.verticalScrollBar(), m_view.horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (m_source == Source::Pointer)
                pointAt(m_view.viewport()->mapFromGlobal(QCursor::pos()));
            else if (m_source == Source::Keyboard)
                followRow();
        });
    }
}

HoverPreview::~HoverPreview()
{
    delete m_preview;
}

bool HoverPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewport) {
        switch (event->type()) {
        case QEvent::HoverEnter:
        case QEvent::HoverMove: {
            // Windows appearing under a resting pointer send it again; only
            // a pointer that moved takes over from the keyboard.
            const QPoint position = static_cast<QHoverEvent*>(event)->position().toPoint();
            const QPoint global = m_viewport->mapToGlobal(position);
            if (global != m_lastPointer) {
                m_lastPointer = global;
                pointAt(position);
            }
            break;
        }
        case QEvent::HoverLeave:
        case QEvent::Leave:
            m_lastPointer.reset();
            if (m_source == Source::Pointer)
                dismiss();
            break;
        default:
            break;
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Only the keyboard moving onto the view: a click has the pointer there.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
            || reason == Qt::ShortcutFocusReason)
            showFor(m_view.currentIndex(), Source::Keyboard, rowArea(m_view.currentIndex()));
        break;
    }
    case QEvent::FocusOut:
        if (m_source == Source::Keyboard)
            dismiss();
        break;
    case QEvent::KeyPress: {
        // Arrow keys and the like move the current item after this filter.
        const QModelIndex before = m_view.currentIndex();
        QMetaObject::invokeMethod(
            this,
            [this, before = QPersistentModelIndex(before)] {
                const QModelIndex now = m_view.currentIndex();
                if (m_view.hasFocus() && now != before)
                    showFor(now, Source::Keyboard, rowArea(now));
            },
            Qt::QueuedConnection);
        break;
    }
    case QEvent::Hide:
    case QEvent::WindowDeactivate:
        dismiss();
        break;
    default:
        break;
    }
    return false;
}

void HoverPreview::pointAt(const QPoint& viewportPosition)
{
    const QModelIndex index = m_view.indexAt(viewportPosition);
    if (index == m_index && m_source == Source::Pointer)
        return;
    const QPoint global = m_view.viewport()->mapToGlobal(viewportPosition);
    const QRect pointer(global - QPoint(kPointerReach, kPointerReach),
                        QSize(2 * kPointerReach, 2 * kPointerReach));
    showFor(index, Source::Pointer, pointer);
}

void HoverPreview::showFor(const QModelIndex& index, Source source, const QRect& area)
{
    const QString path = index.isValid() ? m_pathFor(index) : QString();
    if (path.isEmpty()) {
        dismiss();
        m_source = source;
        m_index = index;
        return;
    }
    const bool samePicture = path == m_path && m_preview && m_preview->isVisible();
    m_source = source;
    m_index = index;
    m_path = path;
    m_area = area;
    if (!samePicture && m_preview)
        m_preview->hide(); // not a moment of the previous file's picture
    showCached();
    m_cache.request(path);
}

void HoverPreview::showCached()
{
    const std::optional<LoadingScreen> screen = m_cache.cached(m_path);
    if (!screen || !m_preview || m_source == Source::None)
        return;
    m_preview->showBeside(*screen, QFileInfo(m_path).fileName(), m_area);
}

void HoverPreview::dismiss()
{
    m_source = Source::None;
    m_index = QPersistentModelIndex();
    m_path.clear();
    if (m_preview)
        m_preview->hide();
}

void HoverPreview::followRow()
{
    if (!m_view.visualRect(m_index).intersects(m_view.viewport()->rect())) {
        dismiss();
        return;
    }
    m_area = rowArea(m_index);
    if (m_preview && m_preview->isVisible())
        showCached();
}

QRect HoverPreview::rowArea(const QModelIndex& index) const
{
    // The whole visible width of the row, so the preview clears the view.
    const QRect viewport = m_view.viewport()->rect();
    QRect row = m_view.visualRect(index);
    row.setLeft(viewport.left());
    row.setRight(viewport.right());
    return QRect(m_view.viewport()->mapToGlobal(row.topLeft()), row.size());
}

} // namespace tessel
