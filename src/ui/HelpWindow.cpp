// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpWindow.h"

#include "ui/Art.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace tessel {

namespace {

// The help text is laid out for this many columns and reads well this tall.
constexpr int kColumns = 80;
constexpr int kLines = 40;

} // namespace

HelpWindow::HelpWindow(const QString& text, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Tessel Zizerev Help"));
    setWindowIcon(boardIcon());

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("txtHelp"));
    m_text->setAccessibleName(tr("Help text"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setPlainText(text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);

    // Wide enough for the text's lines, no larger than the screen.
    const QFontMetrics metrics(m_text->font());
    QSize wanted(metrics.horizontalAdvance(QLatin1Char('M')) * (kColumns + 4),
                 metrics.lineSpacing() * kLines);
    if (const QScreen* display = screen()) {
        const QRect room = display->availableGeometry();
        wanted = wanted.boundedTo(room.size() * 9 / 10);
        resize(wanted);
        move(room.center() - rect().center());
    } else {
        resize(wanted);
    }
    m_text->setFocus();
}

} // namespace tessel
