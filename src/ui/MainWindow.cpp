#include "ui/MainWindow.h"

namespace tessel {

frmPrincipal::frmPrincipal(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Tessel Zizerev"));
}

} // namespace tessel
