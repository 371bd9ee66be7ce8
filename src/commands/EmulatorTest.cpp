// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/EmulatorTest.h"

#include "commands/ProcessLauncher.h"
#include "commands/Prompts.h"
#include "commands/TapeLoading.h"
#include "core/Kit.h"
#include "machine/Source.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace tessel {

QString emulatorProgram(const Kit& kit)
{
#ifdef Q_OS_WIN
    return kit.file(QStringLiteral("Aspectrum-0.1.8/aspectrum.exe"));
#else
    return kit.file(QStringLiteral("Aspectrum-0.1.8/aspectrum"));
#endif
}

void testSnapshot(const QString& snapshot, const Kit& kit, Prompts& prompts,
                  ProcessLauncher& launcher)
{
    if (snapshot.isEmpty()) {
        prompts.message(QCoreApplication::translate(
                            "EmulatorTest", "Choose a 'Snapshot' from the SNA selected list."),
                        kAppTitle, Icon::Information, Buttons::Ok);
        return;
    }

    const QString question =
        QCoreApplication::translate(
            "EmulatorTest", "You are going to run the emulator Aspectrum to test the Snapshot:\r"
                            "%1\r To exit from the emulator press "
                            "F10.\rContinue?")
            .arg(snapshot);
    if (prompts.message(question, kAppTitle, Icon::None, Buttons::YesNo) != Answer::Yes)
        return;

    // A tape is started as the snapshot it loads to.
    if (!loadTapes({snapshot}, &kit, prompts))
        return;
    QString error;
    const std::optional<QString> file = emulatorFile(snapshot, &kit, &error);
    if (!file) {
        prompts.message(error, kAppTitle, Icon::Exclamation, Buttons::Ok);
        return;
    }

    const QString program = emulatorProgram(kit);
    if (launcher.startInBackground(program, {QStringLiteral("-snapshot"), *file}, &error))
        return;
    prompts.message(
        QCoreApplication::translate("EmulatorTest",
                                    "The emulator could not be started.\rProgram: %1\rReason: %2")
            .arg(QDir::toNativeSeparators(program), startFailureReason(program, error)),
        kAppTitle, Icon::Exclamation, Buttons::Ok);
}

} // namespace tessel
