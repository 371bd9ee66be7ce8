// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/HelpViewer.h"

#include "commands/ProcessLauncher.h"
#include "commands/Prompts.h"
#include "core/Kit.h"

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
        QStringList{QStringLiteral("The help could not be opened."),
                    QStringLiteral("Viewer: ") + viewer,
                    QStringLiteral("Reason: ") + startFailureReason(viewer, error),
                    QStringLiteral("The help text is the file ") + QDir::toNativeSeparators(file)}
            .join(QLatin1Char('\r')),
        kAppTitle, Icon::Exclamation, Buttons::Ok);
}

} // namespace tessel
