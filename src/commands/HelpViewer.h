// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

class Kit;
class Prompts;
class ProcessLauncher;

// The system's plain-text viewer, found through the program search path.
QString helpViewerProgram();
QString helpFile(const Kit& kit);

// Help: opens the kit's help text in the viewer without waiting. A viewer
// that cannot be started is reported, with the file to open by hand.
void openHelp(const Kit& kit, Prompts& prompts, ProcessLauncher& launcher);

} // namespace tessel
