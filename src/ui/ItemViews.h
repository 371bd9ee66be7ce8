// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>
#include <QPersistentModelIndex>
#include <QStringList>
#include <QTableView>
#include <QTreeView>

class QMimeData;

namespace tessel {

// The local files a drag carries, in the order it gives them.
QStringList droppedFiles(const QMimeData* data);

// The file list: reports every double click, on an entry or not, after the
// list has moved its selection. Enter does the same from the keyboard.
class FileListView final : public QListView
{
    Q_OBJECT

public:
    using QListView::QListView;

signals:
    void dblClick();
    // Snapshot files dropped from elsewhere; the view needs acceptDrops.
    void filesDropped(const QStringList& paths);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// The list grid: reports double clicks, and the Delete key with any
// modifiers; Alt+Up and Alt+Down belong to the window's moves, and every
// other key keeps its usual meaning. An entry dragged to
// another place between entries is reported with rowDropped(); a line
// shows where it would go.
class GridView final : public QTableView
{
    Q_OBJECT

public:
    using QTableView::QTableView;

    // Where a drop at the point would put a dragged entry: before that row
    // of the model; past the entries, after the last one. -1 while no
    // entry is dragged over the grid.
    int dropRow(const QPoint& at) const;

signals:
    void dblClick();
    void deletePressed();
    void filesDropped(const QStringList& paths);
    // The drag's data, for the model, and the row it goes before.
    void rowDropped(const QMimeData* data, int row);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // True for a drag of an entry this grid's model takes.
    bool acceptRow(QDropEvent* event);
    void showDropRow(int row);
    int entryCount() const;

    int m_dropRow = -1;
};

// The folder list. Its one current and selected row is the folder the
// browser lists, whatever the model's rows do: clicks and keys only ask for
// a folder, and the row shown changes through showFolder() alone. Rows made
// or removed nearby, or a click whose rows scroll under the pointer, would
// otherwise leave the highlight on another folder.
class FolderTreeView final : public QTreeView
{
    Q_OBJECT

public:
    using QTreeView::QTreeView;

    // The folder listed (none for an invalid index: a drive's root has no
    // row), expanded, and scrolled into view unless the user is at work in
    // the list, where rows must stay under the pointer.
    void showFolder(const QModelIndex& folder);

signals:
    // The user moved to another folder with the mouse or the keys.
    void folderChosen(const QModelIndex& folder);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    template <typename Handler> void byUser(const Handler& handler);
    void restore();

    QPersistentModelIndex m_shown;
    int m_userInput = 0;
    bool m_showing = false;
};

} // namespace tessel
