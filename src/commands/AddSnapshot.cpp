// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/AddSnapshot.h"

#include "commands/Prompts.h"
#include "commands/SnapshotList.h"
#include "commands/TapeLoading.h"
#include "core/Cartridge.h"
#include "core/Errors.h"
#include "core/MenuName.h"
#include "machine/Source.h"

#include <QCoreApplication>

namespace tessel {

namespace {

void warn(Prompts& prompts, const QString& text)
{
    prompts.message(text, kAppTitle, Icon::Exclamation, Buttons::Ok);
}

QString listFullText()
{
    return QCoreApplication::translate(
        "AddSnapshot", "The compilation is complete. It's not posible to add more SNA's.");
}

struct Named
{
    Answer answer = Answer::Ok; // Ok, Skip or Stop
    QString name;
};

// Asks until the menu-name rule takes the answer: Cancel and an empty answer
// offer the default name again, a long answer comes back cut, and one with a
// tab or another control character comes back with blanks in their place.
// Skip and Stop, where offered, end the asking.
Named askName(Prompts& prompts, const QString& path, int number, const QString& note,
              Buttons buttons)
{
    const QString prompt =
        QCoreApplication::translate("AddSnapshot", "Type the name for the menu (Max. 20 chars) %1")
            .arg(path);
    QString offered = defaultName(number);
    for (;;) {
        const InputAnswer answer = prompts.input({.prompt = prompt,
                                                  .title = kAppTitle,
                                                  .defaultText = offered,
                                                  .snapshotPath = path,
                                                  .note = note,
                                                  .buttons = buttons});
        if (answer.answer == Answer::Skip || answer.answer == Answer::Stop)
            return {answer.answer, {}};
        const QString typed = answer.answer == Answer::Ok ? answer.text : QString();
        const NameCheck check = checkMenuName(typed);
        if (check.length == 0)
            offered = defaultName(number);
        else if (check.length > kMaxNameLength)
            offered = nameLeft(typed, kMaxNameLength);
        else if (check.problem == NameCheck::Control)
            offered = withoutControls(typed);
        else
            return {Answer::Ok, typed};
    }
}

// Whether the user takes a snapshot that needs what the cartridge lacks.
bool confirmNeeds(Prompts& prompts, const QStringList& needs)
{
    if (needs.isEmpty())
        return true;
    const QString question = needs.join(QLatin1Char('\r')) + QLatin1Char('\r')
                             + QCoreApplication::translate("AddSnapshot", "Add it all the same?");
    return prompts.message(question, kAppTitle, Icon::Exclamation, Buttons::YesNo) == Answer::Yes;
}

QString refusedText(const Batch& batch)
{
    const bool one = batch.refused.size() == 1;
    QString text;
    if (batch.source == Batch::Folder)
        text = one ? QCoreApplication::translate("AddSnapshot",
                                                 "This file of the folder %1 was not added:")
                         .arg(quotedPath(batch.folder))
                   : QCoreApplication::translate("AddSnapshot",
                                                 "These files of the folder %1 were not added:")
                         .arg(quotedPath(batch.folder));
    else
        text =
            one ? QCoreApplication::translate("AddSnapshot", "This dropped file was not added:")
                : QCoreApplication::translate("AddSnapshot", "These dropped files were not added:");
    return text + QLatin1Char('\r') + batch.refused.join(QLatin1Char('\r'));
}

QString leftOverText(const Batch& batch, qsizetype left)
{
    if (batch.source == Batch::Folder)
        return left == 1 ? QCoreApplication::translate("AddSnapshot",
                                                       "1 snapshot of the folder %1 was not added.")
                               .arg(quotedPath(batch.folder))
                         : QCoreApplication::translate(
                               "AddSnapshot", "%1 snapshots of the folder %2 were not added.")
                               .arg(QString::number(left), quotedPath(batch.folder));
    return left == 1
               ? QCoreApplication::translate("AddSnapshot", "1 of the dropped files was not added.")
               : QCoreApplication::translate("AddSnapshot",
                                             "%1 of the dropped files were not added.")
                     .arg(left);
}

} // namespace

std::optional<Admission> admit(const QString& path, const Kit* kit, SnapshotFault* fault,
                               QString* error)
{
    const std::optional<SnapshotRead> snapshot = readSource(path, kit, fault, error);
    if (!snapshot)
        return std::nullopt;
    Admission admission;
    QStringList notes;
    for (const HardwareWarning& warning : snapshot->warnings) {
        if (warning.kind == HardwareWarning::Needed)
            admission.needs << warning.text;
        notes << warning.note;
    }
    admission.note = notes.join(QLatin1Char(' '));
    return admission;
}

int addSnapshots(SnapshotList& list, const QStringList& paths, Prompts& prompts, const Kit* kit)
{
    if (list.isFull()) {
        warn(prompts, listFullText());
        return 0;
    }
    int handled = 0;
    for (const QString& path : paths) {
        // Never past the last free row, however many files come.
        if (list.isFull())
            break;
        ++handled;
        if (!loadTapes({path}, kit, prompts))
            break;
        SnapshotFault fault = SnapshotFault::None;
        QString error;
        const std::optional<Admission> admission = admit(path, kit, &fault, &error);
        if (!admission) {
            // A file named as a .sna that is none keeps the message it always had.
            warn(prompts, fault == SnapshotFault::Unreadable && hasSnaName(path)
                              ? QCoreApplication::translate(
                                  "AddSnapshot", "The selected file is not a valid SNA snapshot.")
                              : error);
            break;
        }
        if (!confirmNeeds(prompts, admission->needs))
            break;
        const Named named =
            askName(prompts, path, list.count() + 1, admission->note, Buttons::OkCancel);
        list.append({path, named.name, admission->note});
    }
    return handled;
}

BatchResult addBatch(SnapshotList& list, const Batch& batch, Prompts& prompts, const Kit* kit)
{
    BatchResult result;
    Batch told = batch; // its refusals grow with the files'
    const Buttons buttons = batch.paths.size() > 1 ? Buttons::OkSkipStop : Buttons::OkCancel;
    qsizetype tried = 0;
    for (const QString& path : batch.paths) {
        if (list.isFull())
            break;
        // A tape's loading cancelled ends the run as Stop does.
        if (!loadTapes({path}, kit, prompts)) {
            result.stopped = true;
            break;
        }
        ++tried;
        QString why;
        const std::optional<Admission> admission = admit(path, kit, nullptr, &why);
        if (!admission) {
            told.refused << why;
            continue;
        }
        if (!confirmNeeds(prompts, admission->needs))
            continue;
        const Named named = askName(prompts, path, list.count() + 1, admission->note, buttons);
        if (named.answer == Answer::Stop) {
            result.stopped = true;
            break;
        }
        if (named.answer == Answer::Skip)
            continue;
        list.append({path, named.name, admission->note});
        ++result.added;
    }
    if (!told.refused.isEmpty())
        warn(prompts, refusedText(told));
    const qsizetype left = result.stopped ? 0 : batch.paths.size() - tried;
    if (left > 0)
        warn(prompts, listFullText() + QLatin1Char('\r') + leftOverText(batch, left));
    return result;
}

std::optional<QStringList> inspectEntries(SnapshotEntries& entries, const Kit* kit, QString* error)
{
    QStringList needs;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        SnapshotEntry& entry = entries[i];
        QString why;
        const std::optional<Admission> admission = admit(entry.path, kit, nullptr, &why);
        if (!admission) {
            fail(error, QCoreApplication::translate("AddSnapshot", "Entry %1 (\"%2\"): %3")
                            .arg(QString::number(i + 1), entry.name, why));
            return std::nullopt;
        }
        entry.note = admission->note;
        for (const QString& need : admission->needs)
            needs << QCoreApplication::translate("AddSnapshot", "Entry %1 (\"%2\"): %3")
                         .arg(QString::number(i + 1), entry.name, need);
    }
    return needs;
}

} // namespace tessel
