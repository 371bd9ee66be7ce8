// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutWindow.h"

#include "ui/Art.h"
#include "ui/Links.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace tessel {

AboutWindow::AboutWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmAcerca"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("About de Tessel Zizerev"));
    setWindowIcon(boardIcon());
    setFixedSize(twips(9870), twips(4740));
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    grey.setColor(QPalette::WindowText, Qt::black);
    setPalette(grey);

    QLabel* title = addLabel(QStringLiteral("Label1"), QStringLiteral("TESSEL-Zizerev V 1.0"),
                             twipsRect(240, 240, 4140, 435));
    QFont titleFont(QStringLiteral("MS Sans Serif"));
    titleFont.setStyleHint(QFont::SansSerif);
    titleFont.setPointSize(18);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->adjustSize();
    QPalette blue = title->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    title->setPalette(blue);

    addLabel(QStringLiteral("Label2"), tr("Hardware and Spectrum software: the Tessel team"),
             twipsRect(120, 960, 4185, 195));
    addLabel(QStringLiteral("Label3"), tr("This program: the Tessel Zizerev team (GPL 3+)"),
             twipsRect(120, 1320, 3090, 195));
    addLabel(QStringLiteral("Label4"), tr("The Tessel team: %1").arg(kMakersSite),
             twipsRect(120, 1680, 4395, 195));
    QLabel* thanks = addLabel(QStringLiteral("Label5"), tr("Agradecimientos/Thanks to:"),
                              twipsRect(240, 2640, 2010, 195));
    QPalette green = thanks->palette();
    green.setColor(QPalette::WindowText, QColor(0, 64, 0));
    thanks->setPalette(green);
    addLabel(QStringLiteral("Label6"), tr("The authors of Aspectrum and of libspectrum"),
             twipsRect(240, 3000, 3465, 195));
    addLabel(QStringLiteral("Label7"), kEmulatorSite, twipsRect(240, 3240, 2430, 195));
    // Tapes load on their Z80 core (GPL 2+) and, without Sinclair's, their ROM.
    addLabel(QStringLiteral("Label8"), tr("The authors of libz80ex and of OpenSE BASIC"),
             twipsRect(240, 3480, 3465, 195));

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("cmdSalir"));
    ok->setAccessibleName(tr("OK"));
    ok->setGeometry(twipsRect(1920, 3840, 1215, 495));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &AboutWindow::close);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image2"));
    picture->setAccessibleName(tr("The Tessel cartridge plugged into a ZX Spectrum"));
    picture->setGeometry(twipsRect(5040, 600, 4275, 3225));
    picture->setPixmap(aboutPicture());
    picture->setScaledContents(true);

    if (const QScreen* display = screen())
        move(display->availableGeometry().center() - rect().center());
}

QLabel* AboutWindow::addLabel(const QString& name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAccessibleName(text);
    // The designed boxes are tight; a wider default font must not cut the text.
    label->adjustSize();
    label->move(geometry.topLeft());
    return label;
}

} // namespace tessel
