// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FontWarmUp.h"
#include "browser/Volumes.h"
#include "commands/ProcessLauncher.h"
#include "core/Kit.h"
#include "core/KitInstance.h"
#include "core/KitLocation.h"
#include "core/Language.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    tessel::FontWarmUp fonts;
    QApplication app(argc, argv);
    fonts.join();
    QApplication::setApplicationName(QStringLiteral("tessel-zizerev"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessel Zizerev"));
    QApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessel-zizerev"));
    tessel::installTranslations();

    tessel::QtPrompts prompts;
    QString error;
    const std::optional<tessel::KitLocation> location = tessel::locateKit(&error);
    if (!location) {
        prompts.message(error, tessel::kAppTitle, tessel::Icon::Critical, tessel::Buttons::Ok);
        return 1;
    }
    const tessel::Kit kit(location->programFolder, location->mode);
    tessel::KitInstance instance(kit.programFolder());
    // A later start gives way before the window reads anything of the kit.
    if (!instance.tryAcquire())
        return 0;
    tessel::SystemProcessLauncher launcher;
    tessel::SystemVolumes volumes;

    tessel::MainWindow window(kit, prompts, instance, launcher, volumes);
    prompts.setParentWidget(&window);
    prompts.setScreenCache(&window.screenCache());
    if (!window.startUp())
        return 0;
    window.show();
    return QApplication::exec();
}
