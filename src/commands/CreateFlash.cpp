// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/CreateFlash.h"

#include "commands/Firmware.h"
#include "commands/Prompts.h"
#include "commands/SaveQuestions.h"
#include "commands/TapeLoading.h"
#include "core/Cartridge.h"
#include "core/DurableFile.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "flash/FlashBuild.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tessel {

namespace {

QString saveTitle()
{
    return QCoreApplication::translate("CreateFlash", "Select a name for the Tessel file...");
}

const QString kExtension = QStringLiteral("rom");

void warn(Prompts& prompts, const QString& text)
{
    prompts.message(text, kAppTitle, Icon::Exclamation, Buttons::Ok);
}

enum class Choice { Save, Again, Cancelled };

// One round of the save dialog: a name, or a confirmed cancel, or again.
Choice choose(const FlashJob& job, Prompts& prompts, QString& target)
{
    SaveRequest request;
    request.title = saveTitle();
    request.initialFolder = QFileInfo(job.output).path();
    request.defaultExtension = kExtension;
    const std::optional<QString> chosen = prompts.saveFileName(request);
    if (!chosen) {
        const Answer sure =
            prompts.message(QCoreApplication::translate(
                                "CreateFlash", "Creation of Flash file cancelled. Are you sure? "),
                            kAppTitle, Icon::Exclamation, Buttons::YesNo);
        return sure == Answer::Yes ? Choice::Cancelled : Choice::Again;
    }
    target = withDefaultExtension(*chosen, kExtension);
    // Saving onto the working image itself needs no copy and no question.
    if (sameFile(target, job.output))
        return Choice::Save;
    QString refusal;
    if (!checkOutputFile(target, {job.inputs}, &refusal)) {
        warn(prompts, refusal + QLatin1Char('\r')
                          + QCoreApplication::translate("CreateFlash", "Choose another name."));
        return Choice::Again;
    }
    return mayReplaceFile(prompts, target, saveTitle()) ? Choice::Save : Choice::Again;
}

} // namespace

FlashOutcome createFlash(const SnapshotEntries& entries, const Kit& kit, Prompts& prompts,
                         QString* savedPath)
{
    if (const QString lacking = firmwareProblem(kit); !lacking.isEmpty()) {
        const Answer setUp = prompts.message(
            QCoreApplication::translate("CreateFlash",
                                        "The flash image was not created.\r%1\rDo you want to "
                                        "set up the firmware now?")
                .arg(lacking),
            kAppTitle, Icon::Exclamation, Buttons::YesNo);
        return setUp == Answer::Yes ? FlashOutcome::FirmwareWanted : FlashOutcome::NotSaved;
    }
    QStringList sources;
    for (const SnapshotEntry& entry : entries)
        sources << entry.path;
    // Tapes the cache lost are loaded again where the user can cancel them.
    if (!loadTapes(sources, &kit, prompts))
        return FlashOutcome::NotSaved;
    QString error;
    const std::optional<FlashJob> job = build(kit, entries, {}, &error);
    if (!job) {
        warn(prompts, QCoreApplication::translate("CreateFlash", "The flash image was not created.")
                          + QLatin1Char('\r') + error);
        return FlashOutcome::NotSaved;
    }

    QString target;
    Choice choice = Choice::Again;
    while (choice == Choice::Again)
        choice = choose(*job, prompts, target);
    if (choice == Choice::Cancelled)
        return FlashOutcome::NotSaved;
    if (!sameFile(target, job->output) && !exportImage(job->output, target, job->inputs, &error)) {
        warn(prompts,
             QCoreApplication::translate(
                 "CreateFlash", "The flash image was not saved.\r%1\rThe image is still in %2.")
                 .arg(error, quotedPath(job->output)));
        return FlashOutcome::NotSaved;
    }
    QString saved =
        QCoreApplication::translate("CreateFlash", "The file %1 has been saved sucessfully.")
            .arg(target);
    for (const QString& warning : job->warnings)
        saved += QLatin1Char('\r') + warning;
    prompts.message(saved, kAppTitle, Icon::Information, Buttons::Ok);
    if (savedPath)
        *savedPath = target;
    return FlashOutcome::Saved;
}

FlashOutcome runCreateFlash(const SnapshotEntries& entries, const Kit& kit, Prompts& prompts,
                            BusySign& busy, QString* savedPath)
{
    if (entries.size() != kEntryCount) {
        prompts.message(
            QCoreApplication::translate(
                "CreateFlash", "The Compilation is not complete. Add more Snapshots to the list."),
            QStringLiteral("Tessel"), Icon::Exclamation, Buttons::Ok);
        return FlashOutcome::NotSaved;
    }
    struct Shown
    {
        BusySign& sign;
        explicit Shown(BusySign& s)
            : sign(s)
        {
            sign.show();
        }
        ~Shown() { sign.hide(); }
    } shown(busy);
    return createFlash(entries, kit, prompts, savedPath);
}

} // namespace tessel
