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
// modifiers; every other key keeps its usual meaning.
class GridView final : public QTableView
{
    Q_OBJECT

public:
    using QTableView::QTableView;

signals:
    void dblClick();
    void deletePressed();
    void filesDropped(const QStringList& paths);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

} // namespace tessel
