// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"

#include <QString>

#include <optional>

namespace tessel {

class Kit;
class Prompts;

// What the window shows while Create Flash runs: the hourglass, the grid
// hidden so that "Please Wait !" shows, and an immediate repaint.
class BusySign
{
public:
    virtual ~BusySign() = default;
    virtual void show() = 0;
    virtual void hide() = 0;
};

// How Create Flash ended; FirmwareWanted when the user, told that banks or
// table offsets are missing, chose to set them up now.
enum class FlashOutcome { Saved, NotSaved, FirmwareWanted };

// Create Flash, as the window runs it: builds "tessel.rom" in the working
// folder from the ten listed snapshots (every source and setting checked
// first; any problem is one warning and nothing is built, and a problem of
// the firmware's offers its setup), then asks where to save a copy, until a
// copy is saved or the user confirms the cancel; *savedPath is the copy's
// path when one was saved.
FlashOutcome createFlash(const SnapshotEntries& entries, const Kit& kit, Prompts& prompts,
                         QString* savedPath = nullptr);

// The Create Flash button and menu item: a full list or a warning, then
// createFlash() under the busy sign, dialogs and messages included.
FlashOutcome runCreateFlash(const SnapshotEntries& entries, const Kit& kit, Prompts& prompts,
                            BusySign& busy, QString* savedPath = nullptr);

} // namespace tessel
