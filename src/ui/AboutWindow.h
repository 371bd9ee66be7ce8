#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tessel {

// About: title and version, credits, and a picture of the cartridge. Its OK
// button unloads it; the next About builds it afresh.
class frmAcerca final : public QWidget
{
    Q_OBJECT

public:
    explicit frmAcerca(QWidget* parent = nullptr);

public slots:
    void cmdSalir_Click();

private:
    QLabel* addLabel(const QString& name, const QString& text, const QRect& geometry);
};

} // namespace tessel
