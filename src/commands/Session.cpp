// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Session.h"

#include "commands/Prompts.h"
#include "commands/RemoveSnapshot.h"

#include <QDir>

namespace tessel {

Session::Session(const Kit& kit_, Prompts& prompts_)
    : kit(kit_)
    , settings(kit_)
    , prompts(prompts_)
{ }

int Session::currentRow() const
{
    const QModelIndex index = current.currentIndex();
    return index.isValid() ? index.row() : -1;
}

void Session::setCurrentRow(int row)
{
    if (row < 0 || row >= list.rowCount()) {
        current.clear();
        return;
    }
    current.setCurrentIndex(list.index(row, 0),
                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QString Session::currentSnapshot() const
{
    return list.entry(currentRow()).path;
}

StartStep prepareRun(Session& s)
{
    s.list.clear();
    if (!QDir::setCurrent(s.kit.workingFolder()))
        return StartStep::PathNotFound;
    // The first-run marker must read as a number; 0 means the defaults are due.
    const std::optional<double> start = s.settings.firstRunMarker();
    if (!start)
        return StartStep::Failed;
    if (*start == 0)
        s.settings.writeFirstRunDefaults(s.kit.programFolder(), s.kit.workingFolder());
    return StartStep::Done;
}

void removeCurrent(Session& s)
{
    s.setCurrentRow(removeEntry(s.list, s.currentRow(), s.prompts));
}

} // namespace tessel
