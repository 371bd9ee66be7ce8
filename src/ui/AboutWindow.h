// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tessel {

// About: title and version, credits, and a picture of the cartridge. Its OK
// button unloads it; the next About builds it afresh.
class AboutWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent = nullptr);

private:
    QLabel* addLabel(const QString& name, const QString& text, const QRect& geometry);
};

} // namespace tessel
