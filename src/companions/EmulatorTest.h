#pragma once

#include <QString>

namespace tessel {

class Kit;
class Prompts;
class ProcessLauncher;
class SnapshotGrid;

// The emulator that a test starts: the kit's own, whatever is placed there.
QString emulatorProgram(const Kit& kit);

// Test SNA and a double click on the list: asks, then starts the emulator on
// the current row's snapshot without waiting for it. A start that fails is
// reported and changes nothing.
void ProbarSnap(const SnapshotGrid& grid, const Kit& kit, Prompts& prompts,
                ProcessLauncher& launcher);

} // namespace tessel
