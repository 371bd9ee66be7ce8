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
};

class SystemProcessLauncher final : public ProcessLauncher
{
public:
    bool startDetached(const QString& program, const QStringList& arguments,
                       QString* error) override;
};

} // namespace tessel
