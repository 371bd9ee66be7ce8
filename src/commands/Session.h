// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/SnapshotList.h"
#include "core/Kit.h"
#include "core/Settings.h"

#include <QItemSelectionModel>

namespace tessel {

class Prompts;

// The state of one run that the commands share: the kit and its settings,
// and the compilation with the grid's current row. Nothing of it outlives
// the process but what the settings file holds.
struct Session
{
    Session(const Kit& kit, Prompts& prompts);

    // The grid's current row, 0-based; -1 while the header row is current,
    // as after start-up, so that no snapshot row is.
    int currentRow() const;
    void setCurrentRow(int row);
    // The path in the current row; empty for the header or a blank row.
    QString currentSnapshot() const;

    Kit kit;
    Settings settings;
    Prompts& prompts;
    SnapshotList list;
    QItemSelectionModel current{&list};
};

// What start-up could do of its own part; the window then points the
// browser at the folder shown last.
enum class StartStep { Done, PathNotFound, Failed };

// An empty list, the working folder made current, and the first run's
// defaults written.
StartStep prepareRun(Session& session);

// The Delete key on the grid: removes the current row's entry.
void removeCurrent(Session& session);

} // namespace tessel
