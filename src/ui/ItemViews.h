#pragma once

#include <QListView>
#include <QTableView>

namespace tessel {

// The file list: reports every double click, on an entry or not, after the
// list has moved its selection. Enter does the same from the keyboard.
class FileListView final : public QListView
{
    Q_OBJECT

public:
    using QListView::QListView;

signals:
    void dblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
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

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tessel
