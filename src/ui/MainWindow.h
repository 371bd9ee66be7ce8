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

#include <QItemSelectionModel>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QToolButton;
class QTreeView;

namespace tessel {

class InstanceGuard;
class ProcessLauncher;
class FileListView;
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
    void onOpenCompilation();
    void onSaveCompilation();
    void onOpenFlashImage();
    void onImageContents();
    void onCreateFlash();
    void onBurnEprom();
    void onTestSnapshot();
    void onFirmware();
    void onHelp();
    void onAbout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The file list's double click: adds the selected file.
    void addSelected();
    void onDriveActivated(int index);

    void buildControls();
    void buildMenus();
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
    ScreenCache m_screens;
    BusyWindow m_busy{*this};
    InstanceGuard& m_instance;
    ProcessLauncher& m_launcher;
    bool m_syncingFolder = false;
    QPointer<AboutWindow> m_about;
    QPointer<HelpWindow> m_help;
    QPointer<FirmwareWindow> m_firmware;
    QPointer<ImageContentsWindow> m_contents;
    EmulatorTest m_emulatorTest;

    QGroupBox* m_browserFrame = nullptr;
    FileListView* m_fileList = nullptr;
    QTreeView* m_folderTree = nullptr;
    QComboBox* m_driveList = nullptr;
    QGroupBox* m_listFrame = nullptr;
    GridView* m_grid = nullptr;
    QToolButton* m_createButton = nullptr;
    QLabel* m_busyLabel = nullptr;
    HoverPreview* m_filePreview = nullptr;
    HoverPreview* m_gridPreview = nullptr;
    QMenu* m_recentMenu = nullptr;
};

} // namespace tessel
