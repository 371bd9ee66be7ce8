// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace tessel {

class Kit;
class Prompts;

// Loads the tapes among the paths that the cache does not hold yet, one at a
// time on a worker with a progress bar the user may cancel, so that whatever
// reads them next finds them at once. A tape that fails to load is left for
// that reader to report. False when the user cancelled.
bool loadTapes(const QStringList& paths, const Kit* kit, Prompts& prompts);

} // namespace tessel
