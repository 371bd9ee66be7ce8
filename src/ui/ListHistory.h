// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"

#include <QObject>
#include <QScopeGuard>
#include <QUndoStack>

#include <functional>

class QAction;

namespace tessel {

struct Session;

// What an undo step puts back: the entries, the current row and, when the
// step changed it, the compilation the list belongs to.
struct ListState
{
    SnapshotEntries entries;
    int currentRow = -1;
    QString compilation;
};

// The kinds of change, each with the Edit menu's texts for it.
enum class ListChange {
    Add,
    AddFolder,
    Drop,
    Delete,
    Rename,
    Move,
    MoveUp,
    MoveDown,
    Trainers,
    New,
    OpenCompilation,
    OpenImage
};

// The list's undo history. Every command that may change the list runs
// through edit(): the state before and after it becomes one step when the
// list changed, so the commands themselves know nothing of undo. Files the
// commands wrote stay as they are; only the list goes back. A change made
// outside edit() cannot be undone and would be lost by undoing past it, so
// it clears the history.
class ListHistory final : public QObject
{
    Q_OBJECT

public:
    // The window's current row, read and set.
    ListHistory(Session& session, std::function<int()> currentRow,
                std::function<void(int)> setCurrentRow, QObject* parent = nullptr);
    ~ListHistory() override;

    template <typename Run> void edit(ListChange change, Run&& run)
    {
        if (m_editing) {
            run(); // part of the change around it
            return;
        }
        const ListState before = state();
        {
            m_editing = true;
            const auto done = qScopeGuard([this] { m_editing = false; });
            run();
        }
        record(change, before);
    }

    QUndoStack& stack() { return m_stack; }
    // Edit > Undo and Redo, whose texts say what they would undo or redo.
    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }

private:
    friend class ListStep;
    ListState state() const;
    void record(ListChange change, const ListState& before);
    void restore(const ListState& state, bool compilationToo);
    void updateActions();
    void changedOutside();

    Session& m_session;
    std::function<int()> m_currentRow;
    std::function<void(int)> m_setCurrentRow;
    QUndoStack m_stack;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    bool m_editing = false;
};

} // namespace tessel
