#include "snapshots/Volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace tessel {

namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

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

QList<Volume> SystemVolumes::volumes() const
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

bool SystemVolumes::isReadable(const QString& root) const
{
    const QStorageInfo info(root);
    return info.isValid() && info.isReady() && QFileInfo(root).isReadable() && QDir(root).exists();
}

} // namespace tessel
