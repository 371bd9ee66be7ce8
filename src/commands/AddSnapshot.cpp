// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/AddSnapshot.h"

#include "commands/Prompts.h"
#include "commands/SnapshotList.h"
#include "commands/TapeLoading.h"
#include "core/Cartridge.h"
#include "core/MenuName.h"
#include "machine/Source.h"

#include <QCoreApplication>

namespace tessel {

namespace {

void warn(Prompts& prompts, const QString& text)
{
    prompts.message(text, kAppTitle, Icon::Exclamation, Buttons::Ok);
}

// Asks until the menu-name rule takes the answer: Cancel and an empty answer
// offer the default name again, a long answer comes back cut, and one with a
// tab or another control character comes back with blanks in their place.
QString askName(Prompts& prompts, const QString& path, int number)
{
    const QString prompt =
        QCoreApplication::translate("AddSnapshot", "Type the name for the menu (Max. 20 chars) %1")
            .arg(path);
    QString offered = defaultName(number);
    for (;;) {
        const QString answer = prompts.input({prompt, kAppTitle, offered, path});
        const NameCheck check = checkMenuName(answer);
        if (check.length == 0)
            offered = defaultName(number);
        else if (check.length > kMaxNameLength)
            offered = nameLeft(answer, kMaxNameLength);
        else if (check.problem == NameCheck::Control)
            offered = withoutControls(answer);
        else
            return answer;
    }
}

// Whether the file is one the cartridge takes; a refusal is told here, and
// what the cartridge cannot give is asked about.
bool accept(const QString& path, Prompts& prompts, const Kit* kit)
{
    SnapshotFault fault = SnapshotFault::None;
    QString error;
    const std::optional<SnapshotRead> snapshot = readSource(path, kit, &fault, &error);
    if (!snapshot) {
        // A file named as a .sna that is none keeps the message it always had.
        warn(prompts, fault == SnapshotFault::Unreadable && hasSnaName(path)
                          ? QCoreApplication::translate(
                              "AddSnapshot", "The selected file is not a valid SNA snapshot.")
                          : error);
        return false;
    }
    if (snapshot->warnings.isEmpty())
        return true;
    const QString question = snapshot->warnings.join(QLatin1Char('\r')) + QLatin1Char('\r')
                             + QCoreApplication::translate("AddSnapshot", "Add it all the same?");
    return prompts.message(question, kAppTitle, Icon::Exclamation, Buttons::YesNo) == Answer::Yes;
}

} // namespace

int addSnapshots(SnapshotList& list, const QStringList& paths, Prompts& prompts, const Kit* kit)
{
    if (list.isFull()) {
        warn(prompts, QCoreApplication::translate(
                          "AddSnapshot",
                          "The compilation is complete. It's not posible to add more SNA's."));
        return 0;
    }
    int handled = 0;
    for (const QString& path : paths) {
        // Never past the last free row, however many files come.
        if (list.isFull())
            break;
        ++handled;
        if (!loadTapes({path}, kit, prompts) || !accept(path, prompts, kit))
            break;
        list.append({path, askName(prompts, path, list.count() + 1)});
    }
    return handled;
}

int addDroppedSnapshots(SnapshotList& list, const QStringList& paths, Prompts& prompts,
                        const Kit* kit)
{
    int added = 0;
    qsizetype tried = 0;
    bool cancelled = false;
    QStringList refused;
    for (const QString& path : paths) {
        if (list.isFull())
            break;
        if (!loadTapes({path}, kit, prompts)) {
            cancelled = true;
            break;
        }
        ++tried;
        QString why;
        if (!readSource(path, kit, &why)) {
            refused << why;
            continue;
        }
        list.append({path, askName(prompts, path, list.count() + 1)});
        ++added;
    }
    if (!refused.isEmpty())
        warn(prompts,
             (refused.size() == 1
                  ? QCoreApplication::translate("AddSnapshot", "This dropped file was not added:")
                  : QCoreApplication::translate("AddSnapshot",
                                                "These dropped files were not added:"))
                 + QLatin1Char('\r') + refused.join(QLatin1Char('\r')));
    const qsizetype left = paths.size() - tried;
    if (left > 0 && !cancelled)
        warn(prompts,
             QCoreApplication::translate(
                 "AddSnapshot", "The compilation is complete. It's not posible to add more SNA's.")
                 + QLatin1Char('\r')
                 + (left == 1 ? QCoreApplication::translate("AddSnapshot",
                                                            "1 of the dropped files was not added.")
                              : QCoreApplication::translate(
                                    "AddSnapshot", "%1 of the dropped files were not added.")
                                    .arg(left)));
    return added;
}

} // namespace tessel
