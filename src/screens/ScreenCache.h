// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/ScreenImage.h"

#include <QCache>
#include <QDateTime>
#include <QFutureWatcher>
#include <QObject>
#include <QStringList>

#include <optional>

namespace tessel {

// Loading screens of snapshot files, made on a worker thread and kept by
// path, size and modification time, so that pointing at files never waits
// on a disk. The window's thread only asks and hears back.
class ScreenCache final : public QObject
{
    Q_OBJECT

public:
    // Enough for about 170 screens without FLASH.
    static constexpr qsizetype kDefaultCapacity = qsizetype(8) * 1024 * 1024;

    explicit ScreenCache(QObject* parent = nullptr);
    ~ScreenCache() override;

    // The screen last made for the path, without looking at the file: it may
    // be out of date until request() has checked.
    std::optional<LoadingScreen> cached(const QString& path) const;
    // Whether the file has been looked at and is still kept, screen or none.
    bool isKnown(const QString& path) const { return m_entries.contains(path); }

    // Checks the file on the worker and makes its screen if the file is new
    // to the cache or changed since; then ready() or unavailable() follows.
    // The newest request is served first; the oldest of many waiting ones
    // are dropped, since the user has moved on from them.
    void request(const QString& path);

    // The most the kept screens may take, in bytes.
    void setCapacity(qsizetype bytes);

signals:
    // cached(path) holds the file's current screen.
    void ready(const QString& path);
    // The file is gone or is no snapshot; cached(path) is empty.
    void unavailable(const QString& path);

private:
    struct Stamp
    {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
    };
    // A file found to be no snapshot is kept too, without a screen, so that
    // pointing at it again costs no second read.
    struct Entry
    {
        Stamp stamp;
        std::optional<LoadingScreen> screen;
    };
    struct Result
    {
        Stamp stamp;
        bool unchanged = false;
        std::optional<LoadingScreen> screen;
    };

    static Result load(const QString& path, const std::optional<Stamp>& known);
    void startNext();
    void finish();

    QCache<QString, Entry> m_entries;
    QStringList m_waiting; // the newest last
    QString m_running;
    bool m_busy = false;
    QFutureWatcher<Result> m_job;
};

} // namespace tessel
