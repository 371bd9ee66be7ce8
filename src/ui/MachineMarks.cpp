// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MachineMarks.h"

#include "screens/ScreenCache.h"
#include "ui/ScreenPreview.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace tessel {

MachineMarks::MachineMarks(QAbstractItemView& view, ScreenCache& cache, PathFor pathFor)
    : QStyledItemDelegate(&view)
    , m_cache(cache)
    , m_pathFor(std::move(pathFor))
{
    view.setItemDelegate(this);
    QWidget* viewport = view.viewport();
    connect(&m_cache, &ScreenCache::ready, viewport, qOverload<>(&QWidget::update));
}

namespace {

std::optional<LoadingScreen> otherMachine(ScreenCache& cache, const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    // Asked once per file: a file read to be no snapshot is known too.
    if (!cache.isKnown(path)) {
        cache.request(path);
        return std::nullopt;
    }
    std::optional<LoadingScreen> screen = cache.cached(path);
    return screen && screen->otherMachine ? screen : std::nullopt;
}

} // namespace

QString MachineMarks::note(const QModelIndex& index) const
{
    const std::optional<LoadingScreen> screen = otherMachine(m_cache, m_pathFor(index));
    return screen ? otherMachineNote(*screen) : QString();
}

void MachineMarks::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const std::optional<LoadingScreen> screen = otherMachine(m_cache, m_pathFor(index));
    if (!screen)
        return;
    if (!screen->machine.isEmpty())
        option->text = tr("%1 (%2)").arg(option->text, screen->machine);
    option->palette.setColor(QPalette::Text,
                             option->palette.color(QPalette::Disabled, QPalette::Text));
}

bool MachineMarks::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                             const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip) {
        if (const QString text = note(index); !text.isEmpty()) {
            QToolTip::showText(event->globalPos(), text, view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

} // namespace tessel
