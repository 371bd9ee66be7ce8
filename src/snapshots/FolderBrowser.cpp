#include "snapshots/FolderBrowser.h"

#include "core/Prompts.h"
#include "snapshots/SnapshotReader.h"

#include <QDir>
#include <QFileInfo>

namespace tessel {

namespace {
const QString kNoDisk =
    QStringLiteral("There is not a disk in the selected unit. Insert a disk or change the unit.");

QString cleanFolder(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}
} // namespace

KindIconProvider::KindIconProvider()
    : m_file(QAbstractFileIconProvider::icon(File))
    , m_folder(QAbstractFileIconProvider::icon(Folder))
{ }

QIcon KindIconProvider::icon(IconType type) const
{
    if (type == File)
        return m_file;
    if (type == Folder)
        return m_folder;
    return QAbstractFileIconProvider::icon(type);
}

QIcon KindIconProvider::icon(const QFileInfo& info) const
{
    return info.isDir() ? m_folder : m_file;
}

QString KindIconProvider::type(const QFileInfo& info) const
{
    return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
}

FileListModel::FileListModel(QFileSystemModel& files, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_files(files)
{
    setSourceModel(&files);
}

void FileListModel::setFolder(const QString& folder)
{
    m_folder = folder;
    m_files.setRootPath(folder);
    invalidateFilter();
}

QModelIndex FileListModel::folderIndex() const
{
    return mapFromSource(m_files.index(m_folder));
}

QString FileListModel::fileName(const QModelIndex& index) const
{
    return m_files.fileName(mapToSource(index));
}

// Files pass; of the folders, only those on the way to the listed one.
bool FileListModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const QModelIndex entry = m_files.index(sourceRow, 0, sourceParent);
    if (!m_files.isDir(entry))
        return true;
    const QString path = m_files.filePath(entry);
    const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    return m_folder == path || m_folder.startsWith(prefix);
}

FolderBrowser::FolderBrowser(const Kit& kit, const Settings& settings, Prompts& prompts,
                             const VolumeSource& volumes, QObject* parent)
    : QObject(parent)
    , m_kit(kit)
    , m_settings(settings)
    , m_prompts(prompts)
    , m_volumes(volumes)
    , m_fileList(m_fileModel)
    , m_fileSelection(&m_fileList)
{
    m_folderModel.setIconProvider(&m_icons);
    m_fileModel.setIconProvider(&m_icons);
    m_folderModel.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folderModel.setReadOnly(true);

    m_fileModel.setFilter(QDir::Files | QDir::AllDirs | QDir::NoDotAndDotDot);
    // Every snapshot format the reader takes, in any letter case.
    m_fileModel.setNameFilters(snapshotNamePatterns());
    m_fileModel.setNameFilterDisables(false);
    m_fileModel.setReadOnly(true);

    refreshDrives();

    // Until start-up positions them, the lists show the process's current folder.
    m_path = cleanFolder(QDir::currentPath());
    m_drive = m_volumes.rootOf(m_path);
    m_folderModel.setRootPath(m_drive);
    m_fileList.setFolder(m_path);
}

void FolderBrowser::refreshDrives()
{
    m_driveModel.clear();
    for (const Volume& volume : m_volumes.volumes()) {
        auto* item = new QStandardItem(volume.displayText());
        item->setData(volume.root, kRootRole);
        item->setEditable(false);
        m_driveModel.appendRow(item);
    }
}

void FolderBrowser::setDrive(const QString& root)
{
    if (root == m_drive)
        return;
    m_drive = root;
    emit driveChanged(m_drive);
    onDriveChanged();
}

// A new drive shows its root. One that cannot be read counts as a drive
// without a medium: the user is told, and the browser goes back to the
// program folder's drive.
void FolderBrowser::onDriveChanged()
{
    BrowserError error = BrowserError::None;
    if (!m_volumes.isReadable(m_drive))
        error = BrowserError::DeviceUnavailable;
    else
        error = setPath(m_drive);

    if (error == BrowserError::DeviceUnavailable || error == BrowserError::Unreadable) {
        m_prompts.message(kNoDisk, kAppTitle, Icon::Exclamation, Buttons::Ok);
        const QString home = m_volumes.rootOf(m_kit.programFolder());
        // The program's own drive is the way out; never loop on it.
        if (home != m_drive && !home.isEmpty())
            setDrive(home);
    }
}

BrowserError FolderBrowser::setPath(const QString& path)
{
    const QString folder = cleanFolder(path);
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return BrowserError::PathNotFound;
    // Checked before anything moves, so the folder list and the file list
    // never part: both stay where they were.
    if (!info.isReadable() || !info.isExecutable())
        return BrowserError::Unreadable;
    if (folder == m_path)
        return BrowserError::None;
    m_path = folder;
    const QString root = m_volumes.rootOf(m_path);
    if (m_folderModel.rootPath() != root)
        m_folderModel.setRootPath(root);
    emit pathChanged(m_path);
    onFolderChanged();
    return BrowserError::None;
}

void FolderBrowser::openFolder(const QString& path)
{
    const BrowserError error = setPath(path);
    if (error == BrowserError::None)
        return;
    const QString shown = QDir::toNativeSeparators(path);
    m_prompts.message(
        error == BrowserError::Unreadable
            ? QStringLiteral("The files of the folder %1 cannot be listed: it cannot be read.")
                  .arg(shown)
            : QStringLiteral("The folder %1 cannot be opened: it no longer exists.").arg(shown),
        kAppTitle, Icon::Exclamation, Buttons::Ok);
    emit pathChanged(m_path); // puts the folder list back on the folder it shows
}

void FolderBrowser::onFolderChanged()
{
    m_fileSelection.clear();
    m_fileList.setFolder(m_path);
    emit fileListChanged(m_path);
    m_settings.setSnapshotFolder(m_path);
}

QModelIndex FolderBrowser::fileListRoot() const
{
    return m_fileList.folderIndex();
}

QModelIndex FolderBrowser::fileIndex(int i) const
{
    return m_fileList.index(i, 0, fileListRoot());
}

int FolderBrowser::listCount() const
{
    return m_fileList.rowCount(fileListRoot());
}

QString FolderBrowser::list(int i) const
{
    return m_fileList.fileName(fileIndex(i));
}

bool FolderBrowser::isSelected(int i) const
{
    return m_fileSelection.isSelected(fileIndex(i));
}

QString FolderBrowser::filePath(const QModelIndex& index) const
{
    const QString name = m_fileList.fileName(index);
    return name.isEmpty() ? QString() : QDir::toNativeSeparators(QDir(m_path).filePath(name));
}

QStringList FolderBrowser::selectedPaths() const
{
    QStringList paths;
    for (int i = 0; i < listCount(); ++i) {
        if (isSelected(i))
            paths.append(filePath(fileIndex(i)));
    }
    return paths;
}

void FolderBrowser::deselectFirst(int count)
{
    for (int i = 0; i < listCount() && count > 0; ++i) {
        if (isSelected(i)) {
            setSelected(i, false);
            --count;
        }
    }
}

void FolderBrowser::setSelected(int i, bool selected)
{
    m_fileSelection.select(fileIndex(i),
                           selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

} // namespace tessel
