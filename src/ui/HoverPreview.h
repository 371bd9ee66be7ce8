// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QModelIndex>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QRect>

#include <functional>
#include <optional>

class QAbstractItemView;

namespace tessel {

class ScreenCache;
class ScreenPreview;

// Makes an item view show the loading screen of the item under the pointer,
// or of the current item while the keyboard moves through the view, in a
// pop-up that never covers the view (see placePreview()). When the rows
// change, the pop-up follows: it shows what is now under the pointer, or
// goes. Leaving the view, or the focus leaving it, takes the pop-up away.
// The view's own behaviour is left as it is.
class HoverPreview final : public QObject
{
    Q_OBJECT

public:
    // The snapshot file an item stands for; empty for none.
    using PathFor = std::function<QString(const QModelIndex&)>;

    HoverPreview(QAbstractItemView& view, ScreenCache& cache, PathFor pathFor);
    ~HoverPreview() override;

    ScreenPreview* preview() const { return m_preview; }
    // The file whose screen is shown or on its way; empty for none.
    QString path() const { return m_path; }
    // Takes the pop-up away until the pointer or the keyboard moves on: for
    // when the view's items change under a resting pointer.
    void dismiss();
    // Another widget of the window the pop-up must not cover either.
    void alsoAvoid(QWidget& other);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Source { None, Pointer, Keyboard };

    void pointAt(const QPoint& viewportPosition, bool rowsChanged = false);
    void showFor(const QModelIndex& index, Source source);
    void showCached();
    // The rows changed or scrolled: the item under the pointer, or the
    // current one, may be another now.
    void follow();
    void scheduleFollow();

    QAbstractItemView& m_view;
    // Kept apart from the view: events still come while the view is being
    // destroyed, when it is no longer an item view to ask for it.
    QWidget* m_viewport = nullptr;
    ScreenCache& m_cache;
    PathFor m_pathFor;
    QPointer<ScreenPreview> m_preview;
    QList<QPointer<QWidget>> m_others;
    Source m_source = Source::None;
    QPersistentModelIndex m_index;
    QString m_path;
    std::optional<QPoint> m_lastPointer; // global; none while outside the view
    bool m_followPending = false;
};

} // namespace tessel
