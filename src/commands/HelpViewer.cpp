// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/HelpViewer.h"

#include "commands/ProcessLauncher.h"
#include "commands/Prompts.h"
#include "core/Kit.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace tessel {

QString helpViewerProgram()
{
#ifdef Q_OS_WIN
    return QStringLiteral("notepad.exe");
#else
    return QStringLiteral("xdg-open");
#endif
}

QString helpFile(const Kit& kit)
{
    return kit.file(QStringLiteral("help.txt"));
}

void openHelp(const Kit& kit, Prompts& prompts, ProcessLauncher& launcher)
{
    const QString viewer = helpViewerProgram();
    const QString file = helpFile(kit);
    QString error;
    if (launcher.startDetached(viewer, {QDir::toNativeSeparators(file)}, &error))
        return;
    prompts.message(
        QCoreApplication::translate(
            "HelpViewer", "The help could not be opened.\rViewer: %1\rReason: %2\rThe help "
                          "text is the file %3")
            .arg(viewer, startFailureReason(viewer, error), QDir::toNativeSeparators(file)),
        kAppTitle, Icon::Exclamation, Buttons::Ok);
}

} // namespace tessel
