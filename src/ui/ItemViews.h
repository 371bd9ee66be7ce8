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

// The list grid: reports double clicks and every key pressed, with the key
// codes of the program's home platform (Delete is 46).
class GridView final : public QTableView
{
    Q_OBJECT

public:
    static constexpr int kDeleteKeyCode = 46;

    using QTableView::QTableView;

signals:
    void dblClick();
    void keyDown(int keyCode, Qt::KeyboardModifiers shift);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tessel
