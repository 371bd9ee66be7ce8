#include "ui/ItemViews.h"

#include <QKeyEvent>

namespace tessel {

void FileListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    emit dblClick();
}

void FileListView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit dblClick();
        return;
    }
    QListView::keyPressEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit dblClick();
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        emit keyDown(kDeleteKeyCode, event->modifiers());
        return;
    }
    emit keyDown(event->key(), event->modifiers());
    QTableView::keyPressEvent(event);
}

} // namespace tessel
