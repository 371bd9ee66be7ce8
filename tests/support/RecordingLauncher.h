// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/ProcessLauncher.h"

#include <QList>

namespace tessel::test {

// Records each start instead of starting anything.
class RecordingLauncher final : public ProcessLauncher
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        bool background = false;
    };

    bool startDetached(const QString& program, const QStringList& arguments, QString*) override
    {
        starts.append({program, arguments, false});
        return true;
    }
    bool startInBackground(const QString& program, const QStringList& arguments, QString*) override
    {
        starts.append({program, arguments, true});
        return true;
    }

    QList<Start> starts;
};

} // namespace tessel::test
