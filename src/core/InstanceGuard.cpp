#include "core/InstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace tessel {

LockFileInstanceGuard::LockFileInstanceGuard(const QString& programFolder,
                                             const QString& lockFolder)
{
    QString folder = lockFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray key = QCryptographicHash::hash(
        QDir::cleanPath(QDir(programFolder).absolutePath()).toUtf8(), QCryptographicHash::Sha1);
    m_path = QDir(folder).filePath(
        QStringLiteral("tessel-zizerev-%1.lock").arg(QString::fromLatin1(key.toHex().left(16))));
}

LockFileInstanceGuard::~LockFileInstanceGuard() = default;

bool LockFileInstanceGuard::tryAcquire()
{
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    // Never stale by age: a long session must keep its lock. A lock whose
    // process is gone is still recognised as stale and taken over.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

} // namespace tessel
