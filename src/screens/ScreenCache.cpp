// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/ScreenCache.h"

#include "core/Background.h"
#include "formats/FormatLibrary.h"
#include "formats/SnapshotReader.h"

#include <QFileInfo>

namespace tessel {

namespace {

// Beyond this many, the oldest waiting requests are dropped.
constexpr qsizetype kMaxWaiting = 8;

qsizetype costOf(const std::optional<LoadingScreen>& screen)
{
    constexpr qsizetype kNoScreen = 256;
    return screen ? screen->image.sizeInBytes() + screen->flashed.sizeInBytes() : kNoScreen;
}

} // namespace

ScreenCache::ScreenCache(QObject* parent)
    : QObject(parent)
{
    m_entries.setMaxCost(kDefaultCapacity);
    connect(&m_job, &QFutureWatcherBase::finished, this, &ScreenCache::finish);
}

// The worker holds nothing of the cache: it ends on its own.
ScreenCache::~ScreenCache()
{
    m_job.cancel();
}

std::optional<LoadingScreen> ScreenCache::cached(const QString& path) const
{
    if (const Entry* entry = m_entries.object(path))
        return entry->screen;
    return std::nullopt;
}

void ScreenCache::request(const QString& path)
{
    m_waiting.removeAll(path);
    if (m_busy && m_running == path)
        return;
    m_waiting.append(path);
    while (m_waiting.size() > kMaxWaiting)
        m_waiting.removeFirst();
    startNext();
}

void ScreenCache::setCapacity(qsizetype bytes)
{
    m_entries.setMaxCost(bytes);
}

ScreenCache::Result ScreenCache::load(const QString& path, const std::optional<Stamp>& known)
{
    Result result;
    const QFileInfo info(path);
    // Anything but a file of a snapshot's size costs a look at its size. A
    // tape shows the screen it carries, never loaded for a preview.
    const bool tape = hasTapeName(path);
    if (!info.isFile() || info.size() > (tape ? kMaxTapeFileSize : kMaxSnapshotFileSize))
        return result;
    result.stamp = {info.size(), info.lastModified()};
    if (known && *known == result.stamp) {
        result.unchanged = true;
        return result;
    }
    result.screen = tape ? readTapeScreen(path) : readAnyLoadingScreen(path, nullptr);
    return result;
}

// One file at a time, the newest request first.
void ScreenCache::startNext()
{
    if (m_busy || m_waiting.isEmpty())
        return;
    m_running = m_waiting.takeLast();
    m_busy = true;
    std::optional<Stamp> known;
    if (const Entry* entry = m_entries.object(m_running))
        known = entry->stamp;
    m_job.setFuture(runInBackground<Result>([path = m_running, known](QPromise<Result>& promise) {
        promise.addResult(load(path, known));
    }));
}

void ScreenCache::finish()
{
    const QString path = std::exchange(m_running, QString());
    m_busy = false;
    const QFuture<Result> future = m_job.future();
    if (future.resultCount() == 0) {
        startNext();
        return;
    }
    const Result result = future.result();
    if (result.unchanged) {
        // Dropped from the cache while the worker looked: make it again.
        if (const Entry* entry = m_entries.object(path)) {
            if (entry->screen)
                emit ready(path);
            else
                emit unavailable(path);
        } else {
            m_waiting.append(path);
        }
    } else if (result.stamp.size >= 0) {
        auto* entry = new Entry{result.stamp, result.screen};
        // A capacity below one screen keeps none (insert deletes the entry).
        if (m_entries.insert(path, entry, costOf(result.screen)) && result.screen)
            emit ready(path);
        else
            emit unavailable(path);
    } else {
        m_entries.remove(path);
        emit unavailable(path);
    }
    startNext();
}

} // namespace tessel
