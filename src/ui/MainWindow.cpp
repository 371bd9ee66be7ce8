// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "commands/AddSnapshot.h"
#include "commands/Compilation.h"
#include "commands/CompilationCommands.h"
#include "commands/EmulatorTest.h"
#include "commands/HelpViewer.h"
#include "commands/Prompts.h"
#include "commands/RemoveSnapshot.h"
#include "core/InstanceGuard.h"
#include "ui/AboutWindow.h"
#include "ui/Art.h"
#include "ui/Fonts.h"
#include "ui/HoverPreview.h"
#include "ui/ItemViews.h"
#include "ui/Links.h"
#include "ui/ScreenPreview.h"
#include "ui/StartUp.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>
#include <QTreeView>

namespace tessel {

namespace {

template <typename Widget>
Widget* place(Widget* widget, const QString& objectName, const QRect& geometry,
              const QString& accessibleName)
{
    widget->setObjectName(objectName);
    widget->setGeometry(geometry);
    widget->setAccessibleName(accessibleName);
    return widget;
}

} // namespace

MainWindow::MainWindow(const Kit& kit, Prompts& prompts, InstanceGuard& instance,
                       ProcessLauncher& launcher, const VolumeSource& volumes, QWidget* parent)
    : QMainWindow(parent)
    , m_session(kit, prompts)
    , m_browser(kit, m_session.settings, volumes)
    , m_instance(instance)
    , m_launcher(launcher)
{
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(kAppTitle);
    setWindowIcon(boardIcon());
    buildControls();
    buildMenus();
    wireBrowser();
    attachPreviews();
    // A fixed window of dialog style: no resizing, no maximising.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(sizeHint());
    if (const QScreen* display = screen())
        move(display->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips(8505), twips(6525));
    setCentralWidget(client);

    m_browserFrame =
        place(new QGroupBox(tr("Snapshots SNA   "), client), QStringLiteral("frmSelector"),
              twipsRect(120, 120, 6615, 2775), tr("Snapshots SNA"));
    m_fileList = place(new FileListView(m_browserFrame), QStringLiteral("fleSelecciona"),
                       twipsRect(3360, 240, 3135, 2430), tr("Snapshot files"));
    m_folderTree = place(new QTreeView(m_browserFrame), QStringLiteral("dirSelecciona"),
                         twipsRect(120, 720, 3135, 1890), tr("Folders"));
    m_driveList = place(new QComboBox(m_browserFrame), QStringLiteral("drvSelecciona"),
                        twipsRect(120, 240, 3135, 315), tr("Drives"));

    m_listFrame = place(new QGroupBox(tr("SNAs Selected"), client), QStringLiteral("frmFlash"),
                        twipsRect(120, 3240, 8295, 3015), tr("SNAs Selected"));
    // Created before the grid, so the grid covers it until the grid is hidden.
    m_busyLabel = place(new QLabel(tr("Please Wait !"), m_listFrame), QStringLiteral("Label2"),
                        twipsRect(960, 960, 6135, 1335), tr("Please Wait !"));
    QFont busyFont;
    // Where Times New Roman is missing, a serif with the same metrics.
    busyFont.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                          QStringLiteral("Tinos")});
    busyFont.setStyleHint(QFont::Serif);
    busyFont.setPointSize(48);
    busyFont.setBold(true);
    m_busyLabel->setFont(fittedFont(busyFont, m_busyLabel->text(), m_busyLabel->width()));
    // Shown only while busy: covered by the grid, it would still be drawn.
    m_busyLabel->hide();
    m_grid = place(new GridView(m_listFrame), QStringLiteral("msgRom"),
                   twipsRect(120, 240, 8055, 2655), tr("SNAs selected"));

    m_createButton = place(new QToolButton(client), QStringLiteral("cmdFLash"),
                           twipsRect(7080, 1080, 1215, 1095), tr("Create Flash"));
    m_createButton->setText(tr("Create Flash"));
    m_createButton->setToolTip(tr("Crear archivo FLASH"));
    m_createButton->setIcon(windowIcon());
    m_createButton->setIconSize(QSize(32, 32));
    m_createButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_createButton->setFocusPolicy(Qt::StrongFocus);
    connect(m_createButton, &QToolButton::clicked, this, &MainWindow::onCreateFlash);

    // The grid: a header row and ten rows, one cell selected at a time.
    QFont gridFont(QStringLiteral("MS Sans Serif"));
    gridFont.setStyleHint(QFont::SansSerif);
    gridFont.setPointSizeF(8.25);
    m_grid->setFont(gridFont);
    m_grid->setModel(&m_gridRows);
    m_grid->setSelectionModel(&m_gridSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->setTextElideMode(Qt::ElideMiddle);
    // Rows of 240 twips: the header and all ten rows fit without scrolling.
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setMinimumSectionSize(0);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(twips(240));
    m_grid->horizontalHeader()->setSectionsClickable(false);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setMinimumSectionSize(0);
    m_grid->horizontalHeader()->setFixedHeight(m_grid->height() - 2 * m_grid->frameWidth()
                                               - 10 * twips(240));
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_grid, &GridView::deletePressed, this, &MainWindow::removeCurrent);
    connect(m_grid, &GridView::dblClick, this, &MainWindow::onTestSnapshot);
    // Queued: the naming box must not open while the drag source waits.
    const auto drop = [this](const QStringList& paths) { dropFiles(m_session, paths); };
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(m_grid), static_cast<QAbstractItemView*>(m_fileList)}) {
        view->setAcceptDrops(true);
        view->viewport()->setAcceptDrops(true);
    }
    connect(m_grid, &GridView::filesDropped, this, drop, Qt::QueuedConnection);
    connect(m_fileList, &FileListView::filesDropped, this, drop, Qt::QueuedConnection);

    m_fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every entry is one line with the same icon. Without this the list
    // measures every name again each time the folder model adds or sorts
    // rows, which stalls the window on folders of thousands of snapshots.
    m_fileList->setUniformItemSizes(true);
    connect(m_fileList, &FileListView::dblClick, this, &MainWindow::addSelected);

    m_folderTree->setHeaderHidden(true);
    m_folderTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_folderTree->setSelectionMode(QAbstractItemView::SingleSelection);

    m_driveList->setFocusPolicy(Qt::StrongFocus);

    setTabOrder(m_fileList, m_folderTree);
    setTabOrder(m_folderTree, m_driveList);
    setTabOrder(m_driveList, m_grid);
    setTabOrder(m_grid, m_createButton);
    m_fileList->setFocus();
}

void MainWindow::buildMenus()
{
    menuBar()->setNativeMenuBar(false);
    auto item = [this](QMenu* menu, const QString& name, const QString& caption,
                       const QKeySequence& shortcut, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        // Ctrl+C means Create Flash here, wherever the focus is.
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };

    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->setObjectName(QStringLiteral("mnuFichero"));
    item(fileMenu, QStringLiteral("mnuCreate"), tr("Create Flash"),
         QKeySequence(Qt::CTRL | Qt::Key_C), &MainWindow::onCreateFlash);
    item(fileMenu, QStringLiteral("mnuNuevo"), tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N),
         &MainWindow::onNew);
    fileMenu->addSeparator()->setObjectName(QStringLiteral("mnuSeparadorCompilacion"));
    item(fileMenu, QStringLiteral("mnuAbrir"), tr("&Open Compilation..."),
         QKeySequence(Qt::CTRL | Qt::Key_O), &MainWindow::onOpenCompilation);
    item(fileMenu, QStringLiteral("mnuGuardar"), tr("&Save Compilation..."),
         QKeySequence(Qt::CTRL | Qt::Key_S), &MainWindow::onSaveCompilation);
    m_recentMenu = fileMenu->addMenu(tr("&Recent Compilations"));
    m_recentMenu->setObjectName(QStringLiteral("mnuRecientes"));
    m_recentMenu->menuAction()->setObjectName(QStringLiteral("mnuRecientes"));
    item(fileMenu, QStringLiteral("mnuImagen"), tr("Open Flash &Image..."), {},
         &MainWindow::onOpenFlashImage);
    connect(fileMenu, &QMenu::aboutToShow, this, &MainWindow::updateRecentMenu);
    updateRecentMenu();
    fileMenu->addSeparator()->setObjectName(QStringLiteral("mnuSeparador"));
    item(fileMenu, QStringLiteral("mnuSalir"), tr("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_E),
         &QWidget::close);

    QMenu* toolsMenu = menuBar()->addMenu(tr("&Tools"));
    toolsMenu->setObjectName(QStringLiteral("mnuHerramientas"));
    item(toolsMenu, QStringLiteral("mnuEprom"), tr("&Burn EPROM"), {}, &MainWindow::onBurnEprom);
    item(toolsMenu, QStringLiteral("mnuSna"), tr("Test &SNA"), {}, &MainWindow::onTestSnapshot);

    QMenu* helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->setObjectName(QStringLiteral("mnuAyuda"));
    item(helpMenu, QStringLiteral("mnuHelp"), tr("&Help"), {}, &MainWindow::onHelp);
    item(helpMenu, QStringLiteral("mnuAcerca"), tr("A&bout..."), {}, &MainWindow::onAbout);
}

void MainWindow::updateRecentMenu()
{
    m_recentMenu->clear();
    const QStringList paths = RecentCompilations(m_session.settings).paths();
    for (int i = 0; i < paths.size(); ++i) {
        QString shown = QDir::toNativeSeparators(paths.at(i));
        // Long paths keep their start and their file name.
        constexpr int kLongest = 60;
        if (shown.size() > kLongest)
            shown = shown.left(20) + QStringLiteral("...") + shown.right(kLongest - 23);
        QAction* action = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(
            QString::number(i + 1), shown.replace(QLatin1Char('&'), QStringLiteral("&&"))));
        action->setObjectName(QStringLiteral("mnuReciente%1").arg(i + 1));
        connect(action, &QAction::triggered, this, [this, path = paths.at(i)] {
            loadCompilation(m_session, path);
            // Not from within the action that is about to be replaced.
            QMetaObject::invokeMethod(this, &MainWindow::updateRecentMenu, Qt::QueuedConnection);
        });
    }
    m_recentMenu->menuAction()->setEnabled(!paths.isEmpty());
}

// The views show the browser's models; the browser decides, the views follow.
void MainWindow::wireBrowser()
{
    FolderBrowser& browser = m_browser;
    m_driveList->setModel(browser.driveModel());
    m_folderTree->setModel(browser.folderModel());
    m_fileList->setModel(browser.fileModel());
    m_fileList->setSelectionModel(browser.fileSelection());

    connect(m_driveList, &QComboBox::activated, this, &MainWindow::onDriveActivated);
    connect(m_folderTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                // A folder whose name is not valid text cannot be opened by it.
                if (m_syncingFolder || !current.flags().testFlag(Qt::ItemIsEnabled))
                    return;
                m_browser.openFolder(m_browser.folderModel()->filePath(current));
            });
    tellFolderProblems(browser, m_session.prompts);
    connect(&browser, &FolderBrowser::driveChanged, this, &MainWindow::showDrive);
    connect(&browser, &FolderBrowser::pathChanged, this, &MainWindow::showFolder);
    // The folder tree reads in the background: once the folders on the way
    // to the current one are in, the current one can be shown.
    connect(browser.folderModel(), &FolderTreeModel::pathLoaded, this,
            [this](const QString& loaded) {
                if (loaded == m_browser.path())
                    showFolder(loaded);
            });
    // A view scrolled before it was first laid out may have scrolled wrong.
    m_folderTree->installEventFilter(this);

    showDrive(browser.drive());
    showFolder(browser.path());
}

// Pointing at a file, or moving to it with the keys, shows its loading
// screen beside it; no control of the window moves for it.
void MainWindow::attachPreviews()
{
    m_filePreview = new HoverPreview(*m_fileList, m_screens, [this](const QModelIndex& index) {
        return m_browser.filePath(index);
    });
    m_gridPreview = new HoverPreview(*m_grid, m_screens, [this](const QModelIndex& index) {
        return m_session.list.entry(index.row()).path;
    });
    // The entries under a resting pointer change: the old picture goes.
    connect(&m_browser, &FolderBrowser::fileListChanged, m_filePreview, &HoverPreview::dismiss);
    connect(&m_gridRows, &QAbstractItemModel::dataChanged, m_gridPreview, &HoverPreview::dismiss);
    connect(&m_gridRows, &QAbstractItemModel::modelReset, m_gridPreview, &HoverPreview::dismiss);
}

void MainWindow::showDrive(const QString& root)
{
    const int index = m_driveList->findData(root, FolderBrowser::kRootRole);
    m_driveList->setCurrentIndex(index);
}

// The root folder has no row; another folder has one once the tree has read
// its way to it (pathLoaded then calls again).
void MainWindow::showFolder(const QString& path)
{
    const QModelIndex folder = m_browser.folderModel()->index(path);
    m_syncingFolder = true;
    m_folderTree->setCurrentIndex(folder);
    if (folder.isValid()) {
        m_folderTree->expand(folder);
        m_folderTree->scrollTo(folder);
    }
    m_syncingFolder = false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_folderTree && event->type() == QEvent::Show
        && m_folderTree->currentIndex().isValid())
        m_folderTree->scrollTo(m_folderTree->currentIndex());
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::startUp()
{
    if (!m_instance.tryAcquire()) {
        close();
        return false;
    }
    m_grid->setColumnWidth(SnapshotList::PathColumn, twips(6000));
    m_grid->setColumnWidth(SnapshotList::NameColumn, twips(2040));
    setCurrentRow(-1);
    tessel::startUp(m_session, m_browser);
    return true;
}

int MainWindow::currentRow() const
{
    const QModelIndex index = m_gridSelection.currentIndex();
    return index.isValid() ? index.row() : -1;
}

void MainWindow::setCurrentRow(int row)
{
    if (row < 0 || row >= m_gridRows.rowCount()) {
        m_gridSelection.clear();
        return;
    }
    m_gridSelection.setCurrentIndex(m_gridRows.index(row, 0), QItemSelectionModel::ClearAndSelect
                                                                  | QItemSelectionModel::Rows);
}

void MainWindow::removeCurrent()
{
    setCurrentRow(removeEntry(m_session.list, currentRow(), m_session.prompts));
}

void MainWindow::addSelected()
{
    QStringList selected;
    for (int i = 0; i < m_browser.listCount() && !m_session.list.isFull(); ++i) {
        if (!m_browser.isSelected(i))
            continue;
        QString error;
        const std::optional<QString> path = m_browser.filePath(i, &error);
        if (!path) {
            // A name that does not lead back to its file is refused like a bad file.
            m_session.prompts.message(error, kAppTitle, Icon::Exclamation, Buttons::Ok);
            m_browser.setSelected(i, false);
            return;
        }
        selected << *path;
    }
    // Nothing selected and room left: nothing to do and nothing to say.
    if (selected.isEmpty() && !m_session.list.isFull())
        return;
    m_browser.deselectFirst(
        addSnapshots(m_session.list, selected, m_session.prompts, &m_session.kit));
}

void MainWindow::onDriveActivated(int index)
{
    const QString root = m_driveList->itemData(index, FolderBrowser::kRootRole).toString();
    m_browser.setDrive(root);
    showDrive(m_browser.drive());
}

void MainWindow::onNew()
{
    clearList(m_session.list, m_session.prompts);
}

void MainWindow::onOpenCompilation()
{
    openCompilation(m_session, m_browser.path());
    updateRecentMenu();
}

void MainWindow::onSaveCompilation()
{
    saveCompilation(m_session, m_browser.path());
    updateRecentMenu();
}

void MainWindow::onOpenFlashImage()
{
    openFlashImage(m_session);
    updateRecentMenu();
}

void MainWindow::onCreateFlash()
{
    runCreateFlash(m_session.list.entries(), m_session.kit, m_session.prompts, m_busy);
}

void MainWindow::BusyWindow::show()
{
    m_window.setCursor(Qt::WaitCursor);
    m_window.m_busyLabel->show();
    m_window.m_grid->hide();
    m_window.repaint();
}

void MainWindow::BusyWindow::hide()
{
    m_window.m_grid->show();
    m_window.m_busyLabel->hide();
    m_window.unsetCursor();
    m_window.repaint();
}

void MainWindow::onBurnEprom()
{
    m_session.prompts.message(
        tr("This funtion is not implemeted yet.\rStay tunned: %1").arg(kNewsPage),
        tr("Tessel Burning"), Icon::Information, Buttons::Ok);
}

void MainWindow::onTestSnapshot()
{
    testSnapshot(m_session.list.entry(currentRow()).path, m_session.kit, m_session.prompts,
                 m_launcher);
}

void MainWindow::onHelp()
{
    openHelp(m_session.kit, m_session.prompts, m_launcher);
}

// The About window has no owner: it neither blocks this window nor closes
// with it, and there is never more than one.
void MainWindow::onAbout()
{
    if (!m_about)
        m_about = new AboutWindow;
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

} // namespace tessel
