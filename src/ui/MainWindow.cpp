// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "browser/FolderListing.h"
#include "commands/AddFiles.h"
#include "commands/AddSnapshot.h"
#include "commands/Compilation.h"
#include "commands/CompilationCommands.h"
#include "commands/EditEntry.h"
#include "commands/EmulatorTest.h"
#include "commands/HelpViewer.h"
#include "commands/Prompts.h"
#include "commands/RemoveSnapshot.h"
#include "core/Errors.h"
#include "core/InstanceGuard.h"
#include "formats/FormatLibrary.h"
#include "formats/SnapshotReader.h"
#include "ui/AboutWindow.h"
#include "ui/Art.h"
#include "ui/FirmwareWindow.h"
#include "ui/Fonts.h"
#include "ui/HelpWindow.h"
#include "ui/HoverPreview.h"
#include "ui/ImageContentsWindow.h"
#include "ui/ItemViews.h"
#include "ui/Links.h"
#include "ui/MachineMarks.h"
#include "ui/NameEditor.h"
#include "ui/ScreenPreview.h"
#include "ui/StartUp.h"
#include "ui/TrainersWindow.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QToolButton>

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

// A folder's snapshots and tapes as the file list would show them there.
std::optional<FolderFiles> snapshotFiles(const QString& folder, QString* error)
{
    const FolderContents listed = readFolder(folder, snapshotNamePatterns() + tapeNamePatterns());
    if (!listed.ok) {
        if (error)
            *error = listed.error;
        return std::nullopt;
    }
    const QDir dir(folder);
    FolderFiles files;
    for (const FolderEntry& entry : listed.files) {
        const QString path = QDir::toNativeSeparators(dir.filePath(entry.name));
        if (entry.exactName)
            files.paths << path;
        else
            files.refused << MainWindow::tr("The file %1 cannot be opened: its name is not valid "
                                            "text on this system. Rename the file to add it.")
                                 .arg(quotedPath(path));
    }
    return files;
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
    setWindowIcon(boardIcon());
    buildControls();
    buildMenus();
    wireBrowser();
    attachPreviews();
    connect(&m_session.captures, &ListCaptures::changed, this, [this] {
        updateTitle();
        updateEditActions();
    });
    connect(&m_gridSelection, &QItemSelectionModel::currentChanged, this,
            &MainWindow::updateEditActions);
    updateTitle();
    updateEditActions();
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
    m_folderTree = place(new FolderTreeView(m_browserFrame), QStringLiteral("dirSelecciona"),
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
    // Fitted to its width when first shown: finding the serif and measuring
    // in it took a third of building the window.
    m_busyLabel->setFont(busyFont);
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
    // An entry is dragged within the grid and renamed in place; double
    // clicks stay with Test SNA.
    m_grid->setDragEnabled(true);
    connect(m_grid, &GridView::rowDropped, this, &MainWindow::dropRow);
    auto* names = new NameDelegate(m_grid);
    m_grid->setItemDelegateForColumn(SnapshotList::NameColumn, names);
    // Queued: a refusal's message waits until the editor has closed.
    connect(
        names, &NameDelegate::renamed, this,
        [this](int row, const QString& name) {
            m_history.edit(ListChange::Rename,
                           [&] { renameEntry(m_session.list, row, name, m_session.prompts); });
        },
        Qt::QueuedConnection);
    // Queued: the naming box must not open while the drag source waits.
    const auto drop = [this](const QStringList& paths) { onDrop(paths); };
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
    item(fileMenu, QStringLiteral("mnuCarpeta"), tr("&Add Folder..."), {},
         &MainWindow::onAddFolder);
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
    item(fileMenu, QStringLiteral("mnuImageContents"), tr("Image &Contents..."), {},
         &MainWindow::onImageContents);
    connect(fileMenu, &QMenu::aboutToShow, this, &MainWindow::updateRecentMenu);
    updateRecentMenu();
    fileMenu->addSeparator()->setObjectName(QStringLiteral("mnuSeparador"));
    item(fileMenu, QStringLiteral("mnuSalir"), tr("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_E),
         &QWidget::close);

    buildEditMenu();

    QMenu* toolsMenu = menuBar()->addMenu(tr("&Tools"));
    toolsMenu->setObjectName(QStringLiteral("mnuHerramientas"));
    item(toolsMenu, QStringLiteral("mnuEprom"), tr("&Burn EPROM"), {}, &MainWindow::onBurnEprom);
    item(toolsMenu, QStringLiteral("mnuSna"), tr("Test &SNA"), {}, &MainWindow::onTestSnapshot);
    item(toolsMenu, QStringLiteral("mnuFirmware"), tr("&Firmware..."), {}, &MainWindow::onFirmware);

    QMenu* helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->setObjectName(QStringLiteral("mnuAyuda"));
    item(helpMenu, QStringLiteral("mnuHelp"), tr("&Help"), {}, &MainWindow::onHelp);
    item(helpMenu, QStringLiteral("mnuAcerca"), tr("A&bout..."), {}, &MainWindow::onAbout);
}

void MainWindow::buildEditMenu()
{
    QMenu* editMenu = menuBar()->addMenu(tr("&Edit"));
    editMenu->setObjectName(QStringLiteral("mnuEdit"));
    editMenu->addAction(m_history.undoAction());
    editMenu->addAction(m_history.redoAction());
    editMenu->addSeparator()->setObjectName(QStringLiteral("mnuEditSeparator"));
    // These act on the grid's current row: their keys work in the grid, and
    // Alt+Up and Alt+Down keep their meaning in the other controls.
    const auto rowItem = [this, editMenu](const char* name, const QString& caption,
                                          const QKeySequence& shortcut, auto handler) {
        QAction* action = editMenu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WidgetShortcut);
        m_grid->addAction(action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    m_renameAction =
        rowItem("mnuRename", tr("&Rename"), QKeySequence(Qt::Key_F2), [this] { renameCurrent(); });
    m_moveUpAction = rowItem("mnuMoveUp", tr("Move &Up"), QKeySequence(Qt::ALT | Qt::Key_Up),
                             [this] { moveCurrent(-1); });
    m_moveDownAction = rowItem("mnuMoveDown", tr("Move &Down"),
                               QKeySequence(Qt::ALT | Qt::Key_Down), [this] { moveCurrent(1); });
    editMenu->addSeparator()->setObjectName(QStringLiteral("mnuEditSeparator2"));
    m_trainersAction = rowItem("mnuTrainers", tr("&Trainers..."),
                               QKeySequence(Qt::CTRL | Qt::Key_T), [this] { onTrainers(); });
    // No other control gives Ctrl+T a meaning of its own.
    m_trainersAction->setShortcutContext(Qt::WindowShortcut);
}

void MainWindow::updateTitle()
{
    QString name = m_session.captures.compilationName();
    // A "[*]" of the file's own name is not the mark: doubled, Qt shows it as it is.
    name.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    setWindowTitle(name.isEmpty() ? kAppTitle + QLatin1String("[*]")
                                  : tr("%1[*] - %2").arg(name, kAppTitle));
    setWindowModified(m_session.captures.hasUnsavedChanges());
}

void MainWindow::updateEditActions()
{
    const int row = currentRow();
    const bool entry = row >= 0 && row < m_session.list.count();
    m_renameAction->setEnabled(entry);
    m_trainersAction->setEnabled(entry);
    m_moveUpAction->setEnabled(entry && row > 0);
    m_moveDownAction->setEnabled(entry && row + 1 < m_session.list.count());
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
            m_history.edit(ListChange::OpenCompilation, [&] { loadCompilation(m_session, path); });
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
    connect(m_folderTree, &FolderTreeView::folderChosen, this, [this](const QModelIndex& folder) {
        // A folder whose name is not valid text cannot be opened by it.
        if (folder.flags().testFlag(Qt::ItemIsEnabled))
            m_browser.openFolder(m_browser.folderModel()->filePath(folder));
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
// screen beside the window; no control of the window moves for it. The
// file list marks what the cartridge cannot take for its machine.
void MainWindow::attachPreviews()
{
    const auto filePath = [this](const QModelIndex& index) { return m_browser.filePath(index); };
    m_filePreview = new HoverPreview(*m_fileList, m_screens, filePath);
    m_gridPreview = new HoverPreview(*m_grid, m_screens, [this](const QModelIndex& index) {
        return m_session.list.entry(index.row()).path;
    });
    // Each list stays in sight while the other is browsed.
    m_filePreview->alsoAvoid(*m_grid);
    m_gridPreview->alsoAvoid(*m_fileList);
    new MachineMarks(*m_fileList, m_screens, filePath);
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
    m_folderTree->showFolder(m_browser.folderModel()->index(path));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_folderTree && event->type() == QEvent::Show
        && m_folderTree->currentIndex().isValid())
        m_folderTree->scrollTo(m_folderTree->currentIndex());
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!settleChanges(m_session)) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool MainWindow::startUp()
{
    if (!m_instance.tryAcquire()) {
        close();
        return false;
    }
    m_instance.onStartedAgain([this] { bringToFront(); });
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
    m_history.edit(ListChange::Delete, [this] {
        setCurrentRow(removeEntry(m_session.list, currentRow(), m_session.prompts));
    });
}

void MainWindow::renameCurrent()
{
    const int row = currentRow();
    if (row < 0 || row >= m_session.list.count())
        return;
    m_grid->setFocus();
    m_grid->edit(m_gridRows.index(row, SnapshotList::NameColumn));
}

void MainWindow::moveCurrent(int by)
{
    m_history.edit(by < 0 ? ListChange::MoveUp : ListChange::MoveDown,
                   [&] { setCurrentRow(moveEntry(m_session.list, currentRow(), by)); });
}

// The dragged entry is the current one (pressing picked it) and stays so.
void MainWindow::dropRow(const QMimeData* data, int row)
{
    m_history.edit(ListChange::Move, [&] {
        const QPersistentModelIndex dragged(m_session.list.index(currentRow(), 0));
        m_gridRows.dropMimeData(data, Qt::MoveAction, row, 0, {});
        if (dragged.isValid())
            setCurrentRow(dragged.row());
    });
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
    m_history.edit(ListChange::Add, [&] {
        m_browser.deselectFirst(
            addSnapshots(m_session.list, selected, m_session.prompts, &m_session.kit));
    });
}

void MainWindow::onDriveActivated(int index)
{
    const QString root = m_driveList->itemData(index, FolderBrowser::kRootRole).toString();
    m_browser.setDrive(root);
    showDrive(m_browser.drive());
}

void MainWindow::onNew()
{
    m_history.edit(ListChange::New, [this] { newList(m_session); });
}

void MainWindow::onAddFolder()
{
    m_history.edit(ListChange::AddFolder,
                   [this] { addFolder(m_session, m_browser.path(), snapshotFiles); });
}

void MainWindow::onDrop(const QStringList& paths)
{
    m_history.edit(ListChange::Drop, [&] { dropFiles(m_session, paths, snapshotFiles); });
}

void MainWindow::onOpenCompilation()
{
    m_history.edit(ListChange::OpenCompilation,
                   [this] { openCompilation(m_session, m_browser.path()); });
    updateRecentMenu();
}

void MainWindow::onSaveCompilation()
{
    saveCompilation(m_session, m_browser.path());
    updateRecentMenu();
}

void MainWindow::onOpenFlashImage()
{
    m_history.edit(ListChange::OpenImage, [this] { openFlashImage(m_session); });
    updateRecentMenu();
}

void MainWindow::onImageContents()
{
    std::optional<OpenedImage> image =
        chooseFlashImage(m_session, tr("Select a flash image to look into..."));
    if (!image)
        return;
    if (m_contents)
        m_contents->close();
    m_contents = new ImageContentsWindow(image->path, image->contents, this);
    connect(m_contents, &ImageContentsWindow::takeApartRequested, this, [this] {
        const OpenedImage shown{m_contents->image(), m_contents->contents()};
        bool done = false;
        m_history.edit(ListChange::OpenImage, [&] { done = takeApartImage(m_session, shown); });
        if (done) {
            m_contents->close();
            updateRecentMenu();
        }
    });
    m_contents->show();
}

void MainWindow::onCreateFlash()
{
    // The image holds the list: Open Flash Image brings it back.
    QString saved;
    const FlashOutcome outcome =
        runCreateFlash(m_session.list.entries(), m_session.kit, m_session.prompts, m_busy, &saved);
    if (outcome == FlashOutcome::Saved)
        m_session.captures.imageHolds(saved);
    else if (outcome == FlashOutcome::FirmwareWanted)
        onFirmware();
}

void MainWindow::onFirmware()
{
    if (!m_firmware)
        m_firmware = new FirmwareWindow(m_session.kit, m_session.prompts, this);
    else if (!m_firmware->isVisible())
        m_firmware->refresh(); // an open one keeps what the user chose and typed
    m_firmware->show();
    m_firmware->raise();
    m_firmware->activateWindow();
}

void MainWindow::BusyWindow::show()
{
    QLabel* label = m_window.m_busyLabel;
    label->setFont(fittedFont(label->font(), label->text(), label->width()));
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
    m_emulatorTest.run(m_session.list.entry(currentRow()), m_session.kit, m_session.prompts,
                       m_launcher);
}

void MainWindow::onTrainers()
{
    const int row = currentRow();
    const SnapshotEntry entry = m_session.list.entry(row);
    // The menu item waits, disabled, on a row without an entry.
    if (entry.path.isEmpty())
        return;
    auto* window = new TrainersWindow(entry, m_session.kit, m_session.prompts, this);
    window->setWindowModality(Qt::WindowModal);
    connect(window, &QDialog::finished, window, &QObject::deleteLater);
    connect(window, &QDialog::accepted, this, [this, window, row, path = entry.path] {
        // The list cannot change under a modal window; should it, nothing is lost.
        if (m_session.list.entry(row).path == path)
            setTrainers(row, window->chosen());
    });
    window->open();
}

void MainWindow::setTrainers(int row, const QList<Trainer>& trainers)
{
    m_history.edit(ListChange::Trainers, [&] { m_session.list.setTrainers(row, trainers); });
}

// Help is read in a window of the program's own: a system viewer may fail
// without a word, and in an editor the kit's help file is one keystroke from
// being changed.
void MainWindow::onHelp()
{
    const std::optional<QString> text = readHelp(m_session.kit, m_session.prompts);
    if (!text)
        return;
    if (m_help)
        m_help->close();
    m_help = new HelpWindow(*text);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
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
