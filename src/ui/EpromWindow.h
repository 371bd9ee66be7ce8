#pragma once

#include <QWidget>

namespace tessel {

// The burn-progress window, for burning the image into the cartridge. No
// command opens it yet; its Cancel button closes it.
class frmEprom final : public QWidget
{
    Q_OBJECT

public:
    explicit frmEprom(QWidget* parent = nullptr);

public slots:
    void cmdCancelar_Click();
};

} // namespace tessel
