// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <utility>

namespace tessel {

// The pool all background work runs on: folders read, loading screens
// made, pictures decoded. Its threads run below the priority of the thread
// that first asks for it (the window's), so a busy worker never keeps the
// window from drawing.
QThreadPool& backgroundPool();

namespace detail {
// Puts the calling worker below the window's priority; cheap after the first call.
void lowerWorkerPriority();
} // namespace detail

// Runs job(promise) once on the background pool. The job watches
// promise.isCanceled() and adds its result; a QFutureWatcher on the caller's
// thread hands the result over. The job must hold nothing of the caller's:
// a cancelled job may still be running when the caller is gone.
template <typename T, typename Job> QFuture<T> runInBackground(Job job)
{
    auto promise = std::make_shared<QPromise<T>>();
    QFuture<T> future = promise->future();
    promise->start();
    backgroundPool().start([promise, job = std::move(job)]() mutable {
        detail::lowerWorkerPriority();
        if (!promise->isCanceled())
            job(*promise);
        promise->finish();
    });
    return future;
}

// Runs a long job as bounded batches: step(promise) does one batch and
// returns true while more is left. After each batch the job goes to the
// back of the pool's queue, so work asked for meanwhile (a small folder, a
// picture) waits for one batch, not for the whole job; a cancelled job ends
// before its next batch. Nothing is locked across a batch.
template <typename T, typename Step> QFuture<T> runInBatches(Step step)
{
    struct Job
    {
        QPromise<T> promise;
        Step step;
        static void next(std::shared_ptr<Job> job)
        {
            backgroundPool().start([job = std::move(job)]() mutable {
                detail::lowerWorkerPriority();
                if (!job->promise.isCanceled() && job->step(job->promise)) {
                    next(std::move(job));
                    return;
                }
                job->promise.finish();
            });
        }
    };
    auto job = std::make_shared<Job>(Job{QPromise<T>(), std::move(step)});
    QFuture<T> future = job->promise.future();
    job->promise.start();
    Job::next(std::move(job));
    return future;
}

} // namespace tessel
