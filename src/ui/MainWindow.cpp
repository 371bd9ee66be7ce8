#include "ui/MainWindow.h"

#include "companions/EmulatorTest.h"
#include "companions/HelpViewer.h"
#include "core/InstanceGuard.h"
#include "core/Prompts.h"
#include "snapshots/AddSnapshot.h"
#include "snapshots/RemoveSnapshot.h"
#include "ui/AboutWindow.h"
#include "ui/Art.h"
#include "ui/ItemViews.h"
#include "ui/Links.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
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

frmPrincipal::frmPrincipal(const Kit& kit, Prompts& prompts, InstanceGuard& instance,
                           ProcessLauncher& launcher, const VolumeSource& volumes, QWidget* parent)
    : QMainWindow(parent)
    , m_session(kit, prompts, volumes)
    , m_instance(instance)
    , m_launcher(launcher)
{
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(kAppTitle);
    setWindowIcon(boardIcon());
    buildControls();
    buildMenus();
    wireBrowser();
    // A fixed window of dialog style: no resizing, no maximising.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(sizeHint());
    if (const QScreen* display = screen())
        move(display->availableGeometry().center() - rect().center());
}

frmPrincipal::~frmPrincipal() = default;

void frmPrincipal::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips(8505), twips(6525));
    setCentralWidget(client);

    frmSelector = place(new QGroupBox(QStringLiteral("Snapshots SNA   "), client),
                        QStringLiteral("frmSelector"), twipsRect(120, 120, 6615, 2775),
                        QStringLiteral("Snapshots SNA"));
    fleSelecciona = place(new FileListView(frmSelector), QStringLiteral("fleSelecciona"),
                          twipsRect(3360, 240, 3135, 2430), QStringLiteral("Snapshot files"));
    dirSelecciona = place(new QTreeView(frmSelector), QStringLiteral("dirSelecciona"),
                          twipsRect(120, 720, 3135, 1890), QStringLiteral("Folders"));
    drvSelecciona = place(new QComboBox(frmSelector), QStringLiteral("drvSelecciona"),
                          twipsRect(120, 240, 3135, 315), QStringLiteral("Drives"));

    frmFlash =
        place(new QGroupBox(QStringLiteral("SNAs Selected"), client), QStringLiteral("frmFlash"),
              twipsRect(120, 3240, 8295, 3015), QStringLiteral("SNAs Selected"));
    // Created before the grid, so the grid covers it until the grid is hidden.
    Label2 = place(new QLabel(QStringLiteral("Please Wait !"), frmFlash), QStringLiteral("Label2"),
                   twipsRect(960, 960, 6135, 1335), QStringLiteral("Please Wait !"));
    QFont busyFont;
    // Where Times New Roman is missing, a serif with the same metrics.
    busyFont.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                          QStringLiteral("Tinos")});
    busyFont.setStyleHint(QFont::Serif);
    busyFont.setPointSize(48);
    busyFont.setBold(true);
    Label2->setFont(busyFont);
    // Shown only while busy: covered by the grid, it would still be drawn.
    Label2->hide();
    msgRom = place(new GridView(frmFlash), QStringLiteral("msgRom"),
                   twipsRect(120, 240, 8055, 2655), QStringLiteral("SNAs selected"));

    cmdFLash = place(new QToolButton(client), QStringLiteral("cmdFLash"),
                     twipsRect(7080, 1080, 1215, 1095), QStringLiteral("Create Flash"));
    cmdFLash->setText(QStringLiteral("Create Flash"));
    cmdFLash->setToolTip(QStringLiteral("Crear archivo FLASH"));
    cmdFLash->setIcon(windowIcon());
    cmdFLash->setIconSize(QSize(32, 32));
    cmdFLash->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    cmdFLash->setFocusPolicy(Qt::StrongFocus);
    connect(cmdFLash, &QToolButton::clicked, this, &frmPrincipal::cmdFLash_Click);

    // The grid: a header row and ten rows, one cell selected at a time.
    QFont gridFont(QStringLiteral("MS Sans Serif"));
    gridFont.setStyleHint(QFont::SansSerif);
    gridFont.setPointSizeF(8.25);
    msgRom->setFont(gridFont);
    msgRom->setModel(&m_session.grid);
    msgRom->setSelectionModel(m_session.grid.selectionModel());
    msgRom->setSelectionBehavior(QAbstractItemView::SelectRows);
    msgRom->setSelectionMode(QAbstractItemView::SingleSelection);
    msgRom->setEditTriggers(QAbstractItemView::NoEditTriggers);
    msgRom->setTabKeyNavigation(false);
    msgRom->setWordWrap(false);
    msgRom->setTextElideMode(Qt::ElideMiddle);
    // Rows of 240 twips: the header and all ten rows fit without scrolling.
    msgRom->verticalHeader()->hide();
    msgRom->verticalHeader()->setMinimumSectionSize(0);
    msgRom->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    msgRom->verticalHeader()->setDefaultSectionSize(twips(240));
    msgRom->horizontalHeader()->setSectionsClickable(false);
    msgRom->horizontalHeader()->setHighlightSections(false);
    msgRom->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    msgRom->horizontalHeader()->setMinimumSectionSize(0);
    msgRom->horizontalHeader()->setFixedHeight(msgRom->height() - 2 * msgRom->frameWidth()
                                               - 10 * twips(240));
    msgRom->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(msgRom, &GridView::keyDown, this, &frmPrincipal::msgRom_KeyDown);
    connect(msgRom, &GridView::dblClick, this, &frmPrincipal::msgRom_DblClick);

    fleSelecciona->setSelectionMode(QAbstractItemView::SingleSelection);
    fleSelecciona->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every entry is one line with the same icon. Without this the list
    // measures every name again each time the folder model adds or sorts
    // rows, which stalls the window on folders of thousands of snapshots.
    fleSelecciona->setUniformItemSizes(true);
    connect(fleSelecciona, &FileListView::dblClick, this, &frmPrincipal::fleSelecciona_DblClick);

    dirSelecciona->setHeaderHidden(true);
    dirSelecciona->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dirSelecciona->setSelectionMode(QAbstractItemView::SingleSelection);

    drvSelecciona->setFocusPolicy(Qt::StrongFocus);

    setTabOrder(fleSelecciona, dirSelecciona);
    setTabOrder(dirSelecciona, drvSelecciona);
    setTabOrder(drvSelecciona, msgRom);
    setTabOrder(msgRom, cmdFLash);
    fleSelecciona->setFocus();
}

void frmPrincipal::buildMenus()
{
    menuBar()->setNativeMenuBar(false);
    auto item = [this](QMenu* menu, const QString& name, const QString& caption,
                       const QKeySequence& shortcut, void (frmPrincipal::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        // Ctrl+C means Create Flash here, wherever the focus is.
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* mnuFichero = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFichero->setObjectName(QStringLiteral("mnuFichero"));
    item(mnuFichero, QStringLiteral("mnuCreate"), QStringLiteral("Create Flash"),
         QKeySequence(Qt::CTRL | Qt::Key_C), &frmPrincipal::mnuCreate_Click);
    item(mnuFichero, QStringLiteral("mnuNuevo"), QStringLiteral("&New"),
         QKeySequence(Qt::CTRL | Qt::Key_N), &frmPrincipal::mnuNuevo_Click);
    mnuFichero->addSeparator()->setObjectName(QStringLiteral("mnuSeparador"));
    item(mnuFichero, QStringLiteral("mnuSalir"), QStringLiteral("&Exit"),
         QKeySequence(Qt::CTRL | Qt::Key_E), &frmPrincipal::mnuSalir_Click);

    QMenu* mnuHerramientas = menuBar()->addMenu(QStringLiteral("&Tools"));
    mnuHerramientas->setObjectName(QStringLiteral("mnuHerramientas"));
    item(mnuHerramientas, QStringLiteral("mnuEprom"), QStringLiteral("&Burn EPROM"), {},
         &frmPrincipal::mnuEprom_Click);
    item(mnuHerramientas, QStringLiteral("mnuSna"), QStringLiteral("Test &SNA"), {},
         &frmPrincipal::mnuSna_Click);

    QMenu* mnuAyuda = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuAyuda->setObjectName(QStringLiteral("mnuAyuda"));
    item(mnuAyuda, QStringLiteral("mnuHelp"), QStringLiteral("&Help"), {},
         &frmPrincipal::mnuHelp_Click);
    item(mnuAyuda, QStringLiteral("mnuAcerca"), QStringLiteral("A&bout..."), {},
         &frmPrincipal::mnuAcerca_Click);
}

// The views show the browser's models; the browser decides, the views follow.
void frmPrincipal::wireBrowser()
{
    FolderBrowser& browser = m_session.browser;
    drvSelecciona->setModel(browser.driveModel());
    dirSelecciona->setModel(browser.folderModel());
    fleSelecciona->setModel(browser.fileModel());
    fleSelecciona->setSelectionModel(browser.fileSelection());

    connect(drvSelecciona, &QComboBox::activated, this, &frmPrincipal::drvSelecciona_Change);
    connect(dirSelecciona->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                // A folder whose name is not valid text cannot be opened by it.
                if (m_syncingFolder || !current.flags().testFlag(Qt::ItemIsEnabled))
                    return;
                m_session.browser.openFolder(m_session.browser.folderModel()->filePath(current));
            });
    connect(&browser, &FolderBrowser::driveChanged, this, &frmPrincipal::showDrive);
    connect(&browser, &FolderBrowser::pathChanged, this, &frmPrincipal::showFolder);
    // The folder tree reads in the background: once the folders on the way
    // to the current one are in, the current one can be shown.
    connect(browser.folderModel(), &FolderTreeModel::pathLoaded, this,
            [this](const QString& loaded) {
                if (loaded == m_session.browser.path())
                    showFolder(loaded);
            });
    // A view scrolled before it was first laid out may have scrolled wrong.
    dirSelecciona->installEventFilter(this);

    showDrive(browser.drive());
    showFolder(browser.path());
}

void frmPrincipal::showDrive(const QString& root)
{
    const int index = drvSelecciona->findData(root, FolderBrowser::kRootRole);
    drvSelecciona->setCurrentIndex(index);
}

// The root folder has no row; another folder has one once the tree has read
// its way to it (pathLoaded then calls again).
void frmPrincipal::showFolder(const QString& path)
{
    const QModelIndex folder = m_session.browser.folderModel()->index(path);
    m_syncingFolder = true;
    dirSelecciona->setCurrentIndex(folder);
    if (folder.isValid()) {
        dirSelecciona->expand(folder);
        dirSelecciona->scrollTo(folder);
    }
    m_syncingFolder = false;
}

bool frmPrincipal::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dirSelecciona && event->type() == QEvent::Show
        && dirSelecciona->currentIndex().isValid())
        dirSelecciona->scrollTo(dirSelecciona->currentIndex());
    return QMainWindow::eventFilter(watched, event);
}

bool frmPrincipal::Form_Load()
{
    if (!m_instance.tryAcquire()) {
        close();
        return false;
    }
    msgRom->setColumnWidth(0, twips(6000));
    msgRom->setColumnWidth(1, twips(2040));
    m_session.grid.setRow(0);
    startUp(m_session);
    return true;
}

void frmPrincipal::closeEvent(QCloseEvent* event)
{
    qint16 cancel = 0;
    Form_QueryUnload(cancel, 0);
    event->setAccepted(cancel == 0);
}

void frmPrincipal::Form_QueryUnload(qint16& cancel, qint16 unloadMode)
{
    Q_UNUSED(unloadMode)
    salir(cancel);
}

void frmPrincipal::salir(qint16& cancel)
{
    Q_UNUSED(cancel)
    close(); // a close already under way just completes
}

void frmPrincipal::mnuSalir_Click()
{
    close();
}

void frmPrincipal::drvSelecciona_Change(int index)
{
    const QString root = drvSelecciona->itemData(index, FolderBrowser::kRootRole).toString();
    m_session.browser.setDrive(root);
    showDrive(m_session.browser.drive());
}

void frmPrincipal::fleSelecciona_DblClick()
{
    AgregarSnaps(m_session.browser, m_session.table, m_session.grid, m_session.prompts);
}

void frmPrincipal::msgRom_KeyDown(int keyCode, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(shift)
    if (keyCode == GridView::kDeleteKeyCode)
        removeCurrentRow(m_session.table, m_session.grid, m_session.prompts);
}

void frmPrincipal::msgRom_DblClick()
{
    ProbarSnap(m_session.grid, m_session.kit, m_session.prompts, m_launcher);
}

void frmPrincipal::mnuNuevo_Click()
{
    newList(m_session.prompts, m_session.table, m_session.grid);
}

void frmPrincipal::cmdFLash_Click()
{
    runCreateFlash(m_session.table, m_session.kit, m_session.RutaIni, m_session.prompts, m_busy);
}

void frmPrincipal::mnuCreate_Click()
{
    runCreateFlash(m_session.table, m_session.kit, m_session.RutaIni, m_session.prompts, m_busy);
}

void frmPrincipal::BusyWindow::show()
{
    m_window.setCursor(Qt::WaitCursor);
    m_window.Label2->show();
    m_window.msgRom->hide();
    m_window.repaint();
}

void frmPrincipal::BusyWindow::hide()
{
    m_window.msgRom->show();
    m_window.Label2->hide();
    m_window.unsetCursor();
    m_window.repaint();
}

void frmPrincipal::mnuEprom_Click()
{
    m_session.prompts.message(QStringLiteral("This funtion is not implemeted yet.\rStay tunned: ")
                                  + kNewsPage,
                              QStringLiteral("Tessel Burning"), Icon::Information, Buttons::Ok);
}

void frmPrincipal::mnuSna_Click()
{
    ProbarSnap(m_session.grid, m_session.kit, m_session.prompts, m_launcher);
}

void frmPrincipal::mnuHelp_Click()
{
    openHelp(m_session.kit, m_session.prompts, m_launcher);
}

// The About window has no owner: it neither blocks this window nor closes
// with it, and there is never more than one.
void frmPrincipal::mnuAcerca_Click()
{
    if (!m_about)
        m_about = new frmAcerca;
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

} // namespace tessel
