// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a user would: by its controls and menu items,
// found by object name, with every question answered from a script.
#include "core/Cartridge.h"
#include "core/Settings.h"
#include "support/PoolBlocker.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "ui/Fonts.h"
#include "ui/ItemViews.h"
#include "ui/MachineMarks.h"
#include "ui/ScreenPreview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <optional>

using namespace tessel;
using tessel::test::ScriptedPrompts;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void windowIsFixedAndTitled();
    void tabOrderAndFirstFocus();
    void menusListTheirItemsInOrder();
    void startUpShowsTheRememberedFolderInTheViews();
    void fileListStaysOnItsFolder();
    void folderListShowsTheRememberedFolderAfterStartUp();
    void folderHighlightIsTheListedFolderWhileSiblingsComeAndGo();
    void emptyFoldersLoseTheirArrowOnceRead();
    void driveListFollowsMountsKeepingItsChoice();
    void secondInstanceClosesWithoutTouchingSettings();
    void laterStartBringsTheWindowToTheFront();

    void fileDoubleClickAddsIt();
    void deleteKeyWithAnyModifierRemoves_data();
    void deleteKeyWithAnyModifierRemoves();
    void otherKeysNeverRemove();
    void busySignFitsAWideFont();
    void gridDoubleClickTestsTheSnapshot();
    void previewsShowTheScreenPointedAt();
    void previewsFollowTheRowsAndKeepClear();
    void otherMachinesAreMarkedAndPreviewed();
    void menuItemsReachTheirCommands();
    void controlShortcutsAreCommandsNotClipboard();
    void burnEpromOnlyShowsItsNotice();
    void gridIsHiddenWhileCreateFlashAsks();
    void exitClosesWithoutAQuestion();

private:
    template <typename T> T* control(const char* name) const
    {
        T* found = m_window->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QAction* action(const char* name) const { return control<QAction>(name); }
    void listTenSnapshots();

    std::optional<test::WindowFixture> m_fixture;
    QString m_kit;
    MainWindow* m_window = nullptr; // the fixture's
};

void TestMainWindow::init()
{
    m_fixture.emplace();
    m_kit = m_fixture->kit();
    QVERIFY(test::writeFile(m_kit + "/snaps/game.sna", QByteArray(kSnaFileSize, 'g')));
    QVERIFY(m_fixture->start());
    m_window = &m_fixture->window();
}

void TestMainWindow::cleanup()
{
    m_window = nullptr;
    m_fixture.reset();
}

void TestMainWindow::listTenSnapshots()
{
    SnapshotEntries entries;
    for (int i = 0; i < 10; ++i)
        entries.append({m_kit + "/snaps/game.sna", QString("Game %1").arg(i)});
    QVERIFY(m_window->session().list.setEntries(entries));
}

void TestMainWindow::controlsStandWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    // Twips divided by 15.
    QTest::newRow("frmSelector") << "frmSelector"
                                 << "client" << QRect(8, 8, 441, 185);
    QTest::newRow("fleSelecciona") << "fleSelecciona"
                                   << "frmSelector" << QRect(224, 16, 209, 162);
    QTest::newRow("dirSelecciona") << "dirSelecciona"
                                   << "frmSelector" << QRect(8, 48, 209, 126);
    QTest::newRow("drvSelecciona") << "drvSelecciona"
                                   << "frmSelector" << QRect(8, 16, 209, 21);
    QTest::newRow("frmFlash") << "frmFlash"
                              << "client" << QRect(8, 216, 553, 201);
    QTest::newRow("msgRom") << "msgRom"
                            << "frmFlash" << QRect(8, 16, 537, 177);
    QTest::newRow("cmdFLash") << "cmdFLash"
                              << "client" << QRect(472, 72, 81, 73);
    QTest::newRow("Label2") << "Label2"
                            << "frmFlash" << QRect(64, 64, 409, 89);
}

void TestMainWindow::controlsStandWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    auto* widget = m_window->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), geometry);
    QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(name));
}

void TestMainWindow::windowIsFixedAndTitled()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Tessel Zizerev[*]"));
    QCOMPARE(m_window->centralWidget()->size(), QSize(567, 435));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(control<QGroupBox>("frmSelector")->title(), QStringLiteral("Snapshots SNA   "));
    QCOMPARE(control<QGroupBox>("frmFlash")->title(), QStringLiteral("SNAs Selected"));

    auto* grid = control<GridView>("msgRom");
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("SNAPSHOT"));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("NAME"));
    QCOMPARE(grid->model()->rowCount(), 10);
    QCOMPARE(grid->columnWidth(0), 400);
    QCOMPARE(grid->columnWidth(1), 136);

    auto* button = control<QToolButton>("cmdFLash");
    QCOMPARE(button->text(), QStringLiteral("Create Flash"));
    QCOMPARE(button->toolTip(), QStringLiteral("Crear archivo FLASH"));
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QVERIFY(!button->icon().isNull());

    auto* busy = control<QLabel>("Label2");
    QCOMPARE(busy->text(), QStringLiteral("Please Wait !"));
    QVERIFY(busy->font().bold());
    QVERIFY(!busy->isVisibleTo(m_window) || grid->isVisible());
}

void TestMainWindow::tabOrderAndFirstFocus()
{
    QApplication::setActiveWindow(m_window);
    QTRY_COMPARE(QApplication::focusWidget(), control<QWidget>("fleSelecciona"));
    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, (QStringList{"fleSelecciona", "dirSelecciona", "drvSelecciona", "msgRom",
                                   "cmdFLash"}));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("fleSelecciona"));
}

void TestMainWindow::menusListTheirItemsInOrder()
{
    QStringList seen;
    for (QAction* top : m_window->menuBar()->actions()) {
        seen << top->menu()->objectName() + ' ' + top->text();
        for (QAction* item : top->menu()->actions()) {
            // No recent compilation yet, nothing to undo and no current row:
            // those items wait, disabled.
            QCOMPARE(item->isEnabled(), top->menu()->objectName() != "mnuEdit"
                                            ? item->objectName() != "mnuRecientes"
                                            : item->isSeparator());
            QVERIFY(item->isVisible() && !item->isCheckable());
            seen << "  " + item->objectName() + ' '
                        + (item->isSeparator() ? QString("-") : item->text()) + ' '
                        + item->shortcut().toString(QKeySequence::PortableText);
        }
    }
    QCOMPARE(seen, (QStringList{
                       "mnuFichero &File",
                       "  mnuCreate Create Flash Ctrl+C",
                       "  mnuNuevo &New Ctrl+N",
                       "  mnuCarpeta &Add Folder... ",
                       "  mnuSeparadorCompilacion - ",
                       "  mnuAbrir &Open Compilation... Ctrl+O",
                       "  mnuGuardar &Save Compilation... Ctrl+S",
                       "  mnuRecientes &Recent Compilations ",
                       "  mnuImagen Open Flash &Image... ",
                       "  mnuImageContents Image &Contents... ",
                       "  mnuSeparador - ",
                       "  mnuSalir &Exit Ctrl+E",
                       "mnuEdit &Edit",
                       "  mnuUndo &Undo Ctrl+Z",
                       "  mnuRedo &Redo Ctrl+Shift+Z",
                       "  mnuEditSeparator - ",
                       "  mnuRename &Rename F2",
                       "  mnuMoveUp Move &Up Alt+Up",
                       "  mnuMoveDown Move &Down Alt+Down",
                       "  mnuEditSeparator2 - ",
                       "  mnuTrainers &Trainers... Ctrl+T",
                       "mnuHerramientas &Tools",
                       "  mnuEprom &Burn EPROM ",
                       "  mnuSna Test &SNA ",
                       "  mnuFirmware &Firmware... ",
                       "mnuAyuda &Help",
                       "  mnuHelp &Help ",
                       "  mnuAcerca A&bout... ",
                   }));
}

void TestMainWindow::startUpShowsTheRememberedFolderInTheViews()
{
    // The first run recorded the program folder and the browser shows it.
    QCOMPARE(Settings(m_kit + "/tessel.ini").snapshotFolder(), m_kit);
    auto* folders = control<QTreeView>("dirSelecciona");
    auto* model = m_window->browser().folderModel();
    QTRY_COMPARE(model->filePath(folders->currentIndex()), m_kit);
    QCOMPARE(control<QComboBox>("drvSelecciona")->currentData(FolderBrowser::kRootRole).toString(),
             QStringLiteral("/"));
    QCOMPARE(m_window->browser().fileListPath(), m_kit);
    QCOMPARE(m_window->currentRow(), -1);

    // Opening a folder in the folder list fills the file list and is remembered.
    QTRY_VERIFY(model->index(m_kit + "/snaps").isValid());
    folders->scrollTo(model->index(m_kit + "/snaps"));
    QTest::mouseClick(folders->viewport(), Qt::LeftButton, {},
                      folders->visualRect(model->index(m_kit + "/snaps")).center());
    auto* files = control<FileListView>("fleSelecciona");
    QTRY_COMPARE(Settings(m_kit + "/tessel.ini").snapshotFolder(), m_kit + "/snaps");
    QCOMPARE(files->model()->rowCount(), 1);
}

// Changes on disk beside the listed folder leave the list as it is.
void TestMainWindow::fileListStaysOnItsFolder()
{
    auto* files = control<FileListView>("fleSelecciona");
    QCOMPARE(m_window->browser().setPath(m_kit + "/snaps"), BrowserError::None);
    QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), 1);
    QVERIFY(test::writeFile(m_kit + "/other.sna", "x"));
    QVERIFY(QDir().mkpath(m_kit + "/more"));
    QTest::qWait(300);
    QCOMPARE(files->model()->rowCount(files->rootIndex()), 1);
    QCOMPARE(files->model()->index(0, 0, files->rootIndex()).data().toString(),
             QStringLiteral("game.sna"));
}

// Far down a long folder list, the remembered folder is scrolled into view
// once the tree has read its way to it.
void TestMainWindow::folderListShowsTheRememberedFolderAfterStartUp()
{
    const QString parent = m_fixture->beside("many");
    for (int i = 0; i < 80; ++i)
        QVERIFY(QDir().mkpath(parent + QStringLiteral("/f%1").arg(i, 2, 10, QLatin1Char('0'))));
    const QString kit = m_fixture->beside("kit2");
    QVERIFY(QDir().mkpath(kit + "/flash"));
    QVERIFY(test::writeFile(kit + "/tessel.ini",
                            "[tessel]\nstart=1\nDirectorioSnaps=" + parent.toUtf8() + "/f70\n"));
    test::FakeVolumes volumes;
    volumes.add(m_fixture->beside());
    MainWindow window(Kit(kit), m_fixture->prompts, m_fixture->guard, m_fixture->launcher, volumes);
    QVERIFY(window.startUp());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* folders = window.findChild<QTreeView*>("dirSelecciona");
    QTRY_COMPARE(folders->currentIndex().data().toString(), QStringLiteral("f70"));
    QTest::qWait(100);
    const QRect shown = folders->visualRect(folders->currentIndex());
    QVERIFY2(folders->viewport()->rect().contains(shown),
             qPrintable(QStringLiteral("row at y %1").arg(shown.y())));
}

// A folder made and removed beside the ones clicked every 70 ms, and clicks
// on rows only partly shown, which scroll: the highlight in the folder list
// must stay on the folder the file list shows.
void TestMainWindow::folderHighlightIsTheListedFolderWhileSiblingsComeAndGo()
{
    const QString parent = m_kit + "/snaps";
    auto child = [&](int i) { return parent + QStringLiteral("/d%1").arg(i, 2, 10, QChar('0')); };
    for (int i = 0; i < 12; ++i)
        QVERIFY(QDir().mkpath(child(i)));
    FolderBrowser& browser = m_window->browser();
    QCOMPARE(browser.setPath(parent), BrowserError::None);
    auto* tree = control<QTreeView>("dirSelecciona");
    FolderTreeModel* model = browser.folderModel();
    QTRY_COMPARE(model->rowCount(model->index(parent)), 12);

    QTimer churn;
    connect(&churn, &QTimer::timeout, this, [&] {
        const QString sibling = parent + "/d05x";
        if (!QDir(sibling).removeRecursively() || !QDir(sibling).exists())
            QDir().mkpath(sibling);
    });
    churn.start(70);
    QRandomGenerator random(7);
    for (int click = 0; click < 20; ++click) {
        tree->scrollTo(model->index(child(int(random.bounded(12)))));
        QTest::qWait(int(random.bounded(90)));
        QPoint at = tree->visualRect(model->index(child(int(random.bounded(12))))).center();
        if (click % 2 == 1 || !tree->viewport()->rect().contains(at))
            at = QPoint(at.x(), tree->viewport()->height() - 2); // the last row, cut off
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::qWait(150);
        const QString listed = browser.fileListPath();
        QCOMPARE(model->filePath(tree->currentIndex()), listed);
        QCOMPARE(tree->selectionModel()->selectedIndexes(), QModelIndexList{model->index(listed)});
    }
}

namespace {
// Records the rows the folder list draws an expand arrow for.
class ArrowSpy final : public QProxyStyle
{
public:
    mutable QList<int> arrowsAtY;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_IndicatorBranch && option->state.testFlag(State_Children))
            arrowsAtY.append(option->rect.center().y());
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};
} // namespace

void TestMainWindow::emptyFoldersLoseTheirArrowOnceRead()
{
    const QString parent = m_kit + "/snaps";
    QVERIFY(QDir().mkpath(parent + "/empty"));
    QVERIFY(QDir().mkpath(parent + "/full/inside"));
    FolderBrowser& browser = m_window->browser();
    FolderTreeModel* model = browser.folderModel();
    QCOMPARE(browser.setPath(parent), BrowserError::None);
    QTRY_COMPARE(model->rowCount(model->index(parent)), 2);

    auto* tree = control<QTreeView>("dirSelecciona");
    ArrowSpy spy;
    tree->setStyle(&spy);
    auto arrowFor = [&](const QString& folder) {
        tree->scrollTo(model->index(folder));
        spy.arrowsAtY.clear();
        tree->grab();
        const QRect row = tree->visualRect(model->index(folder));
        return std::any_of(spy.arrowsAtY.begin(), spy.arrowsAtY.end(),
                           [&](int y) { return row.top() <= y && y <= row.bottom(); });
    };
    QSignalSpy read(model, &FolderTreeModel::directoryLoaded);
    {
        test::PoolBlocker blocker; // drawn before it is read: it may have subfolders
        QCOMPARE(browser.setPath(parent + "/empty"), BrowserError::None);
        QVERIFY(arrowFor(parent + "/empty"));
    }
    QTRY_VERIFY(read.contains(QVariantList{parent + "/empty"}));
    QVERIFY(!arrowFor(parent + "/empty"));
    QVERIFY(arrowFor(parent + "/full"));
    tree->setStyle(nullptr);
}

// A drive mounted or unmounted while the window is open shows in the list at
// once, and the drive the user chose stays chosen.
void TestMainWindow::driveListFollowsMountsKeepingItsChoice()
{
    auto* drives = control<QComboBox>("drvSelecciona");
    const QString card = m_fixture->beside("card");
    QVERIFY(QDir().mkpath(card));
    m_fixture->volumes.add(card, "CARD", 0);
    m_fixture->volumes.announce();
    QCOMPARE(drives->count(), 2);
    QCOMPARE(drives->itemText(0), card + "  [CARD]");
    QCOMPARE(drives->currentData(FolderBrowser::kRootRole).toString(), QStringLiteral("/"));

    m_fixture->volumes.remove(card);
    m_fixture->volumes.announce();
    QCOMPARE(drives->count(), 1);
    QCOMPARE(drives->currentData(FolderBrowser::kRootRole).toString(), QStringLiteral("/"));
    QCOMPARE(m_window->browser().drive(), QStringLiteral("/"));
}

void TestMainWindow::secondInstanceClosesWithoutTouchingSettings()
{
    const QByteArray before = test::readFile(m_kit + "/tessel.ini");
    test::FixedGuard taken(false);
    ScriptedPrompts silent;
    MainWindow second(Kit(m_kit), silent, taken, m_fixture->launcher, m_fixture->volumes);
    QVERIFY(!second.startUp());
    QVERIFY(!second.isVisible());
    QVERIFY(silent.calls().isEmpty());
    QCOMPARE(test::readFile(m_kit + "/tessel.ini"), before);
}

void TestMainWindow::laterStartBringsTheWindowToTheFront()
{
    QVERIFY(m_fixture->guard.startedAgain);
    m_window->showMinimized();
    m_window->hide();
    m_fixture->guard.startedAgain();
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->isMinimized());
}

void TestMainWindow::fileDoubleClickAddsIt()
{
    Session& session = m_window->session();
    QCOMPARE(m_window->browser().setPath(m_kit + "/snaps"), BrowserError::None);
    auto* files = control<FileListView>("fleSelecciona");
    QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), 1);
    const QModelIndex game = files->model()->index(0, 0, files->rootIndex());
    const QPoint at = files->visualRect(game).center();
    m_fixture->prompts.answerInput("My game");
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(session.list.count(), 1);
    QCOMPARE(session.list.entry(0).name, QStringLiteral("My game"));
    QVERIFY(!files->selectionModel()->isSelected(game));

    // Enter on the list is the keyboard's double click.
    files->setCurrentIndex(game);
    m_fixture->prompts.answerInput("Again");
    QTest::keyClick(files, Qt::Key_Return);
    QCOMPARE(session.list.count(), 2);
}

void TestMainWindow::deleteKeyWithAnyModifierRemoves_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("plain") << Qt::KeyboardModifiers();
    QTest::newRow("shift") << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("ctrl+alt") << (Qt::ControlModifier | Qt::AltModifier);
}

void TestMainWindow::deleteKeyWithAnyModifierRemoves()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    listTenSnapshots();
    auto* grid = control<GridView>("msgRom");
    const QModelIndex third = grid->model()->index(2, 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(third).center());
    QCOMPARE(m_window->currentRow(), 2);
    m_fixture->prompts.answerMessage(Answer::Ok);
    QTest::keyClick(grid, Qt::Key_Delete, modifiers);
    QCOMPARE(m_fixture->prompts.last().text, QStringLiteral("Delete from the list Game 2?"));
    QCOMPARE(m_window->session().list.count(), 9);
    QCOMPARE(m_window->session().list.entry(2).name, QStringLiteral("Game 3"));
    QCOMPARE(m_window->currentRow(), -1);

    QTest::keyClick(grid, Qt::Key_Down); // other keys keep their usual meaning
    QCOMPARE(m_fixture->prompts.calls().size(), 1);
}

// "." has the key code the Delete key had on the program's first platform;
// no key but Delete may ask to remove a row.
void TestMainWindow::otherKeysNeverRemove()
{
    listTenSnapshots();
    auto* grid = control<GridView>("msgRom");
    const QModelIndex third = grid->model()->index(2, 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(third).center());
    QTest::keyClick(grid, Qt::Key_Period);
    QTest::keyClick(grid, Qt::Key_Period, Qt::KeypadModifier);
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Minus, Qt::Key_Backspace, Qt::Key_Return,
                              Qt::Key_Enter, Qt::Key_Space, Qt::Key_Insert})
        QTest::keyClick(grid, key);
    QVERIFY(m_fixture->prompts.calls().isEmpty());
    QCOMPARE(m_window->session().list.count(), 10);
}

void TestMainWindow::busySignFitsAWideFont()
{
    QFont wide(QStringLiteral("DejaVu Serif"));
    if (!QFontDatabase::families().contains(wide.family()))
        QSKIP("needs DejaVu Serif, a wide serif");
    wide.setPointSize(48);
    wide.setBold(true);
    const QString text = QStringLiteral("Please Wait !");
    QVERIFY(QFontMetrics(wide).horizontalAdvance(text) > 409); // what used to clip the "!"
    const QFont fitted = fittedFont(wide, text, 409);
    QVERIFY(QFontMetrics(fitted).horizontalAdvance(text) <= 409);
    QVERIFY(fitted.pointSizeF() > 30); // still large
    QCOMPARE(fitted.family(), wide.family());
    QCOMPARE(fittedFont(fitted, text, 409), fitted); // a font that fits stays as it is
}

void TestMainWindow::gridDoubleClickTestsTheSnapshot()
{
    listTenSnapshots();
    auto* grid = control<GridView>("msgRom");
    const QPoint at = grid->visualRect(grid->model()->index(4, 1)).center();
    m_fixture->prompts.answerMessage(Answer::Yes);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(m_fixture->launcher.starts.size(), 1);
    const QString tested = m_window->emulatorTest().lastFile();
    QCOMPARE(m_fixture->launcher.starts.constFirst().arguments, (QStringList{"-snapshot", tested}));
    QCOMPARE(test::readFile(tested), test::readFile(m_kit + "/snaps/game.sna"));
}

void TestMainWindow::previewsShowTheScreenPointedAt()
{
    // A double click of an earlier test can leave the pointer's button down
    // in the test's mouse state; hovering is about a free pointer.
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        QTest::mouseRelease(m_window, Qt::LeftButton);
    QCOMPARE(m_window->browser().setPath(m_kit + "/snaps"), BrowserError::None);
    auto* files = control<FileListView>("fleSelecciona");
    QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), 1);
    const auto previewOf = [](QWidget* view) {
        const QList<ScreenPreview*> found = view->findChildren<ScreenPreview*>();
        return found.isEmpty() ? nullptr : found.first();
    };
    const QModelIndex game = files->model()->index(0, 0, files->rootIndex());
    QTest::mouseMove(files->viewport(), files->visualRect(game).center());
    QTRY_VERIFY(previewOf(files) && previewOf(files)->isVisible());
    QVERIFY2(previewOf(files)->accessibleName().contains("game.sna"),
             qPrintable(previewOf(files)->accessibleName()));

    listTenSnapshots();
    auto* grid = control<GridView>("msgRom");
    QTest::mouseMove(grid->viewport(), grid->visualRect(grid->model()->index(2, 1)).center());
    QTRY_VERIFY(previewOf(grid) && previewOf(grid)->isVisible());
    QVERIFY(m_fixture->prompts.calls().isEmpty());
}

// A file deleted under the pointer takes its picture with it; a row deleted
// in the grid brings the next entry's. Neither list is ever covered.
void TestMainWindow::previewsFollowTheRowsAndKeepClear()
{
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        QTest::mouseRelease(m_window, Qt::LeftButton);
    QVERIFY(QFile::copy(TESSEL_TEST_DATA "/sna/zasmops.sna", m_kit + "/snaps/other.sna"));
    QCOMPARE(m_window->browser().setPath(m_kit + "/snaps"), BrowserError::None);
    auto* files = control<FileListView>("fleSelecciona");
    QTRY_COMPARE(files->model()->rowCount(), 2);
    const auto shown = [](QWidget* view) {
        ScreenPreview* preview = view->findChild<ScreenPreview*>();
        if (!preview->isVisible())
            return QString();
        const QRect area(view->mapToGlobal(QPoint()), view->size());
        return preview->frameGeometry().intersects(area) ? "over its list" : preview->fileName();
    };
    QTest::mouseMove(files->viewport(), files->visualRect(files->model()->index(1, 0)).center());
    QTRY_COMPARE(shown(files), "other.sna");
    QVERIFY(QFile::remove(m_kit + "/snaps/other.sna"));
    QTRY_COMPARE(shown(files), QString());

    auto* grid = control<GridView>("msgRom");
    Session& session = m_window->session();
    session.list.append({m_kit + "/snaps/game.sna", "Game"});
    session.list.append({TESSEL_TEST_DATA "/sna/zasmops.sna", "Ops"});
    QTest::mouseMove(grid->viewport(), grid->visualRect(grid->model()->index(0, 1)).center());
    QTRY_COMPARE(shown(grid), "game.sna");
    session.list.removeAt(0);
    QTRY_COMPARE(shown(grid), "zasmops.sna");
    session.list.clear();
    QTRY_COMPARE(shown(grid), QString());
}

void TestMainWindow::otherMachinesAreMarkedAndPreviewed()
{
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        QTest::mouseRelease(m_window, Qt::LeftButton);
    QVERIFY(QFile::copy(TESSEL_TEST_DATA "/other/tape128k.sna", m_kit + "/snaps/t128.sna"));
    QCOMPARE(m_window->browser().setPath(m_kit + "/snaps"), BrowserError::None);
    auto* files = control<FileListView>("fleSelecciona");
    QTRY_COMPARE(files->model()->rowCount(), 2);
    auto* marks = qobject_cast<MachineMarks*>(files->itemDelegate());
    const QModelIndex game = files->model()->index(0, 0), t128 = files->model()->index(1, 0);
    QTRY_VERIFY(marks->note(t128).contains("128K: cannot go on this cartridge"));
    QVERIFY(marks->note(game).isEmpty());

    QTest::mouseMove(files->viewport(), files->visualRect(t128).center());
    ScreenPreview* preview = files->findChild<ScreenPreview*>();
    QTRY_VERIFY(preview->isVisible() && preview->noteLabel()->isVisible());
    QCOMPARE(preview->noteLabel()->text(), marks->note(t128));
    QVERIFY(preview->view()->hasScreen());
}

void TestMainWindow::menuItemsReachTheirCommands()
{
    m_fixture->prompts.answerMessage(Answer::No);
    action("mnuNuevo")->trigger();
    QCOMPARE(m_fixture->prompts.last().text,
             QStringLiteral("Are you sure? The actual list of SNAs will be erased."));

    m_fixture->prompts.answerMessage(Answer::Ok);
    action("mnuCreate")->trigger();
    QCOMPARE(m_fixture->prompts.last().title, QStringLiteral("Tessel"));

    m_fixture->prompts.answerMessage(Answer::Ok);
    control<QToolButton>("cmdFLash")->click();
    QCOMPARE(m_fixture->prompts.last().title, QStringLiteral("Tessel"));

    m_fixture->prompts.answerMessage(Answer::Ok);
    action("mnuSna")->trigger();
    QCOMPARE(m_fixture->prompts.last().text,
             QStringLiteral("Choose a 'Snapshot' from the SNA selected list."));

    QVERIFY(test::writeFile(m_kit + "/help.txt", "How to:\n  columns  line up\n"));
    action("mnuHelp")->trigger();
    QVERIFY(m_window->helpWindow() && m_window->helpWindow()->isVisible());
    QVERIFY(m_window->helpWindow()->textView()->isReadOnly());
    QCOMPARE(m_window->helpWindow()->textView()->toPlainText(), "How to:\n  columns  line up\n");
    QVERIFY(m_fixture->launcher.starts.isEmpty());

    QCOMPARE(m_fixture->prompts.calls().size(), 4);
    QVERIFY(m_fixture->prompts.allAnswered());
}

void TestMainWindow::controlShortcutsAreCommandsNotClipboard()
{
    QApplication::setActiveWindow(m_window);
    for (const char* focus : {"fleSelecciona", "dirSelecciona", "msgRom"}) {
        control<QWidget>(focus)->setFocus();
        m_fixture->prompts.answerMessage(Answer::Ok);
        QTest::keyClick(control<QWidget>(focus), Qt::Key_C, Qt::ControlModifier);
        QVERIFY2(m_fixture->prompts.calls().size() > 0
                     && m_fixture->prompts.last().title == "Tessel",
                 focus);
        m_fixture->prompts.clear();
    }
    m_fixture->prompts.answerMessage(Answer::No);
    QTest::keyClick(control<QWidget>("fleSelecciona"), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(m_fixture->prompts.last().icon, Icon::Critical);

    QTest::keyClick(control<QWidget>("fleSelecciona"), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!m_window->isVisible());
}

void TestMainWindow::burnEpromOnlyShowsItsNotice()
{
    const QByteArray settings = test::readFile(m_kit + "/tessel.ini");
    for (int i = 0; i < 2; ++i) {
        m_fixture->prompts.answerMessage(Answer::Ok);
        action("mnuEprom")->trigger();
        const auto notice = m_fixture->prompts.last();
        QCOMPARE(notice.text.section('\r', 0, 0),
                 QStringLiteral("This funtion is not implemeted yet."));
        QVERIFY(notice.text.section('\r', 1).startsWith("Stay tunned: http"));
        QVERIFY(!notice.text.contains('\n'));
        QCOMPARE(notice.title, QStringLiteral("Tessel Burning"));
        QCOMPARE(notice.icon, Icon::Information);
        QCOMPARE(notice.buttons, Buttons::Ok);
    }
    QCOMPARE(m_fixture->prompts.calls().at(0).text, m_fixture->prompts.calls().at(1).text);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(
        std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); }),
        1);
    QCOMPARE(test::readFile(m_kit + "/tessel.ini"), settings);
}

void TestMainWindow::gridIsHiddenWhileCreateFlashAsks()
{
    listTenSnapshots();
    QVERIFY(test::writeFile(m_kit + "/bank1.rom", QByteArray(16384, '1')));
    QVERIFY(test::writeFile(m_kit + "/bank32.rom", QByteArray(16384, '3')));
    auto* grid = control<GridView>("msgRom");
    auto* busy = control<QLabel>("Label2");
    QList<bool> gridShown, labelShown, hourglass;
    m_fixture->prompts.onQuestion([&](const ScriptedPrompts::Call&) {
        gridShown << grid->isVisible();
        // Whole, whatever serif the system found for it.
        labelShown << (busy->isVisible()
                       && QFontMetrics(busy->font()).horizontalAdvance(busy->text())
                              <= busy->width()
                       && busy->font().pointSizeF() <= 48);
        hourglass << (m_window->cursor().shape() == Qt::WaitCursor);
    });
    m_fixture->prompts.cancelSave();
    m_fixture->prompts.answerMessage(Answer::Yes);
    action("mnuCreate")->trigger();
    QCOMPARE(gridShown, (QList<bool>{false, false}));
    QCOMPARE(labelShown, (QList<bool>{true, true}));
    QCOMPARE(hourglass, (QList<bool>{true, true}));
    QVERIFY(grid->isVisible());
    QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(m_window->session().list.entry(9).name, QStringLiteral("Game 9"));
}

// With nothing unsaved in the list (the question is tst_editing's).
void TestMainWindow::exitClosesWithoutAQuestion()
{
    QSignalSpy closed(qApp, &QGuiApplication::lastWindowClosed);
    action("mnuSalir")->trigger();
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_fixture->prompts.calls().isEmpty());

    m_window->show();
    QVERIFY(m_window->close()); // the close box goes the same way
    QVERIFY(m_fixture->prompts.calls().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
