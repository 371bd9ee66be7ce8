// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/FolderBrowser.h"

#include "core/Errors.h"
#include "formats/FormatLibrary.h"
#include "formats/SnapshotReader.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace tessel {

namespace {
QString cleanFolder(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}
} // namespace

FolderBrowser::FolderBrowser(const Kit& kit, const Settings& settings, const VolumeSource& volumes,
                             QObject* parent)
    : QObject(parent)
    , m_kit(kit)
    , m_settings(settings)
    , m_volumes(volumes)
    , m_fileSelection(&m_fileList)
{
    // Every snapshot and tape format the program takes, in any letter case.
    m_fileList.setNameFilters(snapshotNamePatterns() + tapeNamePatterns());
    connect(&m_fileList, &FileListModel::folderLoaded, this, &FolderBrowser::onFileListLoaded);
    connect(&m_fileList, &FileListModel::folderFailed, this,
            [this](const QString& folder) { onFileListFailed(folder); });
    connect(&m_volumes, &VolumeSource::volumesChanged, this, &FolderBrowser::refreshDrives);
    refreshDrives();

    // Until start-up positions them, the lists are on the process's current
    // folder; it is read only if nothing has moved them by the time the
    // event loop runs, which start-up always does.
    m_path = cleanFolder(QDir::currentPath());
    m_drive = m_volumes.rootOf(m_path);
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (std::exchange(m_listed, true))
                return;
            m_fileList.setFolder(m_path);
            m_folderModel.setRootPath(m_drive);
            m_folderModel.loadPath(m_path);
        },
        Qt::QueuedConnection);
}

void FolderBrowser::refreshDrives()
{
    const QList<Volume> volumes = m_volumes.volumes();
    auto rootAt = [this](int row) { return m_driveModel.item(row)->data(kRootRole).toString(); };
    auto rowOf = [&](const QString& root, int from) {
        for (int row = from; row < m_driveModel.rowCount(); ++row) {
            if (rootAt(row) == root)
                return row;
        }
        return -1;
    };
    // Row by row, so the drive list's views keep their current row: drives
    // gone leave, new ones come in at their place.
    for (int row = m_driveModel.rowCount() - 1; row >= 0; --row) {
        const QString root = rootAt(row);
        if (std::none_of(volumes.begin(), volumes.end(),
                         [&root](const Volume& v) { return v.root == root; }))
            m_driveModel.removeRow(row);
    }
    for (int i = 0; i < volumes.size(); ++i) {
        const Volume& volume = volumes[i];
        const int row = rowOf(volume.root, i);
        if (row > i) // the source's order changed
            m_driveModel.insertRow(i, m_driveModel.takeRow(row));
        if (row >= i) {
            m_driveModel.item(i)->setText(volume.displayText());
            continue;
        }
        auto* item = new QStandardItem(volume.displayText());
        item->setData(volume.root, kRootRole);
        item->setEditable(false);
        m_driveModel.insertRow(i, item);
    }

    if (m_drive.isEmpty() || rowOf(m_drive, 0) >= 0)
        return;
    // The current drive was unmounted: back to the program's own drive.
    const QString home = m_volumes.rootOf(m_kit.programFolder());
    if (!home.isEmpty() && home != m_drive)
        setDrive(home);
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
        emit problem(FolderProblem::NoDisk, m_drive);
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
    const bool wasListed = std::exchange(m_listed, true);
    if (folder == m_path && wasListed)
        return BrowserError::None;
    m_path = folder;
    // The file list asks first: the tree then shares its reading, files
    // and all, rather than starting one of its own without them.
    const bool listed = listFolder();
    const QString root = m_volumes.rootOf(m_path);
    if (m_folderModel.rootPath() != root)
        m_folderModel.setRootPath(root);
    m_folderModel.loadPath(m_path);
    emit pathChanged(m_path);
    if (!listed)
        reportUnreadable(m_path);
    return BrowserError::None;
}

void FolderBrowser::openFolder(const QString& path)
{
    const BrowserError error = setPath(path);
    if (error == BrowserError::None)
        return;
    if (error == BrowserError::Unreadable)
        reportUnreadable(cleanFolder(path));
    else
        emit problem(FolderProblem::Gone, path);
    emit pathChanged(m_path); // puts the folder list back on the folder it shows
}

// The file list is read in the background; the folder is recorded once the
// list holds its files. False for a folder that cannot be read.
bool FolderBrowser::listFolder()
{
    const QFileInfo folder(m_path);
    m_fileSelection.clear();
    if (!folder.isDir() || !folder.isReadable() || !folder.isExecutable()) {
        // The last folder's names must not pass for this folder's files.
        m_toRecord.clear();
        m_fileList.setFolder({});
        return false;
    }
    m_toRecord = m_path;
    m_fileList.setFolder(m_path);
    return true;
}

void FolderBrowser::onFileListLoaded(const QString& folder)
{
    emit fileListChanged(folder);
    // Writing the value the key already holds leaves the file untouched.
    if (folder == m_toRecord)
        m_settings.setSnapshotFolder(folder);
}

void FolderBrowser::onFileListFailed(const QString& folder)
{
    if (folder == m_toRecord)
        reportUnreadable(folder);
}

void FolderBrowser::reportUnreadable(const QString& folder)
{
    emit problem(FolderProblem::Unreadable, folder);
}

int FolderBrowser::listCount() const
{
    return m_fileList.rowCount();
}

QString FolderBrowser::list(int i) const
{
    return m_fileList.fileName(i);
}

bool FolderBrowser::isSelected(int i) const
{
    return m_fileSelection.isSelected(m_fileList.index(i));
}

void FolderBrowser::setSelected(int i, bool selected)
{
    m_fileSelection.select(m_fileList.index(i),
                           selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

std::optional<QString> FolderBrowser::filePath(int i, QString* error) const
{
    const QString path =
        QDir::toNativeSeparators(QDir(m_fileList.folder()).filePath(m_fileList.fileName(i)));
    if (i < 0 || i >= listCount()) {
        fail(error, tr("The file list has no entry %1.").arg(i + 1));
        return std::nullopt;
    }
    if (!m_fileList.hasExactName(i)) {
        fail(error, tr("The file %1 cannot be opened: its name is not valid text on "
                       "this system. Rename the file and choose it again.")
                        .arg(quotedPath(path)));
        return std::nullopt;
    }
    return path;
}

QString FolderBrowser::filePath(const QModelIndex& index) const
{
    return index.isValid() ? filePath(index.row(), nullptr).value_or(QString()) : QString();
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

} // namespace tessel
