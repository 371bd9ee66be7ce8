// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

#include <functional>

class QAbstractItemView;

namespace tessel {

class ScreenCache;

// Marks the snapshots of other machines (a 128K) in a list, once the screen
// cache has read them: the name greyed, the machine after it, and a tooltip
// that says the cartridge cannot take it. Rows are read on the cache's
// worker as they come into sight, never on the window's thread.
class MachineMarks final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The snapshot file a row stands for; empty for none.
    using PathFor = std::function<QString(const QModelIndex&)>;

    MachineMarks(QAbstractItemView& view, ScreenCache& cache, PathFor pathFor);

    // What the row's tooltip says; empty for a row without a mark, or one
    // not read yet (which is asked for).
    QString note(const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    ScreenCache& m_cache;
    PathFor m_pathFor;
};

} // namespace tessel
