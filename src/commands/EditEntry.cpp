// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/EditEntry.h"

#include "commands/Prompts.h"
#include "commands/SnapshotList.h"
#include "core/Cartridge.h"
#include "core/MenuName.h"

#include <QCoreApplication>

namespace tessel {

namespace {

// A pasted page of text is shown by its start.
QString shown(const QString& name)
{
    constexpr int kLongest = 60;
    return nameLength(name) > kLongest ? nameLeft(name, kLongest) + QStringLiteral("...") : name;
}

// Why the rule refuses the name; empty when it takes it.
QString refusal(const QString& name, const QString& old)
{
    const NameCheck check = checkMenuName(name);
    switch (check.problem) {
    case NameCheck::None:
        return {};
    case NameCheck::Length:
        if (check.length == 0)
            return QCoreApplication::translate(
                       "EditEntry",
                       "A menu name cannot be empty.\rThe entry keeps its name \"%1\".")
                .arg(old);
        return QCoreApplication::translate(
                   "EditEntry",
                   "The name \"%1\" has %2 characters; a menu name has 1 to %3.\rThe entry keeps "
                   "its name \"%4\".")
            .arg(shown(name), QString::number(check.length), QString::number(kMaxNameLength), old);
    case NameCheck::Control:
        return QCoreApplication::translate(
                   "EditEntry",
                   "The name \"%1\" holds a control character (shown as ?), such as a tab or a "
                   "line break; a menu name may hold only printable characters.\rThe entry keeps "
                   "its name \"%2\".")
            .arg(shown(controlsShown(name)), old);
    }
    return {};
}

} // namespace

bool renameEntry(SnapshotList& list, int row, const QString& name, Prompts& prompts)
{
    if (row < 0 || row >= list.count())
        return false;
    const QString old = list.entry(row).name;
    const QString why = refusal(name, old);
    if (!why.isEmpty()) {
        prompts.message(why, kAppTitle, Icon::Exclamation, Buttons::Ok);
        return false;
    }
    if (name != old)
        list.setName(row, name);
    return true;
}

int moveEntry(SnapshotList& list, int row, int by)
{
    const int to = row + by;
    if (row < 0 || row >= list.count() || to < 0 || to >= list.count())
        return row;
    list.move(row, to);
    return to;
}

} // namespace tessel
