// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/InstanceGuard.h"

#include <QLocalServer>
#include <QObject>

namespace tessel {

// The kit's lock, with a local socket beside it: the start that holds the
// lock listens there, and a later start of the same kit that finds the lock
// held says so through the socket and gives way, so that the window already
// running comes to the front. Neither start reads or writes anything of the
// kit for it.
class KitInstance final : public QObject, public InstanceGuard
{
    Q_OBJECT

public:
    // lockFolder defaults to the user's runtime folder, as the lock's does.
    explicit KitInstance(const QString& programFolder, const QString& lockFolder = {});
    ~KitInstance() override;

    bool tryAcquire() override;
    void onStartedAgain(std::function<void()> handler) override;

    // Where the holder listens: a socket beside the lock file (a pipe's name
    // on Windows).
    QString serverName() const { return m_serverName; }
    bool isListening() const { return m_server.isListening(); }

private:
    void listen();
    void tellHolder();

    LockFileInstanceGuard m_lock;
    QString m_serverName;
    QLocalServer m_server;
    std::function<void()> m_handler;
};

} // namespace tessel
