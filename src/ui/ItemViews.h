// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>
#include <QStringList>
#include <QTableView>

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

} // namespace tessel
