#pragma once

#include "core/Session.h"
#include "flash/CreateFlash.h"
#include "ui/AboutWindow.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QToolButton;
class QTreeView;

namespace tessel {

class InstanceGuard;
class ProcessLauncher;
class FileListView;
class GridView;

// The main window: the snapshot browser, the list grid, Create Flash and the
// menus. Each event reaches one handler named after its control.
class frmPrincipal : public QMainWindow
{
    Q_OBJECT

public:
    frmPrincipal(const Kit& kit, Prompts& prompts, InstanceGuard& instance,
                 ProcessLauncher& launcher, const VolumeSource& volumes, QWidget* parent = nullptr);
    ~frmPrincipal() override;

    // Start-up, before the window is first shown. False when another
    // instance runs: the window has closed and the program should end.
    bool Form_Load();

    // Closes the window; never refuses. The flag is left as it is.
    void salir(qint16& cancel);

    Session& session() { return m_session; }
    frmAcerca* aboutWindow() const { return m_about; }

public slots:
    void mnuNuevo_Click();
    void mnuCreate_Click();
    void cmdFLash_Click();
    void mnuSalir_Click();
    void mnuEprom_Click();
    void mnuSna_Click();
    void mnuHelp_Click();
    void mnuAcerca_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_QueryUnload(qint16& cancel, qint16 unloadMode);
    void drvSelecciona_Change(int index);
    void fleSelecciona_DblClick();
    void msgRom_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void msgRom_DblClick();

    void buildControls();
    void buildMenus();
    void wireBrowser();
    void showDrive(const QString& root);
    void showFolder(const QString& path);

    // The busy sign of Create Flash: hourglass, grid hidden, repainted at once.
    class BusyWindow final : public BusySign
    {
    public:
        explicit BusyWindow(frmPrincipal& window)
            : m_window(window)
        { }
        void show() override;
        void hide() override;

    private:
        frmPrincipal& m_window;
    };

    Session m_session;
    BusyWindow m_busy{*this};
    InstanceGuard& m_instance;
    ProcessLauncher& m_launcher;
    bool m_syncingFolder = false;
    QPointer<frmAcerca> m_about;

    QGroupBox* frmSelector = nullptr;
    FileListView* fleSelecciona = nullptr;
    QTreeView* dirSelecciona = nullptr;
    QComboBox* drvSelecciona = nullptr;
    QGroupBox* frmFlash = nullptr;
    GridView* msgRom = nullptr;
    QToolButton* cmdFLash = nullptr;
    QLabel* Label2 = nullptr;
};

} // namespace tessel
