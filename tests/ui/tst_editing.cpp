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
#include <QPushButton>
#include <QTest>

#include <memory>
#include <optional>

using namespace tessel;

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
    MainWindow& window() { return m_fixture->window(); }
    SnapshotList& list() { return window().session().list; }
    test::ScriptedPrompts& prompts() { return m_fixture->prompts; }
    GridView* grid() { return m_fixture->control<GridView>("msgRom"); }
    QString kit(const QString& relative) const { return m_fixture->kit(relative); }
    // Everything undo must give back, and the title that shows it.
    QString state();
    QString names();

    // Entries "A", "B"... set as a starting point, not as an undoable change.
    void listEntries(int count, int current);
    void createFlash();
    void openImage();
    NameEditor* startRename(int row);
    void dragTo(int from, int row);

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

QString TestEditing::state()
{
    QStringList shown;
    for (const SnapshotEntry& entry : list().entries())
        shown << entry.name + '=' + entry.path + QString(" %1 trainers").arg(entry.trainers.size());
    return shown.join('|') + QString(" row %1, ").arg(window().currentRow())
           + window().windowTitle() + (window().isWindowModified() ? " modified" : "");
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

void TestEditing::createFlash()
{
    prompts().answerSave(kit("made.rom"));
    prompts().answerMessage(Answer::Ok);
    m_fixture->trigger("mnuCreate");
}

// The image made by createFlash(), with a list that asks only "Are you sure?".
void TestEditing::openImage()
{
    QVERIFY(QDir().mkpath(kit("free")));
    prompts().answerOpen(kit("made.rom"));
    prompts().answerMessage(Answer::Yes);
    prompts().answerFolder(kit("free"));
    prompts().answerMessage(Answer::Ok);
    m_fixture->trigger("mnuImagen");
}

NameEditor* TestEditing::startRename(int row)
{
    window().setCurrentRow(row);
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_F2);
    return grid()->findChild<NameEditor*>();
}

// Dragged by the grid's data and dropped on the upper edge of a row.
void TestEditing::dragTo(int from, int row)
{
    window().setCurrentRow(from);
    const std::unique_ptr<QMimeData> data(
        grid()->model()->mimeData({grid()->model()->index(from, 0)}));
    const QPoint at = grid()->visualRect(grid()->model()->index(row, 0)).topLeft() + QPoint(4, 2);
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(grid()->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropped(at, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(grid()->viewport(), &dropped);
}

void TestEditing::everyChangeIsUndoneAndRedone_data()
{
    QTest::addColumn<QString>("undoText");
    for (const char* text : {"Add", "Drop", "Delete", "Rename", "Move Up", "Move Down", "Move",
                             "Trainers", "New", "Open Compilation", "Open Flash Image"})
        QTest::newRow(text) << QString("&Undo ") + text;
    // Other ways into the same changes.
    QTest::newRow("Add Folder") << "&Undo Add Folder";
    QTest::newRow("Recent") << "&Undo Open Compilation";
    QTest::newRow("Take Apart") << "&Undo Open Flash Image";
}

// Undo gives back names, paths, order, the current row and the title
// exactly; redo the state the change made.
void TestEditing::everyChangeIsUndoneAndRedone()
{
    QFETCH(QString, undoText);
    const QString change = QTest::currentDataTag();
    auto* undo = m_fixture->control<QAction>("mnuUndo");
    const QString compilation = kit("snaps/two.tessel");
    QVERIFY(test::writeFile(compilation, "One\t" + QFileInfo(m_snaps[5]).fileName().toUtf8()));
    if (change == "Open Flash Image" || change == "Take Apart") {
        listEntries(kEntryCount, 3);
        createFlash();
    } else {
        listEntries(3, 1);
    }
    const QString before = state();

    if (change == "Add") {
        QCOMPARE(window().browser().setPath(kit("snaps")), BrowserError::None);
        auto* files = m_fixture->control<FileListView>("fleSelecciona");
        QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), kEntryCount);
        files->setCurrentIndex(files->model()->index(4, 0, files->rootIndex()));
        prompts().answerInput("Added");
        QTest::keyClick(files, Qt::Key_Return);
    } else if (change == "Drop") {
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(m_snaps[7])});
        const QPoint at = grid()->viewport()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, {});
        QApplication::sendEvent(grid()->viewport(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &files, Qt::LeftButton, {});
        prompts().answerInput("Dropped");
        QApplication::sendEvent(grid()->viewport(), &dropped);
        QTRY_COMPARE(list().count(), 4);
    } else if (change == "Delete") {
        prompts().answerMessage(Answer::Ok);
        QTest::keyClick(grid(), Qt::Key_Delete);
    } else if (change == "Rename") {
        startRename(1)->setText("Renamed");
        QTest::keyClick(grid()->findChild<NameEditor*>(), Qt::Key_Return);
        QTRY_COMPARE(list().entry(1).name, QString("Renamed"));
    } else if (change.startsWith("Move ")) {
        QTest::keyClick(grid(), change == "Move Up" ? Qt::Key_Up : Qt::Key_Down, Qt::AltModifier);
    } else if (change == "Move") {
        dragTo(1, 0);
    } else if (change == "Trainers") {
        window().setTrainers(1, {{"Lives", {{30000, 0}}}});
    } else if (change == "New") {
        prompts().answerMessage(Answer::Discard);
        m_fixture->trigger("mnuNuevo");
        QCOMPARE(prompts().last().buttons, Buttons::SaveDiscardCancel);
    } else if (change == "Open Compilation") {
        prompts().answerOpen(compilation);
        prompts().answerMessage(Answer::Discard);
        m_fixture->trigger("mnuAbrir");
    } else if (change == "Open Flash Image") {
        openImage();
    } else if (change == "Add Folder") {
        QVERIFY(QDir().mkpath(kit("one")));
        QVERIFY(QFile::copy(m_snaps[6], kit("one/game.sna")));
        prompts().answerFolder(kit("one"));
        prompts().answerInput("Folder");
        m_fixture->trigger("mnuCarpeta");
    } else if (change == "Recent") {
        QVERIFY(RecentCompilations(window().session().settings).add(compilation));
        emit m_fixture->control<QMenu>("mnuFichero")->aboutToShow(); // fills Recent
        prompts().answerMessage(Answer::Discard);
        m_fixture->trigger("mnuReciente1");
    } else if (change == "Take Apart") {
        prompts().answerOpen(kit("made.rom"));
        m_fixture->trigger("mnuImageContents");
        QVERIFY(QDir().mkpath(kit("free")));
        prompts().answerMessage(Answer::Yes);
        prompts().answerFolder(kit("free"));
        prompts().answerMessage(Answer::Ok);
        m_fixture->control<QPushButton>("cmdTakeApart")->click();
    }
    const QString after = state();
    QVERIFY(after != before);
    QCOMPARE(undo->text(), undoText);

    QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier); // Edit > Undo's key
    QCOMPARE(state(), before);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(m_fixture->control<QAction>("mnuRedo")->text(), undoText.replace("&Undo", "&Redo"));
    QTest::keyClick(grid(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(state(), after);
}

void TestEditing::unsavedIsWhatNoFileHolds_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("title");
    const QString plain = "Tessel Zizerev[*]";
    const QString games = "games[*] - Tessel Zizerev";
    QTest::newRow("empty") << "" << false << plain;
    QTest::newRow("never saved") << "three" << true << plain;
    QTest::newRow("saved") << "three save" << false << games;
    QTest::newRow("saved, moved") << "three save move" << true << games;
    QTest::newRow("moved back by undo") << "three save move undo" << false << games;
    QTest::newRow("emptied") << "three save clear" << false << games;
    QTest::newRow("built") << "ten build" << false << plain;
    QTest::newRow("built, moved") << "ten build move" << true << plain;
    QTest::newRow("image opened") << "ten build image" << false << "made[*] - Tessel Zizerev";
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
        } else if (step == "move") {
            window().moveCurrent(1);
        } else if (step == "undo") {
            m_fixture->trigger("mnuUndo");
        } else if (step == "clear") {
            list().clear();
        } else if (step == "build") {
            createFlash();
        } else if (step == "image") {
            openImage();
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
    QCOMPARE(prompts().last().buttons, Buttons::SaveDiscardCancel);
    // Save saves first, then the window closes.
    prompts().answerMessage(Answer::Save);
    prompts().answerSave(kit("closing.tessel"));
    prompts().answerMessage(Answer::Ok);
    QVERIFY(window().close());
    QVERIFY(test::readFile(kit("closing.tessel")).startsWith(list().entry(0).name.toUtf8() + '\t'));
}

void TestEditing::movesStayWithinTheEntries_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("how"); // up, down, or the grid row dropped on
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
        dragTo(row, how.toInt());
    QCOMPARE(names(), order);
    QCOMPARE(window().currentRow(), current);
    QCOMPARE(m_fixture->control<QAction>("mnuUndo")->isEnabled(), order != "ABC");
}

void TestEditing::renameRefusalsKeepTheName_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal"); // empty when taken
    QTest::addColumn<bool>("hint");
    QTest::newRow("taken") << 1 << "Jet Set"
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
    NameEditor* editor = startRename(row);
    if (row >= list().count()) {
        QVERIFY(!editor);
        return;
    }
    QCOMPARE(grid()->indexAt(editor->geometry().center()).column(), SnapshotList::NameColumn);
    QCOMPARE(editor->text(), "B");
    editor->setText(typed);
    QCOMPARE(editor->hintLabel()->isVisible(), hint);
    if (!refusal.isEmpty())
        prompts().answerMessage(Answer::Ok);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(list().entry(1).name, refusal.isEmpty() ? typed : QString("B"));
    QTRY_VERIFY(prompts().allAnswered());
    if (!refusal.isEmpty()) {
        QVERIFY2(prompts().last().text.contains(refusal), qPrintable(prompts().last().text));
        QVERIFY(prompts().last().text.endsWith("The entry keeps its name \"B\"."));
    }
    QCOMPARE(m_fixture->control<QAction>("mnuUndo")->isEnabled(), refusal.isEmpty());
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
