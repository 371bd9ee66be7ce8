// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

class Prompts;

// What the folder browser could not show, told to the user.
void warnNoDisk(Prompts& prompts);
void warnFolderGone(Prompts& prompts, const QString& folder);
void warnFolderUnreadable(Prompts& prompts, const QString& folder);

} // namespace tessel
