// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace tessel {

// Help: the kit's help text, read-only, in a fixed-pitch font so that its
// columns line up, with a Close button. It neither blocks nor closes with
// the main window.
class HelpWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(const QString& text, QWidget* parent = nullptr);

    QPlainTextEdit* textView() const { return m_text; }

private:
    QPlainTextEdit* m_text = nullptr;
};

} // namespace tessel
