// SPDX-License-Identifier: GPL-3.0-or-later
// Editing the list through the window: every change undone and redone, what
// counts as unsaved, moves at the ends, and names the rule refuses.
#include "commands/Compilation.h"
#include "core/Cartridge.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "ui/ItemViews.h"
#include "ui/NameEditor.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <memory>
#include <optional>

using namespace tessel;
using tessel::test::ScriptedPrompts;

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyChangeIsUndoneAndRedone_data();
    void everyChangeIsUndoneAndRedone();
    void unsavedIsWhatNoFileHolds_data();
    void unsavedIsWhatNoFileHolds();
    void movesStayWithinTheEntries_data();
    void movesStayWithinTheEntries();
    void renameRefusalsKeepTheName_data();
    void renameRefusalsKeepTheName();

private:
    // What undo must give back, and what the title shows of it.
    struct State
    {
        SnapshotEntries entries;
        int row = -1;
        QString title;
        bool modified = false;
    };
    State state()
    {
        return {list().entries(), window().currentRow(), window().windowTitle(),
                window().isWindowModified()};
    }
    void verify(const State& expected);

    MainWindow& window() { return m_fixture->window(); }
    SnapshotList& list() { return window().session().list; }
    ScriptedPrompts& prompts() { return m_fixture->prompts; }
    GridView* grid() { return m_fixture->control<GridView>("msgRom"); }
    QString kit(const QString& relative) const { return m_fixture->kit(relative); }
    QString names();

    // Entries set as a test's starting point, not as an undoable change.
    void listEntries(int count, int current);
    void createFlash(const QString& image);
    void openImage(const QString& image, Answer replace);
    void startRename(int row);
    void renameTo(int row, const QString& name);
    // An entry dragged within the grid and dropped at the point.
    void dragTo(int from, const QPoint& at);
    QPoint rowPoint(int row) const;

    std::optional<test::WindowFixture> m_fixture;
    QStringList m_snaps;
};

void TestEditing::init()
{
    m_fixture.emplace();
    QVERIFY(test::writeFile(kit("bank1.rom"), QByteArray(kBankSize, '1')));
    QVERIFY(test::writeFile(kit("bank32.rom"), QByteArray(kBankSize, '3')));
    m_snaps.clear();
    const QDir data(TESSEL_TEST_DATA "/sna");
    for (const QString& name : data.entryList({"*.sna"}, QDir::Files).mid(0, kEntryCount)) {
        m_snaps << kit("snaps/" + name);
        QVERIFY(QFile::copy(data.filePath(name), m_snaps.last()));
    }
    QVERIFY(m_fixture->start());
    QApplication::setActiveWindow(&window());
    QVERIFY(QTest::qWaitForWindowActive(&window()));
    grid()->setFocus();
}

void TestEditing::cleanup()
{
    QVERIFY(prompts().allAnswered());
    m_fixture.reset();
}

void TestEditing::verify(const State& expected)
{
    const State now = state();
    QCOMPARE(now.entries, expected.entries);
    QCOMPARE(now.row, expected.row);
    QCOMPARE(now.title, expected.title);
    QCOMPARE(now.modified, expected.modified);
}

QString TestEditing::names()
{
    QString shown;
    for (const SnapshotEntry& entry : list().entries())
        shown += entry.name;
    return shown;
}

void TestEditing::listEntries(int count, int current)
{
    SnapshotEntries entries;
    for (int i = 0; i < count; ++i)
        entries.append({m_snaps[i], QString(QChar('A' + i))});
    QVERIFY(list().setEntries(entries));
    window().setCurrentRow(current);
}

void TestEditing::createFlash(const QString& image)
{
    prompts().answerSave(image);
    prompts().answerMessage(Answer::Ok);
    m_fixture->trigger("mnuCreate");
}

void TestEditing::openImage(const QString& image, Answer replace)
{
    QVERIFY(QDir().mkpath(kit("free")));
    prompts().answerOpen(image);
    prompts().answerMessage(replace);
    prompts().answerFolder(kit("free"));
    prompts().answerMessage(Answer::Ok);
    m_fixture->trigger("mnuImagen");
}

void TestEditing::startRename(int row)
{
    window().setCurrentRow(row);
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_F2);
}

void TestEditing::renameTo(int row, const QString& name)
{
    startRename(row);
    auto* editor = grid()->findChild<NameEditor*>();
    QVERIFY(editor);
    editor->setText(name);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!grid()->findChild<NameEditor*>());
    QTest::qWait(0); // the rename is queued after the editor
}

QPoint TestEditing::rowPoint(int row) const
{
    auto* view = m_fixture->control<GridView>("msgRom");
    return view->visualRect(view->model()->index(row, 0)).topLeft() + QPoint(4, 2);
}

void TestEditing::dragTo(int from, const QPoint& at)
{
    window().setCurrentRow(from);
    const std::unique_ptr<QMimeData> data(
        grid()->model()->mimeData({grid()->model()->index(from, 0)}));
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(grid()->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(grid()->shownDropRow(), grid()->dropRow(at));
    QDropEvent dropped(at, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(grid()->viewport(), &dropped);
    QVERIFY(dropped.isAccepted());
    QCOMPARE(grid()->shownDropRow(), -1);
}

void TestEditing::everyChangeIsUndoneAndRedone_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("undoText");
    QTest::newRow("add") << "add"
                         << "&Undo Add";
    QTest::newRow("drop") << "drop"
                          << "&Undo Drop";
    QTest::newRow("delete") << "delete"
                            << "&Undo Delete";
    QTest::newRow("rename") << "rename"
                            << "&Undo Rename";
    QTest::newRow("move up") << "up"
                             << "&Undo Move Up";
    QTest::newRow("move down") << "down"
                               << "&Undo Move Down";
    QTest::newRow("drag") << "drag"
                          << "&Undo Move";
    QTest::newRow("new") << "new"
                         << "&Undo New";
    QTest::newRow("open compilation") << "open"
                                      << "&Undo Open Compilation";
    QTest::newRow("recent compilation") << "recent"
                                        << "&Undo Open Compilation";
    QTest::newRow("open flash image") << "image"
                                      << "&Undo Open Flash Image";
}

// Undo gives back names, paths, order, the current row and the title
// exactly; redo the state the change made.
void TestEditing::everyChangeIsUndoneAndRedone()
{
    QFETCH(QString, change);
    QFETCH(QString, undoText);
    auto* undo = m_fixture->control<QAction>("mnuUndo");
    auto* redo = m_fixture->control<QAction>("mnuRedo");
    const QString compilation = kit("snaps/two.tessel");
    QVERIFY(test::writeFile(compilation, "One\t" + QFileInfo(m_snaps[5]).fileName().toUtf8()
                                             + "\nTwo\t" + QFileInfo(m_snaps[6]).fileName().toUtf8()
                                             + "\n"));
    if (change == "image") {
        listEntries(kEntryCount, 3);
        createFlash(kit("made.rom"));
    } else {
        listEntries(3, 1);
    }
    QVERIFY(!undo->isEnabled());
    const State before = state();

    if (change == "add") {
        QCOMPARE(window().browser().setPath(kit("snaps")), BrowserError::None);
        auto* files = m_fixture->control<FileListView>("fleSelecciona");
        QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), kEntryCount);
        files->setCurrentIndex(files->model()->index(4, 0, files->rootIndex()));
        prompts().answerInput("Added");
        QTest::keyClick(files, Qt::Key_Return);
    } else if (change == "drop") {
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(m_snaps[7])});
        const QPoint at = rowPoint(6);
        QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, {});
        QApplication::sendEvent(grid()->viewport(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &files, Qt::LeftButton, {});
        prompts().answerInput("Dropped");
        QApplication::sendEvent(grid()->viewport(), &dropped);
        QTRY_COMPARE(list().count(), 4);
    } else if (change == "delete") {
        prompts().answerMessage(Answer::Ok);
        QTest::keyClick(grid(), Qt::Key_Delete);
    } else if (change == "rename") {
        renameTo(1, "Renamed");
    } else if (change == "up" || change == "down") {
        QTest::keyClick(grid(), change == "up" ? Qt::Key_Up : Qt::Key_Down, Qt::AltModifier);
    } else if (change == "drag") {
        dragTo(1, rowPoint(0));
    } else if (change == "new") {
        prompts().answerMessage(Answer::Discard);
        m_fixture->trigger("mnuNuevo");
        QCOMPARE(prompts().last().buttons, Buttons::SaveDiscardCancel);
    } else if (change == "open") {
        prompts().answerOpen(compilation);
        prompts().answerMessage(Answer::Discard);
        m_fixture->trigger("mnuAbrir");
    } else if (change == "recent") {
        RecentCompilations(window().session().settings).add(compilation);
        emit m_fixture->control<QMenu>("mnuFichero")->aboutToShow();
        prompts().answerMessage(Answer::Discard);
        m_fixture->trigger("mnuReciente1");
    } else if (change == "image") {
        openImage(kit("made.rom"), Answer::Yes);
    }
    const State after = state();
    QVERIFY(after.entries != before.entries);
    QCOMPARE(undo->text(), undoText);

    undo->trigger();
    verify(before);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(redo->text(), QString(undoText).replace("&Undo", "&Redo"));
    redo->trigger();
    verify(after);
    // Ctrl+Z and Ctrl+Y reach the same steps from anywhere in the window.
    QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier);
    verify(before);
    QTest::keyClick(grid(), Qt::Key_Y, Qt::ControlModifier);
    verify(after);
}

void TestEditing::unsavedIsWhatNoFileHolds_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("title");
    const QString plain = "Tessel Zizerev[*]";
    QTest::newRow("empty") << "" << false << plain;
    QTest::newRow("never saved") << "three" << true << plain;
    QTest::newRow("saved") << "three save" << false << "games[*] - Tessel Zizerev";
    QTest::newRow("saved, renamed") << "three save rename" << true << "games[*] - Tessel Zizerev";
    QTest::newRow("renamed back by undo")
        << "three save rename undo" << false << "games[*] - Tessel Zizerev";
    QTest::newRow("built") << "ten build" << false << plain;
    QTest::newRow("built, moved") << "ten build move" << true << plain;
    QTest::newRow("image opened") << "ten build image" << false << "made[*] - Tessel Zizerev";
    QTest::newRow("emptied") << "three save delete" << false << "games[*] - Tessel Zizerev";
}

// The title and the question on closing follow what no file holds.
void TestEditing::unsavedIsWhatNoFileHolds()
{
    QFETCH(QString, steps);
    QFETCH(bool, modified);
    QFETCH(QString, title);
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
        if (step == "three" || step == "ten") {
            listEntries(step == "ten" ? kEntryCount : 3, 0);
        } else if (step == "save") {
            prompts().answerSave(kit("snaps/games"));
            prompts().answerMessage(Answer::Ok);
            m_fixture->trigger("mnuGuardar");
        } else if (step == "rename") {
            renameTo(0, "Other");
        } else if (step == "undo") {
            m_fixture->trigger("mnuUndo");
        } else if (step == "build") {
            createFlash(kit("made.rom"));
        } else if (step == "move") {
            window().moveCurrent(1);
        } else if (step == "image") {
            openImage(kit("made.rom"), Answer::Yes); // captured: the old question
        } else if (step == "delete") {
            list().clear();
        }
    }
    QCOMPARE(window().isWindowModified(), modified);
    QCOMPARE(window().windowTitle(), title);

    const int asked = prompts().calls().size();
    if (!modified) {
        QVERIFY(window().close());
        QCOMPARE(prompts().calls().size(), asked);
        return;
    }
    prompts().answerMessage(Answer::Cancel);
    QVERIFY(!window().close());
    QVERIFY(window().isVisible());
    QCOMPARE(prompts().last().buttons, Buttons::SaveDiscardCancel);
    // Save there saves first, then the window closes.
    prompts().answerMessage(Answer::Save);
    prompts().answerSave(kit("closing.tessel"));
    prompts().answerMessage(Answer::Ok);
    QVERIFY(window().close());
    QVERIFY(test::readFile(kit("closing.tessel")).startsWith(list().entry(0).name.toUtf8() + '\t'));
}

void TestEditing::movesStayWithinTheEntries_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("how"); // up, down, or the grid row to drop on
    QTest::addColumn<QString>("order");
    QTest::addColumn<int>("current");
    QTest::newRow("first up") << 0 << "up"
                              << "ABC" << 0;
    QTest::newRow("last down") << 2 << "down"
                               << "ABC" << 2;
    QTest::newRow("blank row up") << 3 << "up"
                                  << "ABC" << 3;
    QTest::newRow("blank row down") << 6 << "down"
                                    << "ABC" << 6;
    QTest::newRow("second up") << 1 << "up"
                               << "BAC" << 0;
    QTest::newRow("first down") << 0 << "down"
                                << "BAC" << 1;
    QTest::newRow("first dragged past the end") << 0 << "7"
                                                << "BCA" << 2;
    QTest::newRow("last dragged to the top") << 2 << "0"
                                             << "CAB" << 0;
}

void TestEditing::movesStayWithinTheEntries()
{
    QFETCH(int, row);
    QFETCH(QString, how);
    QFETCH(QString, order);
    QFETCH(int, current);
    listEntries(3, row);
    if (how == "up" || how == "down")
        QTest::keyClick(grid(), how == "up" ? Qt::Key_Up : Qt::Key_Down, Qt::AltModifier);
    else
        dragTo(row, rowPoint(how.toInt()));
    QCOMPARE(names(), order);
    QCOMPARE(window().currentRow(), current);
    QCOMPARE(m_fixture->control<QAction>("mnuUndo")->isEnabled(), order != "ABC");
    QVERIFY(prompts().calls().isEmpty());
}

void TestEditing::renameRefusalsKeepTheName_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal"); // empty when taken
    QTest::addColumn<bool>("hint");
    QTest::newRow("taken") << 1 << "Jet Set"
                           << "" << false;
    QTest::newRow("blanks are characters") << 1 << "   "
                                           << "" << false;
    QTest::newRow("shown differently") << 1 << "Año"
                                       << "" << true;
    QTest::newRow("empty") << 1 << ""
                           << "A menu name cannot be empty." << false;
    QTest::newRow("too long") << 1 << QString(21, 'x') << "has 21 characters" << false;
    QTest::newRow("a tab") << 1 << "Jet\tSet"
                           << "\"Jet?Set\" holds a control character" << true;
    QTest::newRow("blank row") << 5 << ""
                               << "" << false;
}

void TestEditing::renameRefusalsKeepTheName()
{
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    QFETCH(bool, hint);
    listEntries(3, 0);
    startRename(row);
    auto* editor = grid()->findChild<NameEditor*>();
    if (row >= list().count()) {
        QVERIFY(!editor);
        QCOMPARE(names(), "ABC");
        return;
    }
    QVERIFY(editor);
    QCOMPARE(grid()->indexAt(editor->geometry().center()).column(), SnapshotList::NameColumn);
    QCOMPARE(editor->text(), "B");
    editor->setText(typed);
    QCOMPARE(editor->hintLabel()->isVisible(), hint);
    if (!refusal.isEmpty())
        prompts().answerMessage(Answer::Ok);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!grid()->findChild<NameEditor*>());
    QTRY_VERIFY(prompts().allAnswered());
    if (refusal.isEmpty()) {
        QTRY_COMPARE(list().entry(1).name, typed);
        QVERIFY(prompts().calls().isEmpty());
        return;
    }
    QCOMPARE(list().entry(1).name, QString("B"));
    QVERIFY2(prompts().last().text.contains(refusal), qPrintable(prompts().last().text));
    QVERIFY(prompts().last().text.endsWith("The entry keeps its name \"B\"."));
    QVERIFY(!m_fixture->control<QAction>("mnuUndo")->isEnabled());
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
