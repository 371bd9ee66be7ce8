// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Session.h"

#include <QDir>

namespace tessel {

Session::Session(const Kit& kit_, Prompts& prompts_)
    : kit(kit_)
    , settings(kit_)
    , prompts(prompts_)
{ }

StartStep prepareRun(Session& s)
{
    s.list.clear();
    if (!QDir::setCurrent(s.kit.workingFolder()))
        return StartStep::PathNotFound;
    // The first-run marker must read as a number; 0 means the defaults are due.
    const std::optional<double> start = s.settings.firstRunMarker();
    if (!start)
        return StartStep::Failed;
    if (*start == 0)
        s.settings.writeFirstRunDefaults(s.kit.firstSnapshotFolder(), s.kit.workingFolder());
    return StartStep::Done;
}

} // namespace tessel
