// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ItemViews.h"

#include <QDir>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScopedValueRollback>
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
    // The keys of Move Up and Move Down: where there is nothing to move,
    // they do nothing, rather than move the current row.
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        && event->modifiers().testFlag(Qt::AltModifier)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

int GridView::entryCount() const
{
    int count = 0;
    while (count < model()->rowCount()
           && model()->flags(model()->index(count, 0)).testFlag(Qt::ItemIsDragEnabled))
        ++count;
    return count;
}

int GridView::dropRow(const QPoint& at) const
{
    const int entries = entryCount();
    const int row = rowAt(at.y());
    if (row < 0 || row >= entries)
        return entries;
    // The upper half of a row puts the entry before it, the lower half after.
    return at.y() < rowViewportPosition(row) + rowHeight(row) / 2 ? row : row + 1;
}

// Only the entry itself is dragged, whatever else the row selection holds,
// and the drag never removes anything when it ends: the drop moves it.
void GridView::startDrag(Qt::DropActions)
{
    const QModelIndex current = currentIndex();
    if (!model()->flags(current).testFlag(Qt::ItemIsDragEnabled))
        return;
    QMimeData* data = model()->mimeData({current});
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const QRect row(0, rowViewportPosition(current.row()), viewport()->width(),
                    rowHeight(current.row()));
    drag->setPixmap(viewport()->grab(row));
    // The row's picture hangs on the pointer by its middle.
    drag->setHotSpot(QPoint(viewport()->mapFromGlobal(QCursor::pos()).x(), row.height() / 2));
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

bool GridView::acceptRow(QDropEvent* event)
{
    const int row = dropRow(event->position().toPoint());
    if (!model()->canDropMimeData(event->mimeData(), Qt::MoveAction, row, 0, {})) {
        showDropRow(-1);
        return false;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    showDropRow(row);
    return true;
}

void GridView::showDropRow(int row)
{
    if (row != m_dropRow) {
        m_dropRow = row;
        viewport()->update();
    }
}

void GridView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!acceptRow(event))
        acceptFiles(event);
}

void GridView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!acceptRow(event))
        acceptFiles(event);
}

void GridView::dragLeaveEvent(QDragLeaveEvent* event)
{
    showDropRow(-1);
    QTableView::dragLeaveEvent(event);
}

void GridView::dropEvent(QDropEvent* event)
{
    if (acceptRow(event)) {
        const int row = m_dropRow;
        showDropRow(-1);
        emit rowDropped(event->mimeData(), row);
        return;
    }
    if (acceptFiles(event))
        emit filesDropped(droppedFiles(event->mimeData()));
}

void FolderTreeView::showFolder(const QModelIndex& folder)
{
    m_shown = folder;
    restore();
    if (!folder.isValid())
        return;
    expand(folder);
    if (m_userInput == 0)
        scrollTo(folder);
}

void FolderTreeView::restore()
{
    QItemSelectionModel* selection = selectionModel();
    if (!selection)
        return;
    const QModelIndex shown = m_shown;
    const bool right = selection->currentIndex() == shown
                       && (shown.isValid() ? selection->selectedIndexes() == QModelIndexList{shown}
                                           : !selection->hasSelection());
    if (right)
        return;
    const QScopedValueRollback<bool> showing(m_showing, true);
    if (shown.isValid())
        selection->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect);
    else
        selection->clear();
}

void FolderTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    if (m_showing || current == m_shown)
        return;
    if (m_userInput > 0) {
        if (current.isValid())
            emit folderChosen(current);
        return;
    }
    // Moved by the model (its row went) or by the focus: back to the folder
    // listed once the model is done.
    QMetaObject::invokeMethod(this, &FolderTreeView::restore, Qt::QueuedConnection);
}

// The view's own handling may move the current row or the selection (the
// rows may have scrolled under the pointer meanwhile): the folder listed
// is put back after it.
template <typename Handler> void FolderTreeView::byUser(const Handler& handler)
{
    ++m_userInput;
    handler();
    if (--m_userInput == 0)
        restore();
}

void FolderTreeView::mousePressEvent(QMouseEvent* event)
{
    byUser([&] { QTreeView::mousePressEvent(event); });
}

void FolderTreeView::mouseMoveEvent(QMouseEvent* event)
{
    byUser([&] { QTreeView::mouseMoveEvent(event); });
}

void FolderTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    byUser([&] { QTreeView::mouseReleaseEvent(event); });
}

void FolderTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    byUser([&] { QTreeView::mouseDoubleClickEvent(event); });
}

void FolderTreeView::keyPressEvent(QKeyEvent* event)
{
    byUser([&] { QTreeView::keyPressEvent(event); });
}

void GridView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (m_dropRow < 0)
        return;
    const int y = m_dropRow < model()->rowCount()
                      ? rowViewportPosition(m_dropRow)
                      : rowViewportPosition(m_dropRow - 1) + rowHeight(m_dropRow - 1);
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawLine(0, qMax(y, 1), viewport()->width(), qMax(y, 1));
}

} // namespace tessel
