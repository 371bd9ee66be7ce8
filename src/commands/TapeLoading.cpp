// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/TapeLoading.h"

#include "commands/Prompts.h"
#include "core/Errors.h"
#include "core/Progress.h"
#include "machine/Source.h"

#include <QCoreApplication>

namespace tessel {

bool loadTapes(const QStringList& paths, const Kit* kit, Prompts& prompts)
{
    for (const QString& path : paths) {
        if (!needsLoading(path, kit))
            continue;
        const ProgressRequest request{
            QCoreApplication::translate("TapeLoading", "Loading the tape %1 on an emulated "
                                                       "Spectrum...")
                .arg(quotedPath(path)),
            kAppTitle};
        const bool done = prompts.runWithProgress(request, [&](Progress& progress) {
            readSource(path, kit, nullptr, nullptr, &progress);
        });
        if (!done)
            return false;
    }
    return true;
}

} // namespace tessel
