// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/ListCaptures.h"
#include "commands/SnapshotList.h"
#include "core/Kit.h"
#include "core/Settings.h"

namespace tessel {

class Prompts;

// The state of one run that the commands share: the kit and its settings,
// the compilation and where it is kept. Nothing of it outlives the process
// but what the settings file holds.
struct Session
{
    Session(const Kit& kit, Prompts& prompts);

    Kit kit;
    Settings settings;
    Prompts& prompts;
    SnapshotList list;
    ListCaptures captures{list};
};

// What start-up could do of its own part; the window then points the
// browser at the folder shown last.
enum class StartStep { Done, PathNotFound, Failed };

// An empty list, the working folder made current, and the first run's
// defaults written.
StartStep prepareRun(Session& session);

} // namespace tessel
