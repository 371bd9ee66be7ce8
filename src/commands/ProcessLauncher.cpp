// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ProcessLauncher.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace tessel {

namespace {

bool start(QProcess& process, const QString& program, const QStringList& arguments, QString* error)
{
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString();
    return false;
}

} // namespace

QString startFailureReason(const QString& program, const QString& error)
{
    const QFileInfo file(program);
    if (file.isAbsolute()) {
        if (!file.exists())
            return QCoreApplication::translate("ProcessLauncher", "The file does not exist.");
        if (!file.isFile())
            return QCoreApplication::translate("ProcessLauncher",
                                               "The file is a folder, not a program.");
        if (!file.isExecutable())
            return QCoreApplication::translate("ProcessLauncher",
                                               "The file is not marked as executable.");
    } else if (QStandardPaths::findExecutable(program).isEmpty()) {
        return QCoreApplication::translate(
            "ProcessLauncher", "The program is not installed, or not on the search path.");
    }
    return error.isEmpty() ? QCoreApplication::translate("ProcessLauncher", "Unknown.") : error;
}

bool SystemProcessLauncher::startDetached(const QString& program, const QStringList& arguments,
                                          QString* error)
{
    QProcess process;
    return start(process, program, arguments, error);
}

bool SystemProcessLauncher::startInBackground(const QString& program, const QStringList& arguments,
                                              QString* error)
{
    QProcess process;
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = static_cast<WORD>(SW_SHOWMINNOACTIVE);
    });
#else
    // X11 and Wayland have no minimized, unfocused start. Without an
    // activation token of ours, a window manager that prevents focus
    // stealing keeps our window active.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DESKTOP_STARTUP_ID"));
    environment.remove(QStringLiteral("XDG_ACTIVATION_TOKEN"));
    process.setProcessEnvironment(environment);
#endif
    return start(process, program, arguments, error);
}

} // namespace tessel
