// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace tessel {

// Answers whether another instance of the program already runs.
class InstanceGuard
{
public:
    virtual ~InstanceGuard() = default;

    // True when this is the only instance; it then stays so until destroyed.
    virtual bool tryAcquire() = 0;
    // Once this is the only instance: the handler runs whenever a later start
    // of the same kit gives way to it, on this thread. A guard that cannot
    // hear of later starts never runs it.
    virtual void onStartedAgain(std::function<void()> handler) { Q_UNUSED(handler); }
};

// A kernel lock on a file keyed to the program folder, so two kits may run
// side by side. The system drops the lock with its process, however that
// ends, so no lock outlives its run; what the file holds is never read.
// Only a lock held by another live process answers false: when no lock can
// be had at all (no folder, no room, something else at the path) the
// program runs unguarded rather than not at all.
class LockFileInstanceGuard final : public InstanceGuard
{
public:
    // lockFolder defaults to the user's runtime folder.
    explicit LockFileInstanceGuard(const QString& programFolder, const QString& lockFolder = {});
    ~LockFileInstanceGuard() override;
    LockFileInstanceGuard(const LockFileInstanceGuard&) = delete;
    LockFileInstanceGuard& operator=(const LockFileInstanceGuard&) = delete;

    bool tryAcquire() override;
    // Whether tryAcquire took the lock, rather than giving up on it.
    bool holdsLock() const { return m_handle != kNoHandle; }
    QString lockPath() const { return m_path; }

private:
    static constexpr qintptr kNoHandle = -1;

    QString m_path;
    qintptr m_handle = kNoHandle; // a file descriptor, or a Windows HANDLE
};

} // namespace tessel
