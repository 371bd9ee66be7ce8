// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace tessel {

// Starts another program without waiting for it. The arguments reach it as
// they are, one by one; no shell sees them.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;

    // False, with a reason a user can act on, when the program could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               QString* error) = 0;

    // As startDetached, but the program should open minimized and leave the
    // focus with our window, as far as the platform allows.
    virtual bool startInBackground(const QString& program, const QStringList& arguments,
                                   QString* error)
    {
        return startDetached(program, arguments, error);
    }
};

class SystemProcessLauncher final : public ProcessLauncher
{
public:
    bool startDetached(const QString& program, const QStringList& arguments,
                       QString* error) override;
    bool startInBackground(const QString& program, const QStringList& arguments,
                           QString* error) override;
};

// Why a start failed, in words a user can act on; the system's own reason is
// only the last resort.
QString startFailureReason(const QString& program, const QString& error);

} // namespace tessel
