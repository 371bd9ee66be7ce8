// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ItemViews.h"

#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

namespace tessel {

QStringList droppedFiles(const QMimeData* data)
{
    QStringList files;
    if (!data)
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files << QDir::toNativeSeparators(url.toLocalFile());
    }
    return files;
}

namespace {

// Files are taken as a copy; the views' own models take no drops.
bool acceptFiles(QDropEvent* event)
{
    if (droppedFiles(event->mimeData()).isEmpty()) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

} // namespace

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

void FileListView::dragEnterEvent(QDragEnterEvent* event)
{
    acceptFiles(event);
}

void FileListView::dragMoveEvent(QDragMoveEvent* event)
{
    acceptFiles(event);
}

void FileListView::dropEvent(QDropEvent* event)
{
    if (acceptFiles(event))
        emit filesDropped(droppedFiles(event->mimeData()));
}

// Focus alone picks no row: until the user moves to one, no entry is current
// and Delete or Test SNA have nothing to act on.
void GridView::focusInEvent(QFocusEvent* event)
{
    const bool hadCurrent = currentIndex().isValid();
    QTableView::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid())
        selectionModel()->clearCurrentIndex();
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit dblClick();
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        emit deletePressed();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::dragEnterEvent(QDragEnterEvent* event)
{
    acceptFiles(event);
}

void GridView::dragMoveEvent(QDragMoveEvent* event)
{
    acceptFiles(event);
}

void GridView::dropEvent(QDropEvent* event)
{
    if (acceptFiles(event))
        emit filesDropped(droppedFiles(event->mimeData()));
}

} // namespace tessel
