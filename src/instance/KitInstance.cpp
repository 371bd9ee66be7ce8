// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/KitInstance.h"

#include <QFileInfo>
#include <QLocalSocket>

namespace tessel {

namespace {

// What a later start sends; anything else on the socket is ignored.
const QByteArray kShowRequest = QByteArrayLiteral("show\n");
// A holder busy with a modal dialog still answers from its event loop; one
// that hangs must not hang the later start with it.
constexpr int kWaitMilliseconds = 2000;

} // namespace

KitInstance::KitInstance(const QString& programFolder, const QString& lockFolder)
    : m_lock(programFolder, lockFolder)
{
    QString name = m_lock.lockPath();
    name.chop(QStringLiteral(".lock").size());
#ifdef Q_OS_WIN
    m_serverName = QFileInfo(name).fileName();
#else
    m_serverName = name + QStringLiteral(".socket");
#endif
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (socket->bytesAvailable() < kShowRequest.size())
                    return;
                if (socket->read(kShowRequest.size()) == kShowRequest && m_handler)
                    m_handler();
                socket->disconnectFromServer();
            });
        }
    });
}

KitInstance::~KitInstance()
{
    m_server.close();
}

bool KitInstance::tryAcquire()
{
    if (!m_lock.tryAcquire()) {
        tellHolder();
        return false;
    }
    if (m_lock.holdsLock() && !m_server.isListening())
        listen();
    return true;
}

void KitInstance::onStartedAgain(std::function<void()> handler)
{
    m_handler = std::move(handler);
}

void KitInstance::listen()
{
    // Only the lock's holder listens, so a socket left by a run that crashed
    // is nobody's and may go.
    QLocalServer::removeServer(m_serverName);
    // Without it the program still runs; a later start then only gives way.
    m_server.listen(m_serverName);
}

void KitInstance::tellHolder()
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kWaitMilliseconds))
        return;
    socket.write(kShowRequest);
    if (socket.waitForBytesWritten(kWaitMilliseconds)
        && socket.state() == QLocalSocket::ConnectedState)
        socket.waitForDisconnected(kWaitMilliseconds);
}

} // namespace tessel
