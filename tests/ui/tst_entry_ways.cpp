// SPDX-License-Identifier: GPL-3.0-or-later
// Every way a snapshot enters the list asks the same hardware question and
// shows the same note; drops and folders can be called off; a dropped
// compilation or image opens as its menu item does.
#include "commands/Compilation.h"
#include "core/Cartridge.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "ui/ItemViews.h"

#include <QApplication>
#include <QMimeData>
#include <QTest>

#include <optional>

using namespace tessel;
using Kind = test::ScriptedPrompts::Kind;

namespace {

enum Way { Click, Enter, OnGrid, OnFiles, Folder, AddFolder, OpenList, DropList, Recent };
// Saved with an Interface 1; a real .z80 with the AY flag, as emulators
// write on ordinary 48K saves; a plain one.
const QString kSaved[] = {"if1gsphello.szx", "ld48bin.z80", "gsphello.z80"};
const char* kSays[] = {"Interface 1", "sound", ""};

} // namespace

class TestEntryWays : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_fixture.emplace().start()); }
    void cleanup();

    void sameQuestionAndNoteEveryWay_data();
    void sameQuestionAndNoteEveryWay();
    void compilationAsksOnceListingTheEntries();
    void dropOfSeveralCanSkipAndStop();
    void droppedImageOpens();
    void addFolderStopsAtTheTenth();

private:
    QString kit(const QString& relative) const { return m_fixture->kit(relative); }
    test::ScriptedPrompts& prompts() { return m_fixture->prompts; }
    const SnapshotList& list() { return m_fixture->window().session().list; }
    // Drops the files on the view; the window takes them up once the drag is over.
    void drop(const char* view, const QStringList& files);
    // Real snapshots "game NN.sna" in a folder of the kit.
    QStringList games(const QString& folder, int count);

    std::optional<test::WindowFixture> m_fixture;
};

void TestEntryWays::cleanup()
{
    QVERIFY(prompts().allAnswered());
    m_fixture.reset();
}

void TestEntryWays::drop(const char* view, const QStringList& files)
{
    QWidget* viewport = m_fixture->control<QAbstractItemView>(view)->viewport();
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    QDragEnterEvent enter(viewport->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    QDropEvent dropped(viewport->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &dropped);
    QVERIFY(enter.isAccepted() && dropped.isAccepted());
    QCoreApplication::processEvents(); // the queued call that takes it up
}

QStringList TestEntryWays::games(const QString& folder, int count)
{
    QDir().mkpath(kit(folder));
    const QDir data(TESSEL_TEST_DATA "/sna");
    const QStringList real = data.entryList({"*.sna"}, QDir::Files);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << kit(QString("%1/game %2.sna").arg(folder).arg(i, 2, 10, QChar('0')));
        QFile::copy(data.filePath(real[i % real.size()]), paths.last());
    }
    return paths;
}

void TestEntryWays::sameQuestionAndNoteEveryWay_data()
{
    QTest::addColumn<int>("way");
    QTest::addColumn<int>("saved");
    const char* ways[] = {"double click",     "Enter",          "drop on grid",
                          "drop on files",    "dropped folder", "Add Folder",
                          "Open Compilation", "dropped list",   "Recent"};
    for (int way = Click; way <= Recent; ++way) {
        for (int saved = 0; saved < 3; ++saved)
            QTest::addRow("%s, %s", ways[way], qPrintable(kSaved[saved])) << way << saved;
    }
}

void TestEntryWays::sameQuestionAndNoteEveryWay()
{
    QFETCH(int, way);
    QFETCH(int, saved);
    const QString game = kit("one/") + kSaved[saved];
    QVERIFY(QDir().mkpath(kit("one")));
    QVERIFY(QFile::copy(TESSEL_TEST_DATA "/other/" + kSaved[saved], game));
    QVERIFY(test::writeFile(kit("one.tessel"), "Game\t" + game.toUtf8()));
    if (saved == 0)
        prompts().answerMessage(Answer::Yes);
    if (way < OpenList)
        prompts().answerInput("Game");

    auto* files = m_fixture->control<FileListView>("fleSelecciona");
    if (way == Click || way == Enter) {
        QCOMPARE(m_fixture->window().browser().setPath(kit("one")), BrowserError::None);
        QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), 1);
        files->setCurrentIndex(files->model()->index(0, 0, files->rootIndex()));
        if (way == Click)
            QTest::mouseDClick(files->viewport(), Qt::LeftButton, {},
                               files->visualRect(files->currentIndex()).center());
        else
            QTest::keyClick(files, Qt::Key_Return);
    } else if (way == AddFolder) {
        prompts().answerFolder(kit("one"));
        m_fixture->trigger("mnuCarpeta");
    } else if (way == OpenList) {
        prompts().answerOpen(kit("one.tessel"));
        m_fixture->trigger("mnuAbrir");
    } else if (way == Recent) {
        QVERIFY(RecentCompilations(m_fixture->window().session().settings).add(kit("one.tessel")));
        QVERIFY(m_fixture->start());
        m_fixture->trigger("mnuReciente1");
    } else {
        const QString dropped = way == Folder     ? kit("one")
                                : way == DropList ? kit("one.tessel")
                                                  : game;
        drop(way == OnFiles ? "fleSelecciona" : "msgRom", {dropped});
    }

    QCOMPARE(list().count(), 1);
    QCOMPARE(list().entry(0).path, game);
    QCOMPARE(prompts().count(Kind::Message), saved == 0 ? 1 : 0);
    for (const auto& call : prompts().calls()) {
        if (call.kind == Kind::Message)
            QVERIFY2(call.text.contains(kSays[saved]) && call.text.contains(game)
                         && call.buttons == Buttons::YesNo,
                     qPrintable(call.text));
    }
    // The note, in the naming box and in the grid's tooltip for the row.
    const QString note = list().entry(0).note;
    QCOMPARE(note.isEmpty(), saved == 2);
    QVERIFY2(note.contains(kSays[saved]), qPrintable(note));
    if (way < OpenList)
        QCOMPARE(prompts().last().note, note);
    const QModelIndex row = m_fixture->control<GridView>("msgRom")->model()->index(0, 1);
    QVERIFY(row.data(Qt::ToolTipRole).toString().endsWith(note));
}

void TestEntryWays::compilationAsksOnceListingTheEntries()
{
    QByteArray lines;
    for (int i = 0; i < 4; ++i)
        lines += QString("Game %1\t%2/%3\n")
                     .arg(i)
                     .arg(TESSEL_TEST_DATA "/other", kSaved[i % 2 ? 0 : 2])
                     .toUtf8();
    QVERIFY(test::writeFile(kit("mixed.tessel"), lines));
    for (Answer answer : {Answer::No, Answer::Yes}) {
        prompts().answerOpen(kit("mixed.tessel"));
        prompts().answerMessage(answer);
        m_fixture->trigger("mnuAbrir");
        QCOMPARE(list().count(), answer == Answer::Yes ? 4 : 0);
    }
    QCOMPARE(prompts().count(Kind::Message), 2);
    const QString asked = prompts().last().text;
    QCOMPARE(asked.count("Interface 1"), 2);
    QVERIFY2(asked.contains("Entry 2 (\"Game 1\")") && asked.contains("Entry 4 (\"Game 3\")"),
             qPrintable(asked));
}

void TestEntryWays::dropOfSeveralCanSkipAndStop()
{
    const QStringList files = games("many", 5);
    prompts().answerInput("First");
    prompts().answerInput(Answer::Skip);
    prompts().answerInput("Third");
    prompts().answerInput(Answer::Stop);
    drop("fleSelecciona", files);
    QCOMPARE(list().count(), 2);
    QCOMPARE(list().entry(1), (SnapshotEntry{files[2], "Third"}));
    QCOMPARE(prompts().calls().size(), 4); // nothing said of the file left
    QCOMPARE(prompts().last().buttons, Buttons::OkSkipStop);

    // A single file keeps the double click's box: a name is required.
    prompts().answerInput(Answer::Cancel);
    prompts().answerInput("Alone");
    drop("msgRom", {files[4]});
    QCOMPARE(prompts().last().buttons, Buttons::OkCancel);
    QCOMPARE(list().entry(2).name, "Alone");
}

void TestEntryWays::droppedImageOpens()
{
    QVERIFY(test::writeFile(kit("bank1.rom"), QByteArray(kBankSize, '1')));
    QVERIFY(test::writeFile(kit("bank32.rom"), QByteArray(kBankSize, '3')));
    const QStringList ten = games("ten", kEntryCount);
    for (int i = 0; i < kEntryCount; ++i)
        m_fixture->window().session().list.append({ten[i], QString("Game %1").arg(i)});
    prompts().answerSave(kit("made.rom"));
    prompts().answerMessage(Answer::Ok);
    m_fixture->trigger("mnuCreate");

    // The image replaces the list, with Open Flash Image's questions.
    QVERIFY(QDir().mkpath(kit("out")));
    prompts().answerMessage(Answer::Yes);
    prompts().answerFolder(kit("out"));
    prompts().answerMessage(Answer::Ok);
    drop("fleSelecciona", {kit("made.rom")});
    QCOMPARE(list().entry(3).path, kit("out/Game 3.sna"));
}

void TestEntryWays::addFolderStopsAtTheTenth()
{
    const QStringList twelve = games("twelve", 12);
    m_fixture->window().session().list.append({twelve[0], "Already"});
    for (int i = 0; i < kEntryCount - 1; ++i)
        prompts().answerInput(QString("Folder %1").arg(i));
    prompts().answerMessage(Answer::Ok);
    prompts().answerFolder(kit("twelve"));
    m_fixture->trigger("mnuCarpeta");
    QCOMPARE(list().entry(9), (SnapshotEntry{twelve[8], "Folder 8"}));
    QVERIFY2(prompts().last().text.endsWith("3 snapshots of the folder \"" + kit("twelve")
                                            + "\" were not added."),
             qPrintable(prompts().last().text));

    // A full list says so before asking for a folder.
    prompts().answerMessage(Answer::Ok);
    m_fixture->trigger("mnuCarpeta");
    QCOMPARE(prompts().count(Kind::Folder), 1);
}

QTEST_MAIN(TestEntryWays)
#include "tst_entry_ways.moc"
