#pragma once

#include <QMainWindow>

namespace tessel {

class frmPrincipal : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmPrincipal(QWidget* parent = nullptr);
};

} // namespace tessel
