// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/WatchThread.h"

#include <QFileSystemWatcher>

namespace tessel {

WatchThread::WatchThread(QObject* context,
                         std::function<void(const QString&, quint64, bool)> watched,
                         std::function<void(const QString&)> changed)
    : m_context(context)
    , m_watched(std::move(watched))
    , m_changed(std::move(changed))
{
    m_thread.setObjectName(QStringLiteral("folder watcher"));
}

WatchThread::~WatchThread()
{
    if (!m_watcher)
        return;
    m_thread.quit();
    m_thread.wait();
    // Its thread is over: nothing else can touch it now.
    delete m_watcher;
}

void WatchThread::start()
{
    m_watcher = new QFileSystemWatcher;
    m_watcher->moveToThread(&m_thread);
    QObject::connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_context,
                     [changed = m_changed](const QString& path) { changed(path); });
    m_thread.start();
}

void WatchThread::watch(const QString& path, quint64 ticket)
{
    if (!m_watcher)
        start();
    QMetaObject::invokeMethod(
        m_watcher,
        [watcher = m_watcher, context = m_context, watched = m_watched, path, ticket] {
            const bool ok = watcher->addPath(path);
            // The context outlives this thread; a call it has not taken when
            // it goes is dropped with it.
            QMetaObject::invokeMethod(
                context, [watched, path, ticket, ok] { watched(path, ticket, ok); },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void WatchThread::unwatch(const QString& path)
{
    if (!m_watcher)
        return;
    QMetaObject::invokeMethod(
        m_watcher, [watcher = m_watcher, path] { watcher->removePath(path); },
        Qt::QueuedConnection);
}

} // namespace tessel
