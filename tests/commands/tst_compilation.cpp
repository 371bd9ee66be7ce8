// SPDX-License-Identifier: GPL-3.0-or-later
// Compilation files written and read back, checked as adding checks, the
// recent list, and files dropped many at a time.
#include "commands/AddSnapshot.h"
#include "commands/Compilation.h"
#include "commands/SnapshotList.h"
#include "core/Cartridge.h"
#include "core/Settings.h"
#include "formats/EntryList.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tessel;
using tessel::test::ScriptedPrompts;
using Kind = ScriptedPrompts::Kind;

class TestCompilation : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void relativePathsTravelWithTheFolder();
    void whatALineCannotHoldIsRefused();
    void everyBadLineIsNamed();
    void recentKeepsFiveInASectionOfItsOwn();
    void twelveFilesDroppedOnAnEmptyList();

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }
    SnapshotEntries tenGames(const QString& folder);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCompilation::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

SnapshotEntries TestCompilation::tenGames(const QString& folder)
{
    QDir().mkpath(path(folder));
    SnapshotEntries entries;
    for (int i = 0; i < kEntryCount; ++i) {
        entries.append(
            {path(QString("%1/game %2.sna").arg(folder).arg(i)), QString("Game %1").arg(i)});
        test::writeFile(entries[i].path, QByteArray(kSnaFileSize, char('a' + i)));
    }
    return entries;
}

void TestCompilation::relativePathsTravelWithTheFolder()
{
    SnapshotEntries entries = tenGames("share/snaps");
    test::writeFile(path("elsewhere.sna"), QByteArray(kSnaFileSize, 'e'));
    entries[9] = {path("elsewhere.sna"), " "}; // not below: written whole
    entries[0].name = QString::fromUtf8("\uFEFF\u00e9 %1"); // not taken for the file's mark
    entries[3].trainers = {{"Lives = 9", {{16384, 0}, {65535, 255}}}, {"", {{30000, 7}}}};
    entries[9].trainers = {{QString::fromUtf8("Inmune ñ"), {{40000, 201}}}};
    const QString list = path("share/games.tessel");
    QString error;
    QVERIFY2(writeEntryList(list, entries, &error), qPrintable(error));
    const QByteArray data = test::readFile(list);
    QVERIFY(data.contains("\tsnaps/game 0.sna\n"));
    QVERIFY(data.contains("\t" + QDir::toNativeSeparators(path("elsewhere.sna")).toUtf8() + "\n"));

    QVERIFY(QDir().rename(path("share"), path("moved")));
    const auto read = readCompilation(path("moved/games.tessel"), nullptr, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->size(), kEntryCount);
    QCOMPARE(read->at(0).path, path("moved/snaps/game 0.sna"));
    QCOMPARE(read->at(0).name, entries[0].name);
    QCOMPARE(read->at(3).trainers, entries[3].trainers);
    QCOMPARE(read->at(9), entries[9]);
}

void TestCompilation::whatALineCannotHoldIsRefused()
{
    SnapshotEntries entries = tenGames("snaps");
    const QString list = path("snaps/list.tessel");
    QVERIFY(test::writeFile(list, "before"));
    for (const SnapshotEntry& bad :
         {SnapshotEntry{entries[0].path, "Tab\there"}, SnapshotEntry{entries[0].path, "Two\nlines"},
          SnapshotEntry{path("snaps/a\rb.sna"), "Name"},
          SnapshotEntry{entries[0].path, "Name", {}, {{"Tab\there", {{16384, 1}}}}}}) {
        entries[5] = bad;
        QString error;
        QVERIFY(!writeEntryList(list, entries, &error));
        QVERIFY2(error.startsWith("Entry 6 "), qPrintable(error));
    }
    QCOMPARE(test::readFile(list), QByteArray("before"));
    // Where the file cannot go: a folder in its place, a folder missing.
    QString error;
    QVERIFY(!writeEntryList(path("snaps"), {}, &error) && error.contains("snaps"));
    QVERIFY(!writeEntryList(path("gone/list.tessel"), {}, &error) && error.contains("gone"));
}

void TestCompilation::everyBadLineIsNamed()
{
    tenGames("snaps");
    QByteArray data = "Good\tgame 0.sna\n\nNo tab\nLong name of twenty-one\tgame 1.sna\n"
                      "Gone\tgone.sna\n\xff\tgame 2.sna\nCtl\x01\tgame 3.sna\n";
    for (int i = 0; i < 12; ++i)
        data += "G\tgame 4.sna\n";
    QVERIFY(test::writeFile(path("snaps/bad.tessel"), data));
    QString error;
    QVERIFY(!readCompilation(path("snaps/bad.tessel"), nullptr, &error));
    QStringList lines = error.split('\n');
    QVERIFY2(lines.takeFirst().contains("6 of its lines"), qPrintable(error));
    QStringList starts;
    for (const QString& line : lines)
        starts << line.section(':', 0, 0);
    QCOMPARE(starts, (QStringList{"Line 3", "Line 4", "Line 5", "Line 6", "Line 7", "Line 17"}));
    QVERIFY2(lines[1].contains("23 characters") && lines[2].contains("gone.sna")
                 && lines[5].contains("entry 11"),
             qPrintable(error));
}

void TestCompilation::recentKeepsFiveInASectionOfItsOwn()
{
    const QString ini = path("tessel.ini");
    QVERIFY(test::writeFile(ini, "[tessel]\nstart=1\nRecent1=keep\n"));
    RecentCompilations recent{Settings(ini)};
    for (int i = 1; i <= 7; ++i)
        QVERIFY(recent.add(path(QString("c%1.tessel").arg(i))));
    QVERIFY(recent.add(path("sub/../c5.tessel"))); // the same file, spelt another way
    QVERIFY(!recent.add(path("line\nbreak.tessel")));
    QStringList expected;
    for (int i : {5, 7, 6, 4, 3})
        expected << QDir::toNativeSeparators(path(QString("c%1.tessel").arg(i)));
    QCOMPARE(recent.paths(), expected);
    QVERIFY(recent.remove(path("c6.tessel")));
    expected.removeAt(2);
    QCOMPARE(RecentCompilations(Settings(ini)).paths(), expected);
    QCOMPARE(Settings(ini).value("Recent1"), QString("keep"));
}

// Twelve files dropped on an empty list, one of them not a snapshot: it is
// skipped and named, and the list-full warning counts what was left over.
void TestCompilation::twelveFilesDroppedOnAnEmptyList()
{
    const SnapshotEntries games = tenGames("snaps");
    test::writeFile(path("snaps/short.sna"), "short");
    QStringList dropped{games[0].path, path("snaps/short.sna")};
    for (int i = 1; i < 11; ++i)
        dropped << games[i % kEntryCount].path;
    SnapshotList list;
    ScriptedPrompts prompts;
    for (int i = 0; i < kEntryCount; ++i)
        prompts.answerInput(QString("Drop %1").arg(i));
    prompts.answerMessage(Answer::Ok);
    prompts.answerMessage(Answer::Ok);
    QCOMPARE(addBatch(list, {dropped}, prompts, nullptr).added, kEntryCount);
    QCOMPARE(list.entry(9), (SnapshotEntry{games[9].path, "Drop 9"}));
    const auto messages = prompts.calls().mid(kEntryCount);
    QVERIFY2(messages[0].text.startsWith("This dropped file was not added:\r")
                 && messages[0].text.contains("short.sna"),
             qPrintable(messages[0].text));
    QCOMPARE(messages[1].text, "The compilation is complete. It's not posible to add more "
                               "SNA's.\r1 of the dropped files was not added.");

    // A full list takes none and says so at once.
    prompts.answerMessage(Answer::Ok);
    QCOMPARE(addBatch(list, {dropped.mid(0, 3)}, prompts, nullptr).added, 0);
    QVERIFY(prompts.last().text.endsWith("\r3 of the dropped files were not added."));
    QVERIFY(prompts.allAnswered());
}

QTEST_GUILESS_MAIN(TestCompilation)
#include "tst_compilation.moc"
