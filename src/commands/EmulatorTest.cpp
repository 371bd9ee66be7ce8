// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/EmulatorTest.h"

#include "commands/ProcessLauncher.h"
#include "commands/Prompts.h"
#include "commands/TapeLoading.h"
#include "core/DurableFile.h"
#include "core/Kit.h"
#include "machine/Source.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace tessel {

namespace {

void warn(Prompts& prompts, const QString& text)
{
    prompts.message(text, kAppTitle, Icon::Exclamation, Buttons::Ok);
}

} // namespace

QString emulatorProgram(const Kit& kit)
{
#ifdef Q_OS_WIN
    return kit.file(QStringLiteral("Aspectrum-0.1.8/aspectrum.exe"));
#else
    return kit.file(QStringLiteral("Aspectrum-0.1.8/aspectrum"));
#endif
}

std::optional<SnapshotRead> snapshotForTest(const SnapshotEntry& entry, const Kit& kit,
                                            QString* error)
{
    return readEntrySource(entry, &kit, error);
}

void EmulatorTest::run(const SnapshotEntry& entry, const Kit& kit, Prompts& prompts,
                       ProcessLauncher& launcher)
{
    const QString& snapshot = entry.path;
    if (snapshot.isEmpty()) {
        prompts.message(QCoreApplication::translate(
                            "EmulatorTest", "Choose a 'Snapshot' from the SNA selected list."),
                        kAppTitle, Icon::Information, Buttons::Ok);
        return;
    }
    // A tape is tested as the snapshot it loads to, loaded first where the
    // user can cancel it.
    if (!loadTapes({snapshot}, &kit, prompts))
        return;
    QString error;
    const std::optional<SnapshotRead> read = snapshotForTest(entry, kit, &error);
    if (!read) {
        warn(prompts,
             QCoreApplication::translate("EmulatorTest", "The snapshot cannot be tested.\r%1")
                 .arg(error));
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

    // The previous test's file goes with its folder.
    m_file.clear();
    m_folder = std::make_unique<QTemporaryDir>(
        QDir::temp().filePath(QStringLiteral("tessel-zizerev-test-XXXXXX")));
    QString base = QFileInfo(snapshot).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("snapshot");
    const QString file = m_folder->filePath(base + QStringLiteral(".sna"));
    QString why = m_folder->isValid() ? QString() : m_folder->errorString();
    if (!why.isEmpty() || !writeDurably(file, read->sna, {}, &why)) {
        warn(prompts, QCoreApplication::translate("EmulatorTest",
                                                  "The snapshot to test could not be written to "
                                                  "%1.\r%2")
                          .arg(QDir::toNativeSeparators(file), why));
        return;
    }
    m_file = file;

    const QString program = emulatorProgram(kit);
    if (launcher.startInBackground(program, {QStringLiteral("-snapshot"), file}, &error))
        return;
    warn(prompts, QCoreApplication::translate(
                      "EmulatorTest", "The emulator could not be started.\rProgram: %1\rReason: %2")
                      .arg(QDir::toNativeSeparators(program), startFailureReason(program, error)));
}

} // namespace tessel
