// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QThread>

#include <functional>

class QFileSystemWatcher;

namespace tessel {

// Folders watched for changes from a thread of their own. Starting to watch
// a folder costs the system time in proportion to its entries (about 4 ms
// for 100,000), and so does stopping; on the window's thread that froze the
// window each time a big folder was opened or left. Requests are carried
// out in the order they are made; what they find is told on the thread of
// `context`, from its event loop. `context` must outlive this (it owns it).
class WatchThread
{
public:
    // watched(path, ticket, ok) answers each watch(); changed(path) tells of
    // a change in a folder watched.
    WatchThread(QObject* context,
                std::function<void(const QString& path, quint64 ticket, bool ok)> watched,
                std::function<void(const QString& path)> changed);
    ~WatchThread();
    WatchThread(const WatchThread&) = delete;
    WatchThread& operator=(const WatchThread&) = delete;

    void watch(const QString& path, quint64 ticket);
    void unwatch(const QString& path);

private:
    void start();

    QObject* m_context;
    std::function<void(const QString&, quint64, bool)> m_watched;
    std::function<void(const QString&)> m_changed;
    QThread m_thread;
    QFileSystemWatcher* m_watcher = nullptr; // lives in m_thread; made on first use
};

} // namespace tessel
