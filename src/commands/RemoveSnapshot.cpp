// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/RemoveSnapshot.h"

#include "commands/Prompts.h"
#include "commands/SnapshotList.h"

#include <QCoreApplication>

namespace tessel {

int removeEntry(SnapshotList& list, int row, Prompts& prompts)
{
    // Only a filled row: the header and blank rows ask nothing.
    if (row < 0 || row >= list.count())
        return row;
    const QString text = QCoreApplication::translate("RemoveSnapshot", "Delete from the list %1?")
                             .arg(list.entry(row).name);
    if (prompts.message(text, kAppTitle, Icon::Exclamation, Buttons::OkCancel) != Answer::Ok)
        return row;

    // The last entry of a full list: nothing moves, and its row stays current.
    const bool lastOfFull = list.isFull() && row == kEntryCount - 1;
    list.removeAt(row);
    return lastOfFull ? row : -1;
}

bool clearList(SnapshotList& list, Prompts& prompts)
{
    const Answer answer = prompts.message(
        QCoreApplication::translate("RemoveSnapshot",
                                    "Are you sure? The actual list of SNAs will be erased."),
        kAppTitle, Icon::Critical, Buttons::YesNo);
    if (answer != Answer::Yes)
        return false;
    list.clear();
    return true;
}

} // namespace tessel
