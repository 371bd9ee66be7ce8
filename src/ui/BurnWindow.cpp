// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BurnWindow.h"

#include "ui/Twips.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace tessel {

BurnWindow::BurnWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmEprom"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Tessel Cart Burn"));
    setFixedSize(twips(3615), twips(1710));

    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancelar"));
    cancel->setAccessibleName(tr("Cancel"));
    cancel->setGeometry(twipsRect(1200, 1080, 1215, 495));
    connect(cancel, &QPushButton::clicked, this, &BurnWindow::close);

    auto* bar = new QProgressBar(this);
    bar->setObjectName(QStringLiteral("barEprom"));
    bar->setAccessibleName(tr("Burn progress"));
    bar->setGeometry(twipsRect(240, 480, 3135, 375));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);

    auto* caption = new QLabel(tr("Flash memory burn in progress"), this);
    caption->setObjectName(QStringLiteral("lblProgreso"));
    caption->setGeometry(twipsRect(840, 120, 2130, 195));
    // Its designed box is tight for wider system fonts: centred, it fits.
    caption->adjustSize();
    caption->move(std::max(0, (width() - caption->width()) / 2), twips(120));

    cancel->setFocus();
}

} // namespace tessel
