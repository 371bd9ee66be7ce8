// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HoverPreview.h"

#include "screens/ScreenCache.h"
#include "ui/ScreenPreview.h"

#include <QAbstractItemView>
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
    for (QScrollBar* bar : {m_view.verticalScrollBar(), m_view.horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &HoverPreview::follow);
    // So does a row added, removed or changed: a deleted file's picture goes.
    if (QAbstractItemModel* model = m_view.model()) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &HoverPreview::scheduleFollow);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &HoverPreview::scheduleFollow);
        connect(model, &QAbstractItemModel::rowsMoved, this, &HoverPreview::scheduleFollow);
        connect(model, &QAbstractItemModel::modelReset, this, &HoverPreview::scheduleFollow);
        connect(model, &QAbstractItemModel::layoutChanged, this, &HoverPreview::scheduleFollow);
        connect(model, &QAbstractItemModel::dataChanged, this, &HoverPreview::scheduleFollow);
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
            showFor(m_view.currentIndex(), Source::Keyboard);
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
                    showFor(now, Source::Keyboard);
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

void HoverPreview::pointAt(const QPoint& viewportPosition, bool rowsChanged)
{
    const QModelIndex index = m_view.indexAt(viewportPosition);
    // The same row may stand for another file once the rows have changed.
    if (index == m_index && m_source == Source::Pointer
        && (!rowsChanged || m_pathFor(index) == m_path))
        return;
    showFor(index, Source::Pointer);
}

void HoverPreview::showFor(const QModelIndex& index, Source source)
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
    // The whole view, and the pointer where it points, stay in sight.
    QRect avoid(m_view.mapToGlobal(QPoint(0, 0)), m_view.size());
    if (m_source == Source::Pointer && m_lastPointer)
        avoid |= QRect(*m_lastPointer - QPoint(kPointerReach, kPointerReach),
                       QSize(2 * kPointerReach, 2 * kPointerReach));
    QList<QRect> others;
    for (const QWidget* other : std::as_const(m_others)) {
        if (other && other->isVisible())
            others.append(QRect(other->mapToGlobal(QPoint(0, 0)), other->size()));
    }
    m_preview->showBeside(*screen, QFileInfo(m_path).fileName(), avoid, others,
                          m_view.window()->frameGeometry());
}

void HoverPreview::alsoAvoid(QWidget& other)
{
    m_others.append(&other);
}

void HoverPreview::dismiss()
{
    m_source = Source::None;
    m_index = QPersistentModelIndex();
    m_path.clear();
    if (m_preview)
        m_preview->hide();
}

void HoverPreview::scheduleFollow()
{
    // After the view has taken the change in, and once for a burst of them.
    if (m_source == Source::None || m_followPending)
        return;
    m_followPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_followPending = false;
            follow();
        },
        Qt::QueuedConnection);
}

void HoverPreview::follow()
{
    switch (m_source) {
    case Source::None:
        return;
    case Source::Pointer:
        if (!m_lastPointer) {
            dismiss();
            return;
        }
        pointAt(m_viewport->mapFromGlobal(*m_lastPointer), true);
        return;
    case Source::Keyboard: {
        const QModelIndex current = m_view.currentIndex();
        if (!m_view.visualRect(current).intersects(m_viewport->rect())) {
            dismiss();
            return;
        }
        if (current != m_index || m_pathFor(current) != m_path)
            showFor(current, Source::Keyboard);
        return;
    }
    }
}

} // namespace tessel
