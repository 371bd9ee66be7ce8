#pragma once

#include "core/Kit.h"
#include "core/Settings.h"
#include "snapshots/Volumes.h"

#include <QAbstractFileIconProvider>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QObject>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

namespace tessel {

class Prompts;

// Icons by kind, file or folder. Qt's default looks up each entry's content
// type on the window's thread, opening files whose name says nothing; on a
// folder of many files that froze the window for seconds.
class KindIconProvider final : public QAbstractFileIconProvider
{
public:
    KindIconProvider();
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QIcon m_file;
    QIcon m_folder;
};

// The file list's view of the file-system model: the matching files of one
// folder. The model itself keeps every folder, so that the list's root never
// vanishes while the model refreshes the folders above it.
class FileListModel final : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit FileListModel(QFileSystemModel& files, QObject* parent = nullptr);

    void setFolder(const QString& folder);
    QModelIndex folderIndex() const;
    QString fileName(const QModelIndex& index) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QFileSystemModel& m_files;
    QString m_folder;
};

// What setting the drive or folder list can fail with.
enum class BrowserError {
    None,
    PathNotFound, // the folder does not exist
    Unreadable, // the folder exists but its files cannot be listed
    DeviceUnavailable, // the drive holds no medium or cannot be read
    Other,
};

// The snapshot browser: the drive list, the folder list and the file list, as
// models the window's views show. It keeps the three in step and records
// every folder the file list shows in the settings file.
class FolderBrowser : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRootRole = Qt::UserRole + 1;

    FolderBrowser(const Kit& kit, const Settings& settings, Prompts& prompts,
                  const VolumeSource& volumes, QObject* parent = nullptr);

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
    // The file list's folder.
    QString fileListPath() const { return m_fileModel.rootPath(); }
    // The full path of the file an entry of the file list stands for.
    QString filePath(const QModelIndex& index) const;
    // The full paths of the selected entries, in list order.
    QStringList selectedPaths() const;
    // Deselects the first `count` selected entries.
    void deselectFirst(int count);

    QStandardItemModel* driveModel() { return &m_driveModel; }
    QFileSystemModel* folderModel() { return &m_folderModel; }
    QAbstractItemModel* fileModel() { return &m_fileList; }
    QItemSelectionModel* fileSelection() { return &m_fileSelection; }
    QModelIndex fileListRoot() const;

    // The root of the drive that holds a path.
    QString rootOf(const QString& path) const { return m_volumes.rootOf(path); }

    // Fills the drive list anew from the volume source.
    void refreshDrives();

signals:
    void driveChanged(const QString& root);
    void pathChanged(const QString& path);
    void fileListChanged(const QString& path);

private:
    void onDriveChanged();
    void onFolderChanged();
    QModelIndex fileIndex(int i) const;

    Kit m_kit;
    Settings m_settings;
    Prompts& m_prompts;
    const VolumeSource& m_volumes;
    QString m_drive;
    QString m_path;
    QStandardItemModel m_driveModel;
    KindIconProvider m_icons; // outlives the models that use it
    QFileSystemModel m_folderModel;
    QFileSystemModel m_fileModel;
    FileListModel m_fileList;
    QItemSelectionModel m_fileSelection;
};

} // namespace tessel
