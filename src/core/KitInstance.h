// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/InstanceGuard.h"

#include <QFileSystemWatcher>
#include <QObject>

#include <memory>

namespace tessel {

// The kit's lock, with a request file beside it: the start that holds the
// lock watches that file, and a later start of the same kit that finds the
// lock held writes a request into it and gives way, so that the window
// already running comes to the front. Neither start reads or writes
// anything of the kit for it.
//
// A file and not a local socket: the socket needs Qt Network, whose
// libraries cost every start of the window a tenth of what a bare window
// takes to appear, for this one message.
class KitInstance final : public QObject, public InstanceGuard
{
    Q_OBJECT

public:
    // lockFolder defaults to the user's runtime folder, as the lock's does.
    explicit KitInstance(const QString& programFolder, const QString& lockFolder = {});

    bool tryAcquire() override;
    void onStartedAgain(std::function<void()> handler) override;

    // Where requests go: a file beside the lock.
    QString requestPath() const { return m_requestPath; }
    bool isWatching() const { return m_watcher && m_watcher->files().contains(m_requestPath); }

private:
    void watch();
    void onRequest();
    void tellHolder() const;

    LockFileInstanceGuard m_lock;
    QString m_requestPath;
    // Made by the holder only: a later start has nothing to watch.
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    std::function<void()> m_handler;
};

} // namespace tessel
