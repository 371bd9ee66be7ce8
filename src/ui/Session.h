// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Kit.h"
#include "core/Settings.h"
#include "snapshots/FolderBrowser.h"
#include "snapshots/SnapshotList.h"

#include <QItemSelectionModel>

namespace tessel {

class Prompts;
class VolumeSource;

// The state of one run that the commands share: the kit and its settings,
// the compilation with the grid's current row, and the snapshot browser.
// Nothing of it outlives the process but what the settings file holds.
struct Session
{
    Session(const Kit& kit, Prompts& prompts, const VolumeSource& volumes);

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
    FolderBrowser browser;
};

// Start-up after the single-instance check: an empty list, the working
// folder made current (and made when missing), the first run's defaults, and
// the browser back on the folder shown last. Any failure ends it silently.
void startUp(Session& session);

// The file list's double click: adds the selected file.
void addSelected(Session& session);
// The Delete key on the grid: removes the current row's entry.
void removeCurrent(Session& session);

} // namespace tessel
