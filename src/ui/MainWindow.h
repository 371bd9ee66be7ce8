// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/FolderBrowser.h"
#include "commands/CreateFlash.h"
#include "commands/EmulatorTest.h"
#include "commands/Session.h"
#include "screens/ScreenCache.h"
#include "ui/AboutWindow.h"
#include "ui/FirmwareWindow.h"
#include "ui/GridRows.h"
#include "ui/HelpWindow.h"
#include "ui/ImageContentsWindow.h"
#include "ui/ListHistory.h"

#include <QItemSelectionModel>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QMimeData;
class QToolButton;

namespace tessel {

class InstanceGuard;
class ProcessLauncher;
class FileListView;
class FolderTreeView;
class GridView;
class HoverPreview;

// The main window: the snapshot browser, the grid that lists the
// compilation, Create Flash and the menus. The widgets keep their designed
// object names (frmPrincipal, fleSelecciona, msgRom, ...).
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(const Kit& kit, Prompts& prompts, InstanceGuard& instance, ProcessLauncher& launcher,
               const VolumeSource& volumes, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up, before the window is first shown. False when another
    // instance runs: the window has closed and the program should end.
    bool startUp();

    Session& session() { return m_session; }
    FolderBrowser& browser() { return m_browser; }

    // The grid's current row, 0-based, blank rows included; -1 while the
    // header row is current, as after start-up, so that no snapshot row is.
    int currentRow() const;
    void setCurrentRow(int row);
    // The Delete key on the grid: removes the current row's entry.
    void removeCurrent();
    // Edit > Rename (F2): the current row's name edited in place.
    void renameCurrent();
    // Edit > Move Up and Move Down (Alt+Up, Alt+Down): the current row's
    // entry moves `by` rows, and stays current.
    void moveCurrent(int by);
    ListHistory& history() { return m_history; }
    // The one change Edit > Trainers... makes, one undo step: the trainers
    // applied to the entry of a row.
    void setTrainers(int row, const QList<Trainer>& trainers);
    // Loading screens for the previews and the naming box.
    ScreenCache& screenCache() { return m_screens; }
    AboutWindow* aboutWindow() const { return m_about; }
    HelpWindow* helpWindow() const { return m_help; }
    FirmwareWindow* firmwareWindow() const { return m_firmware; }
    ImageContentsWindow* imageContentsWindow() const { return m_contents; }
    const EmulatorTest& emulatorTest() const { return m_emulatorTest; }

    // A later start of the same kit gave way to this one: the window shows
    // and comes to the front, with whatever dialog it has open.
    void bringToFront();

public slots:
    void onNew();
    void onAddFolder();
    // Files dropped on the file list or the grid.
    void onDrop(const QStringList& paths);
    void onOpenCompilation();
    void onSaveCompilation();
    void onOpenFlashImage();
    void onImageContents();
    void onCreateFlash();
    void onBurnEprom();
    void onTestSnapshot();
    void onFirmware();
    // Edit > Trainers...: the current row's trainers, chosen in their window.
    void onTrainers();
    void onHelp();
    void onAbout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing asks about changes no file holds.
    void closeEvent(QCloseEvent* event) override;

private:
    // The file list's double click: adds the selected file.
    void addSelected();
    void onDriveActivated(int index);

    void buildControls();
    void buildMenus();
    void buildEditMenu();
    // The title names the compilation, with the mark of unsaved changes.
    void updateTitle();
    // Rename and the moves, for what the current row allows.
    void updateEditActions();
    // An entry dragged within the grid, dropped before `row`.
    void dropRow(const QMimeData* data, int row);
    void attachPreviews();
    // The File menu's recent compilations, as the settings file lists them.
    void updateRecentMenu();
    void wireBrowser();
    void showDrive(const QString& root);
    void showFolder(const QString& path);

    // The busy sign of Create Flash: hourglass, grid hidden, repainted at once.
    class BusyWindow final : public BusySign
    {
    public:
        explicit BusyWindow(MainWindow& window)
            : m_window(window)
        { }
        void show() override;
        void hide() override;

    private:
        MainWindow& m_window;
    };

    Session m_session;
    FolderBrowser m_browser;
    GridRows m_gridRows{m_session.list};
    QItemSelectionModel m_gridSelection{&m_gridRows};
    // A child, so that its actions are found among the window's.
    ListHistory m_history{m_session, [this] { return currentRow(); },
                          [this](int row) { setCurrentRow(row); }, this};
    ScreenCache m_screens;
    BusyWindow m_busy{*this};
    InstanceGuard& m_instance;
    ProcessLauncher& m_launcher;
    QPointer<AboutWindow> m_about;
    QPointer<HelpWindow> m_help;
    QPointer<FirmwareWindow> m_firmware;
    QPointer<ImageContentsWindow> m_contents;
    EmulatorTest m_emulatorTest;

    QGroupBox* m_browserFrame = nullptr;
    FileListView* m_fileList = nullptr;
    FolderTreeView* m_folderTree = nullptr;
    QComboBox* m_driveList = nullptr;
    QGroupBox* m_listFrame = nullptr;
    GridView* m_grid = nullptr;
    QToolButton* m_createButton = nullptr;
    QLabel* m_busyLabel = nullptr;
    HoverPreview* m_filePreview = nullptr;
    HoverPreview* m_gridPreview = nullptr;
    QMenu* m_recentMenu = nullptr;
    QAction* m_renameAction = nullptr;
    QAction* m_moveUpAction = nullptr;
    QAction* m_moveDownAction = nullptr;
    QAction* m_trainersAction = nullptr;
};

} // namespace tessel
