// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/NameEditor.h"

#include "core/ZxCharset.h"

#include <QLabel>
#include <QScreen>
#include <QToolTip>

namespace tessel {

NameEditor::NameEditor(QWidget* parent)
    : QLineEdit(parent)
    // A window of its own, so that it may hang below the grid's cell.
    , m_hint(new QLabel(this, Qt::ToolTip))
{
    setObjectName(QStringLiteral("nameEditor"));
    setAccessibleName(tr("Menu name"));
    m_hint->setObjectName(QStringLiteral("nameHint"));
    m_hint->setTextFormat(Qt::PlainText);
    m_hint->setPalette(QToolTip::palette());
    m_hint->setFont(QToolTip::font());
    m_hint->setAutoFillBackground(true);
    m_hint->setFrameShape(QFrame::Box);
    m_hint->setMargin(2);
    connect(this, &QLineEdit::textChanged, this, &NameEditor::updateHint);
}

void NameEditor::showEvent(QShowEvent* event)
{
    QLineEdit::showEvent(event);
    updateHint();
}

void NameEditor::hideEvent(QHideEvent* event)
{
    m_hint->hide();
    QLineEdit::hideEvent(event);
}

void NameEditor::moveEvent(QMoveEvent* event)
{
    QLineEdit::moveEvent(event);
    updateHint();
}

void NameEditor::updateHint()
{
    const QString hint = charsetHint(text());
    m_hint->setText(hint);
    m_hint->setAccessibleName(hint);
    if (hint.isEmpty() || !isVisible()) {
        m_hint->hide();
        return;
    }
    m_hint->adjustSize();
    // Under the name, growing to the left, over the grid rather than past
    // the window's edge; never off the screen.
    QPoint at = mapToGlobal(QPoint(width() - m_hint->width(), height()));
    if (const QScreen* display = screen())
        at.setX(qMax(at.x(), display->availableGeometry().left()));
    m_hint->move(at);
    m_hint->show();
}

QWidget* NameDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex&) const
{
    return new NameEditor(parent);
}

void NameDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* line = static_cast<NameEditor*>(editor);
    line->setText(index.data().toString());
    line->selectAll();
}

void NameDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                const QModelIndex& index) const
{
    emit const_cast<NameDelegate*>(this)->renamed(index.row(),
                                                  static_cast<NameEditor*>(editor)->text());
}

} // namespace tessel
