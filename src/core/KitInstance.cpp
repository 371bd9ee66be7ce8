// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/KitInstance.h"

#include <QFile>
#include <QFileInfo>

namespace tessel {

namespace {

// What a later start writes; the holder only asks whether anything came.
const QByteArray kShowRequest = QByteArrayLiteral("show\n");

// Only a plain file of ours: the folder is the user's own, but a link or a
// pipe put there is no reason to write elsewhere or to block.
bool isPlainFileOrNothing(const QString& path)
{
    const QFileInfo info(path);
    return !info.isSymLink() && (!info.exists() || info.isFile());
}

} // namespace

KitInstance::KitInstance(const QString& programFolder, const QString& lockFolder)
    : m_lock(programFolder, lockFolder)
{
    m_requestPath = m_lock.lockPath();
    m_requestPath.chop(QStringLiteral(".lock").size());
    m_requestPath += QStringLiteral(".show");
}

bool KitInstance::tryAcquire()
{
    if (!m_lock.tryAcquire()) {
        tellHolder();
        return false;
    }
    if (m_lock.holdsLock() && !isWatching())
        watch();
    return true;
}

void KitInstance::onStartedAgain(std::function<void()> handler)
{
    m_handler = std::move(handler);
}

void KitInstance::watch()
{
    // Only the lock's holder watches, so what a run that crashed left in
    // the file is nobody's request and goes. Without the file the program
    // still runs; a later start then only gives way.
    if (!isPlainFileOrNothing(m_requestPath))
        return;
    QFile file(m_requestPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return;
    if (!m_watcher) {
        m_watcher = std::make_unique<QFileSystemWatcher>();
        connect(m_watcher.get(), &QFileSystemWatcher::fileChanged, this, &KitInstance::onRequest);
    }
    m_watcher->addPath(m_requestPath);
}

void KitInstance::onRequest()
{
    QFile file(m_requestPath);
    const bool asked = file.size() > 0;
    if (asked)
        file.resize(0);
    // Removed or replaced under us, the file is watched no more: start again.
    if (!isWatching())
        watch();
    if (asked && m_handler)
        m_handler();
}

void KitInstance::tellHolder() const
{
    if (!isPlainFileOrNothing(m_requestPath))
        return;
    QFile file(m_requestPath);
    // The holder made the file; without it there is nobody to tell.
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly))
        file.write(kShowRequest);
}

} // namespace tessel
