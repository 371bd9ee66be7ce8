// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ListHistory.h"

#include "commands/Session.h"

#include <QAction>
#include <QUndoCommand>

namespace tessel {

namespace {

struct StepTexts
{
    QString undo;
    QString redo;
};

StepTexts textsOf(ListChange change)
{
    switch (change) {
    case ListChange::Add:
        return {ListHistory::tr("&Undo Add"), ListHistory::tr("&Redo Add")};
    case ListChange::AddFolder:
        return {ListHistory::tr("&Undo Add Folder"), ListHistory::tr("&Redo Add Folder")};
    case ListChange::Drop:
        return {ListHistory::tr("&Undo Drop"), ListHistory::tr("&Redo Drop")};
    case ListChange::Delete:
        return {ListHistory::tr("&Undo Delete"), ListHistory::tr("&Redo Delete")};
    case ListChange::Rename:
        return {ListHistory::tr("&Undo Rename"), ListHistory::tr("&Redo Rename")};
    case ListChange::Move:
        return {ListHistory::tr("&Undo Move"), ListHistory::tr("&Redo Move")};
    case ListChange::MoveUp:
        return {ListHistory::tr("&Undo Move Up"), ListHistory::tr("&Redo Move Up")};
    case ListChange::MoveDown:
        return {ListHistory::tr("&Undo Move Down"), ListHistory::tr("&Redo Move Down")};
    case ListChange::Trainers:
        return {ListHistory::tr("&Undo Trainers"), ListHistory::tr("&Redo Trainers")};
    case ListChange::New:
        return {ListHistory::tr("&Undo New"), ListHistory::tr("&Redo New")};
    case ListChange::OpenCompilation:
        return {ListHistory::tr("&Undo Open Compilation"),
                ListHistory::tr("&Redo Open Compilation")};
    case ListChange::OpenImage:
        return {ListHistory::tr("&Undo Open Flash Image"),
                ListHistory::tr("&Redo Open Flash Image")};
    }
    return {ListHistory::tr("&Undo"), ListHistory::tr("&Redo")};
}

} // namespace

// One change of the list, as the states before and after it.
class ListStep final : public QUndoCommand
{
public:
    ListStep(ListHistory& history, ListChange change, ListState before, ListState after)
        : m_history(history)
        , m_change(change)
        , m_before(std::move(before))
        , m_after(std::move(after))
    {
        setText(textsOf(change).undo);
    }

    ListChange change() const { return m_change; }

    void undo() override { m_history.restore(m_before, compilationChanged()); }
    void redo() override
    {
        // Pushed after the change was made: the first redo has nothing to do.
        if (m_done) {
            m_done = false;
            return;
        }
        m_history.restore(m_after, compilationChanged());
    }

private:
    bool compilationChanged() const { return m_before.compilation != m_after.compilation; }

    ListHistory& m_history;
    ListChange m_change;
    ListState m_before;
    ListState m_after;
    bool m_done = true;
};

ListHistory::ListHistory(Session& session, std::function<int()> currentRow,
                         std::function<void(int)> setCurrentRow, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_currentRow(std::move(currentRow))
    , m_setCurrentRow(std::move(setCurrentRow))
    , m_undo(new QAction(this))
    , m_redo(new QAction(this))
{
    m_undo->setObjectName(QStringLiteral("mnuUndo"));
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo->setObjectName(QStringLiteral("mnuRedo"));
    // Both of the usual keys, whatever the platform's own is.
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {m_undo, m_redo})
        action->setShortcutContext(Qt::WindowShortcut);
    connect(m_undo, &QAction::triggered, &m_stack, &QUndoStack::undo);
    connect(m_redo, &QAction::triggered, &m_stack, &QUndoStack::redo);
    connect(&m_stack, &QUndoStack::indexChanged, this, &ListHistory::updateActions);
    updateActions();

    const SnapshotList& list = session.list;
    connect(&list, &QAbstractItemModel::modelReset, this, &ListHistory::changedOutside);
    connect(&list, &QAbstractItemModel::rowsInserted, this, &ListHistory::changedOutside);
    connect(&list, &QAbstractItemModel::rowsRemoved, this, &ListHistory::changedOutside);
    connect(&list, &QAbstractItemModel::rowsMoved, this, &ListHistory::changedOutside);
    connect(&list, &QAbstractItemModel::dataChanged, this, &ListHistory::changedOutside);
}

ListHistory::~ListHistory()
{
    // The stack empties itself as it goes; the actions need not follow.
    m_stack.disconnect(this);
}

ListState ListHistory::state() const
{
    return {m_session.list.entries(), m_currentRow(), m_session.captures.compilation()};
}

void ListHistory::record(ListChange change, const ListState& before)
{
    ListState after = state();
    if (after.entries == before.entries)
        return;
    m_stack.push(new ListStep(*this, change, before, std::move(after)));
}

void ListHistory::restore(const ListState& state, bool compilationToo)
{
    m_editing = true;
    m_session.list.setEntries(state.entries);
    m_editing = false;
    if (compilationToo)
        m_session.captures.setCompilation(state.compilation);
    m_setCurrentRow(state.currentRow);
}

void ListHistory::changedOutside()
{
    if (!m_editing && m_stack.count() > 0)
        m_stack.clear();
}

void ListHistory::updateActions()
{
    const auto* undone = dynamic_cast<const ListStep*>(m_stack.command(m_stack.index() - 1));
    const auto* redone = dynamic_cast<const ListStep*>(m_stack.command(m_stack.index()));
    m_undo->setText(undone ? textsOf(undone->change()).undo : tr("&Undo"));
    m_redo->setText(redone ? textsOf(redone->change()).redo : tr("&Redo"));
    m_undo->setEnabled(undone);
    m_redo->setEnabled(redone);
}

} // namespace tessel
