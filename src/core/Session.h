#pragma once

#include "core/Kit.h"
#include "snapshots/FolderBrowser.h"
#include "snapshots/SnapshotGrid.h"
#include "snapshots/SnapshotTable.h"

#include <QString>

namespace tessel {

class Prompts;
class VolumeSource;

// The state of one run, shared by the commands: the settings file's path,
// the snapshot list with its grid, and the snapshot browser. Nothing of it
// outlives the process but what the settings file holds.
struct Session
{
    Session(const Kit& kit, Prompts& prompts, const VolumeSource& volumes);

    Kit kit;
    Prompts& prompts;
    QString RutaIni;
    SnapshotTable table;
    SnapshotGrid grid;
    FolderBrowser browser;
};

// Start-up after the single-instance check and the grid's set-up: settings
// path, empty list, working folder, first-run defaults, and the browser back
// on the folder shown last. Any failure ends it silently.
void startUp(Session& session);

} // namespace tessel
