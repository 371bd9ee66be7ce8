// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Background.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

namespace tessel {

namespace {

#ifdef Q_OS_LINUX
// Linux gives threads of the normal policy one priority; their nice values
// (one per thread there) weigh them instead. Five steps down leaves a
// worker about a quarter of the time the window's thread can claim.
constexpr int kNiceSteps = 5;
int g_windowNice = 0;
#endif

class Pool final : public QThreadPool
{
public:
    Pool()
    {
#ifdef Q_OS_LINUX
        g_windowNice = ::getpriority(PRIO_PROCESS, 0);
#endif
        // Where the system has priorities for normal threads, this is it.
        setThreadPriority(QThread::LowPriority);
    }
};

// Gone at exit after the batches under way; their owners cancelled the rest.
Q_GLOBAL_STATIC(Pool, g_pool)

// A job still running when the program ends (a picture being decoded) must
// finish while the application and what Qt keeps for it still stand, not
// among the globals torn down after main().
void finishJobs()
{
    if (g_pool.exists()) {
        g_pool->clear();
        g_pool->waitForDone();
    }
}

} // namespace

QThreadPool& backgroundPool()
{
    static const bool waits = [] {
        if (QCoreApplication::instance())
            qAddPostRoutine(finishJobs);
        return true;
    }();
    Q_UNUSED(waits)
    return *g_pool;
}

namespace detail {

void lowerWorkerPriority()
{
#ifdef Q_OS_LINUX
    // Absolute, not relative: a worker started by a worker inherits its nice.
    thread_local bool lowered = false;
    if (!lowered) {
        lowered = true;
        ::setpriority(PRIO_PROCESS, 0, std::min(g_windowNice + kNiceSteps, 19));
    }
#endif
}

} // namespace detail

} // namespace tessel
