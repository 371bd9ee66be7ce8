// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/FileListModel.h"
#include "browser/FolderListings.h"
#include "browser/FolderTreeModel.h"
#include "browser/Volumes.h"
#include "core/Kit.h"
#include "core/Settings.h"

#include <QItemSelectionModel>
#include <QObject>
#include <QStandardItemModel>

#include <optional>

namespace tessel {

// What setting the drive or folder list can fail with.
enum class BrowserError {
    None,
    PathNotFound, // the folder does not exist
    Unreadable, // the folder exists but its files cannot be listed
    DeviceUnavailable, // the drive holds no medium or cannot be read
    Other,
};

// What the browser could not show; the window tells the user.
enum class FolderProblem {
    NoDisk, // a drive without a medium, or one that cannot be read
    Gone, // a folder the user opened no longer exists
    Unreadable, // a folder whose files cannot be listed
};

// The snapshot browser: the drive list, the folder list and the file list,
// as models the window's views show. It keeps the three in step and records
// every folder the file list shows in the settings file. Folders are read in
// the background: the file list of a new folder is empty until
// fileListChanged, and the folder is recorded then.
class FolderBrowser : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRootRole = Qt::UserRole + 1;

    // The drive list follows the volume source's changes.
    FolderBrowser(const Kit& kit, const Settings& settings, const VolumeSource& volumes,
                  QObject* parent = nullptr);

    // The drive list: the root of the current volume.
    QString drive() const { return m_drive; }
    // Sets the drive; a different drive moves the folder list to its root.
    void setDrive(const QString& root);

    // The folder list: the current folder.
    QString path() const { return m_path; }
    // Sets the folder; a different folder fills the file list and is recorded.
    // A folder that is missing or cannot be read changes nothing.
    BrowserError setPath(const QString& path);
    // A folder the user opened in the folder list: a failure is reported.
    void openFolder(const QString& path);

    // The file list, entry by entry in the order it shows them.
    int listCount() const;
    QString list(int i) const;
    bool isSelected(int i) const;
    void setSelected(int i, bool selected);
    // The full path of entry i, with native separators. Fails for a name
    // that does not lead back to its file.
    std::optional<QString> filePath(int i, QString* error) const;
    // The same for an index of the file list; empty when there is none.
    QString filePath(const QModelIndex& index) const;
    // Deselects the first `count` selected entries.
    void deselectFirst(int count);
    // The folder the file list shows, or is reading.
    QString fileListPath() const { return m_fileList.folder(); }
    // True once the file list holds that folder's files.
    bool isFileListLoaded() const { return m_fileList.isLoaded(); }

    QStandardItemModel* driveModel() { return &m_driveModel; }
    FolderTreeModel* folderModel() { return &m_folderModel; }
    FileListModel* fileModel() { return &m_fileList; }
    QItemSelectionModel* fileSelection() { return &m_fileSelection; }
    // The file list is flat: its entries hang under the invalid index.
    QModelIndex fileListRoot() const { return {}; }

    // The root of the drive that holds a path.
    QString rootOf(const QString& path) const { return m_volumes.rootOf(path); }

    // Brings the drive list in line with the volume source; rows of drives
    // still there stay as they are. A current drive that is gone gives way
    // to the program folder's drive.
    void refreshDrives();

signals:
    void driveChanged(const QString& root);
    void pathChanged(const QString& path);
    // The file list now holds the files of path.
    void fileListChanged(const QString& path);
    // Told while the browser works: a handler that asks the user runs before
    // the browser goes on (to the program's drive, after NoDisk).
    void problem(FolderProblem problem, const QString& folder);

private:
    void onDriveChanged();
    bool listFolder();
    void onFileListLoaded(const QString& folder);
    void onFileListFailed(const QString& folder);
    void reportUnreadable(const QString& folder);

    Kit m_kit;
    Settings m_settings;
    const VolumeSource& m_volumes;
    QString m_drive;
    QString m_path;
    QString m_toRecord; // the folder to record once the file list holds it
    bool m_listed = false; // the lists have been given a folder
    QStandardItemModel m_driveModel;
    FolderListings m_listings; // before the models, which hold its listings
    FolderTreeModel m_folderModel{m_listings};
    FileListModel m_fileList{m_listings};
    QItemSelectionModel m_fileSelection;
};

} // namespace tessel
