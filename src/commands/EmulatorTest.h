// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

class Kit;
class Prompts;
class ProcessLauncher;

// The emulator that a test starts: the kit's own, whatever is placed there.
QString emulatorProgram(const Kit& kit);

// Test SNA and a double click on the list: asks, then starts the emulator on
// the snapshot of the list's current row without waiting for it; an empty
// path (no row, or a blank one) only gets a hint. A start that fails is
// reported and changes nothing.
void testSnapshot(const QString& snapshot, const Kit& kit, Prompts& prompts,
                  ProcessLauncher& launcher);

} // namespace tessel
