// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/Volumes.h"

#include "core/Files.h"

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStorageInfo>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tessel {

namespace {

bool isUnder(const QString& path, const QString& root)
{
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return path.compare(root, kPathCase) == 0
           || (path + QLatin1Char('/')).startsWith(prefix, kPathCase);
}

// Kernel and runtime file systems hold no snapshots; showing them is noise.
bool isSystemMount(const QStorageInfo& volume)
{
    static const QStringList hiddenTrees = {
        QStringLiteral("/proc"), QStringLiteral("/sys"),  QStringLiteral("/dev"),
        QStringLiteral("/run"),  QStringLiteral("/snap"), QStringLiteral("/var/lib/docker")};
    static const QStringList pseudoTypes = {
        QStringLiteral("proc"),       QStringLiteral("sysfs"),       QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),     QStringLiteral("cgroup"),      QStringLiteral("cgroup2"),
        QStringLiteral("securityfs"), QStringLiteral("pstore"),      QStringLiteral("debugfs"),
        QStringLiteral("tracefs"),    QStringLiteral("configfs"),    QStringLiteral("fusectl"),
        QStringLiteral("mqueue"),     QStringLiteral("hugetlbfs"),   QStringLiteral("bpf"),
        QStringLiteral("autofs"),     QStringLiteral("binfmt_misc"), QStringLiteral("efivarfs"),
        QStringLiteral("rpc_pipefs"), QStringLiteral("nsfs"),        QStringLiteral("squashfs")};
    const QString root = volume.rootPath();
    if (root.startsWith(QLatin1String("/run/media/")))
        return false; // where desktops mount removable media
    if (pseudoTypes.contains(QString::fromLatin1(volume.fileSystemType())))
        return true;
    return std::any_of(hiddenTrees.begin(), hiddenTrees.end(),
                       [&root](const QString& tree) { return isUnder(root, tree); });
}

QList<Volume> readVolumes()
{
    QList<Volume> result;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        if (!info.isValid() || isSystemMount(info))
            continue;
        const QString root = QDir::fromNativeSeparators(info.rootPath());
        const bool seen = std::any_of(result.begin(), result.end(),
                                      [&root](const Volume& v) { return v.root == root; });
        if (!seen)
            result.append({root, info.name()});
    }
    std::sort(result.begin(), result.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    return result;
}

// Mounts settle within this; a burst of them is read once.
constexpr int kSettleMs = 150;
#ifndef Q_OS_LINUX
// Where the system cannot tell of mounts, the list is read this often.
constexpr int kPollMs = 2000;
#endif

} // namespace

QString Volume::displayText() const
{
    const QString shown = QDir::toNativeSeparators(root);
    return label.isEmpty() ? shown : QStringLiteral("%1  [%2]").arg(shown, label);
}

QString VolumeSource::rootOf(const QString& path) const
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    QString best;
    for (const Volume& volume : volumes()) {
        if (isUnder(clean, volume.root) && volume.root.size() > best.size())
            best = volume.root;
    }
    return best;
}

SystemVolumes::SystemVolumes(QObject* parent)
    : VolumeSource(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &SystemVolumes::reread);
    if (!QAbstractEventDispatcher::instance())
        return; // no event loop to watch from: the list is read once
#ifdef Q_OS_LINUX
    // The kernel flags the mount table as changed with POLLPRI on any mount
    // or unmount in this process's namespace.
    m_mountTable = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_mountTable >= 0) {
        m_mountNotifier = new QSocketNotifier(m_mountTable, QSocketNotifier::Exception, this);
        connect(m_mountNotifier, &QSocketNotifier::activated, &m_settle,
                qOverload<>(&QTimer::start));
    }
#else
    m_settle.setSingleShot(false);
    m_settle.setInterval(kPollMs);
    m_settle.start();
#endif
}

SystemVolumes::~SystemVolumes()
{
#ifdef Q_OS_LINUX
    delete m_mountNotifier;
    if (m_mountTable >= 0)
        ::close(m_mountTable);
#endif
}

QList<Volume> SystemVolumes::volumes() const
{
    if (!m_volumes)
        m_volumes = readVolumes();
    return *m_volumes;
}

void SystemVolumes::reread()
{
    QList<Volume> now = readVolumes();
    if (m_volumes && now == *m_volumes)
        return;
    m_volumes = std::move(now);
    emit volumesChanged();
}

bool SystemVolumes::isReadable(const QString& root) const
{
    const QStorageInfo info(root);
    return info.isValid() && info.isReady() && QFileInfo(root).isReadable() && QDir(root).exists();
}

} // namespace tessel
