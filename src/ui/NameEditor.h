// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QStyledItemDelegate>

class QLabel;

namespace tessel {

// The name column's editor: the name, and under it, while the name holds
// characters the Spectrum shows differently, the naming box's hint.
class NameEditor final : public QLineEdit
{
    Q_OBJECT

public:
    explicit NameEditor(QWidget* parent = nullptr);

    // Shown only while there is something to say.
    QLabel* hintLabel() const { return m_hint; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void updateHint();

    QLabel* m_hint = nullptr;
};

// Edits an entry's name in place. What is typed goes to renamed(), never
// into the model, so that the window applies the menu-name rule and keeps
// the change for undo.
class NameDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

signals:
    void renamed(int row, const QString& name);
};

} // namespace tessel
