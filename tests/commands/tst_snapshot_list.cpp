// SPDX-License-Identifier: GPL-3.0-or-later
// The compilation: the list model, New, adding and removing.
#include "commands/AddSnapshot.h"
#include "commands/RemoveSnapshot.h"
#include "commands/SnapshotList.h"
#include "core/Cartridge.h"
#include "core/MenuName.h"
#include "support/ScriptedPrompts.h"
#include "support/TapeWriter.h"
#include "support/TestFiles.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace tessel;
using tessel::test::ScriptedPrompts;
using Kind = ScriptedPrompts::Kind;

namespace {

void writeSizedFile(const QString& path, qint64 size)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(QByteArray(size, '\x5a')), size);
}

// A list of n entries "P<i>" / "N<i>".
void fill(SnapshotList& list, int n)
{
    for (int i = 0; i < n; ++i)
        QVERIFY(list.append({QStringLiteral("P%1").arg(i), QStringLiteral("N%1").arg(i)}));
}

QStringList names(const SnapshotList& list)
{
    QStringList result;
    for (const SnapshotEntry& entry : list.entries())
        result << entry.name;
    return result;
}

// What views see: a row an entry, path and name.
void verifyShown(const SnapshotList& list)
{
    QCOMPARE(list.rowCount(), list.count());
    for (int row = 0; row < list.count(); ++row) {
        const SnapshotEntry entry = list.entry(row);
        QCOMPARE(list.index(row, SnapshotList::PathColumn).data().toString(), entry.path);
        QCOMPARE(list.index(row, SnapshotList::NameColumn).data().toString(), entry.name);
    }
    QVERIFY(list.entry(list.count()).path.isEmpty());
}

} // namespace

class TestSnapshotList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void modelHasARowPerEntryAndTellsViewsWhatChanged();
    void newAsksEvenWhenEmptyAndOnlyYesErases();

    void acceptsOnlyTheExactSnapshotSize_data();
    void acceptsOnlyTheExactSnapshotSize();
    void namingLoopOffersDefaultsAndShortensLongAnswers();
    void namesCountCharactersNotCodeUnits();
    void fullListRefusesAnyFile();
    void manyFilesNeverGoPastTheTenthRow();
    void fileGoneSinceListingIsReportedByName();
    void pipeAmongTheFilesIsRefusedAtOnce();
    void otherFormatsAreTakenAndRefusalsSayWhy();
    void tapeLoadsOnceWhileShowingProgress();

    void onlyFilledRowsCanBeRemoved();
    void removalMovesLaterEntriesUp_data();
    void removalMovesLaterEntriesUp();
    void cancelKeepsEverything();
    void nextDefaultNumberFollowsTheCount();

private:
    QString file(const QString& name) const { return m_folder + QLatin1Char('/') + name; }
    int add(const QString& name)
    {
        return addSnapshots(*m_list, {file(name)}, *m_prompts, nullptr);
    }

    QTemporaryDir* m_dir = nullptr;
    QString m_folder;
    ScriptedPrompts* m_prompts = nullptr;
    SnapshotList* m_list = nullptr;
};

void TestSnapshotList::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_prompts = new ScriptedPrompts;
    m_list = new SnapshotList;
    new QAbstractItemModelTester(m_list, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                 m_list);

    m_folder = QDir::toNativeSeparators(m_dir->filePath(QStringLiteral("snaps")));
    QVERIFY(QDir().mkpath(m_folder));
    writeSizedFile(file(QStringLiteral("good.sna")), kSnaFileSize);
    writeSizedFile(file(QStringLiteral("short.sna")), kSnaFileSize - 1);
    writeSizedFile(file(QStringLiteral("long.sna")), kSnaFileSize + 1);
    qputenv("XDG_CACHE_HOME", m_dir->filePath(QStringLiteral("cache")).toUtf8());
}

void TestSnapshotList::cleanup()
{
    delete m_list;
    delete m_prompts;
    delete m_dir;
}

void TestSnapshotList::modelHasARowPerEntryAndTellsViewsWhatChanged()
{
    QCOMPARE(m_list->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "SNAPSHOT");
    QCOMPARE(m_list->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "NAME");
    verifyShown(*m_list);

    QSignalSpy inserted(m_list, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(m_list, &QAbstractItemModel::rowsRemoved);
    QSignalSpy moved(m_list, &QAbstractItemModel::rowsMoved);
    QSignalSpy changed(m_list, &QAbstractItemModel::dataChanged);
    fill(*m_list, 4);
    QCOMPARE(inserted.size(), 4);
    QCOMPARE(inserted.last().at(1).toInt(), 3);

    m_list->removeAt(0);
    QCOMPARE(names(*m_list), (QStringList{"N1", "N2", "N3"}));
    QCOMPARE(removed.size(), 1);

    // Moves both ways and to the ends; the rows between shift by one.
    QVERIFY(m_list->move(0, 2));
    QCOMPARE(names(*m_list), (QStringList{"N2", "N3", "N1"}));
    QVERIFY(m_list->move(2, 0));
    QCOMPARE(names(*m_list), (QStringList{"N1", "N2", "N3"}));
    QVERIFY(m_list->move(1, 2));
    QCOMPARE(names(*m_list), (QStringList{"N1", "N3", "N2"}));
    QCOMPARE(moved.size(), 3);
    QVERIFY(!m_list->move(0, 3)); // past the last entry
    QVERIFY(!m_list->move(-1, 0));

    QVERIFY(m_list->setName(1, "Renamed"));
    QVERIFY(!m_list->setName(3, "Nowhere"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(names(*m_list), (QStringList{"N1", "Renamed", "N2"}));
    verifyShown(*m_list);

    fill(*m_list, 7);
    QVERIFY(m_list->isFull());
    QVERIFY(!m_list->append({"P", "N"}));
    QVERIFY(!m_list->setEntries(SnapshotEntries(kEntryCount + 1, {"P", "N"})));
    QCOMPARE(m_list->count(), kEntryCount);
    m_list->removeAt(kEntryCount); // no entry there: nothing to remove
    QCOMPARE(m_list->count(), kEntryCount);
    m_list->clear();
    verifyShown(*m_list);
}

void TestSnapshotList::newAsksEvenWhenEmptyAndOnlyYesErases()
{
    fill(*m_list, 4);
    m_prompts->answerMessage(Answer::No);
    QVERIFY(!clearList(*m_list, *m_prompts));
    QCOMPARE(m_list->count(), 4);
    const auto question = m_prompts->last();
    QCOMPARE(question.text, "Are you sure? The actual list of SNAs will be erased.");
    QCOMPARE(question.title, "Tessel Zizerev");
    QCOMPARE(question.icon, Icon::Critical);
    QCOMPARE(question.buttons, Buttons::YesNo);

    m_prompts->answerMessage(Answer::Yes);
    QVERIFY(clearList(*m_list, *m_prompts));
    QCOMPARE(m_list->count(), 0);
    verifyShown(*m_list);

    m_prompts->answerMessage(Answer::Yes);
    clearList(*m_list, *m_prompts);
    QCOMPARE(m_prompts->count(Kind::Message), 3);

    m_prompts->answerInput("after");
    add("good.sna");
    QCOMPARE(m_list->entry(0).name, "after");
}

void TestSnapshotList::acceptsOnlyTheExactSnapshotSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("49179 bytes") << "good.sna" << true;
    QTest::newRow("one byte short") << "short.sna" << false;
    QTest::newRow("one byte long") << "long.sna" << false;
}

void TestSnapshotList::acceptsOnlyTheExactSnapshotSize()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    if (accepted)
        m_prompts->answerInput("Game");
    else
        m_prompts->answerMessage(Answer::Ok);
    QCOMPARE(add(name), 1); // dealt with either way, so the caller deselects it

    QCOMPARE(m_list->count(), accepted ? 1 : 0);
    if (accepted) {
        QCOMPARE(m_list->entry(0).path, file(name));
        const auto asked = m_prompts->last();
        QCOMPARE(asked.kind, Kind::Input);
        QCOMPARE(asked.text, "Type the name for the menu (Max. 20 chars) " + file(name));
        QCOMPARE(asked.title, "Tessel Zizerev");
        QCOMPARE(asked.defaultText, "Snapshot  1");
        QCOMPARE(asked.snapshotPath, file(name)); // the box can show its screen
    } else {
        const auto warning = m_prompts->last();
        QCOMPARE(warning.text, "The selected file is not a valid SNA snapshot.");
        QCOMPARE(warning.icon, Icon::Exclamation);
        QCOMPARE(warning.buttons, Buttons::Ok);
    }
}

void TestSnapshotList::namingLoopOffersDefaultsAndShortensLongAnswers()
{
    const QString twenty = " twenty characters! ";
    QCOMPARE(twenty.size(), 20);
    const QString longAnswer = "ABCDEFGHIJKLMNOPQRSTU";
    m_prompts->answerInput(Answer::Cancel);
    m_prompts->answerInput(longAnswer); // 21 characters
    m_prompts->answerInput(QString()); // empty after a long one
    m_prompts->answerInput(longAnswer);
    m_prompts->answerInput(longAnswer.left(20)); // the shortened default, confirmed
    add("good.sna");

    QStringList offered;
    for (const auto& call : m_prompts->calls())
        offered << call.defaultText;
    QCOMPARE(offered, (QStringList{"Snapshot  1", "Snapshot  1", longAnswer.left(20), "Snapshot  1",
                                   longAnswer.left(20)}));
    QCOMPARE(m_list->entry(0).name, longAnswer.left(20));

    m_prompts->answerInput(twenty);
    add("good.sna");
    QCOMPARE(m_list->count(), 2);
    QCOMPARE(m_prompts->last().defaultText, "Snapshot  2");
    QCOMPARE(m_list->entry(1).name, twenty); // blanks kept and counted
    QCOMPARE(m_list->entry(1).path, m_list->entry(0).path); // the same file twice
}

void TestSnapshotList::namesCountCharactersNotCodeUnits()
{
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    const QString nineteenAndClef = "nineteen characters" + clef;
    QCOMPARE(nameLength(nineteenAndClef), 20);
    QCOMPARE(nameLeft(nineteenAndClef + "x", 20), nineteenAndClef);
    QCOMPARE(nameLeft("abc" + clef, 4), "abc" + clef);

    m_prompts->answerInput(nineteenAndClef);
    add("good.sna");
    QCOMPARE(m_list->entry(0).name, nineteenAndClef);
}

void TestSnapshotList::fullListRefusesAnyFile()
{
    fill(*m_list, kEntryCount);
    for (const char* name : {"good.sna", "short.sna"}) {
        m_prompts->answerMessage(Answer::Ok);
        // Nothing dealt with: the selection stays as the user left it.
        QCOMPARE(add(QString::fromLatin1(name)), 0);
        const auto warning = m_prompts->last();
        QCOMPARE(warning.text, "The compilation is complete. It's not posible to add more SNA's.");
        QCOMPARE(warning.icon, Icon::Exclamation);
    }
    QCOMPARE(m_prompts->calls().size(), 2);
    QCOMPARE(m_list->count(), kEntryCount);
}

// With nine listed, one more fills the list; whatever else comes with it is
// left alone, never written past the tenth row.
void TestSnapshotList::manyFilesNeverGoPastTheTenthRow()
{
    fill(*m_list, 8);
    m_prompts->answerInput("nine");
    m_prompts->answerInput(QString());
    m_prompts->answerInput("ten");
    const QStringList files(5, file("good.sna"));
    QCOMPARE(addSnapshots(*m_list, files, *m_prompts, nullptr), 2);
    QCOMPARE(m_prompts->calls().at(1).defaultText, "Snapshot  10");
    QCOMPARE(m_list->count(), kEntryCount);
    QCOMPARE(m_list->entry(9).name, "ten");
    QVERIFY(m_prompts->allAnswered());
}

void TestSnapshotList::fileGoneSinceListingIsReportedByName()
{
    QVERIFY(QFile::remove(file("good.sna")));
    m_prompts->answerMessage(Answer::Ok);
    QCOMPARE(add("good.sna"), 1);
    QCOMPARE(m_list->count(), 0);
    QCOMPARE(m_prompts->calls().size(), 1);
    QVERIFY2(m_prompts->last().text.contains(file("good.sna")), qPrintable(m_prompts->last().text));
    QCOMPARE(m_prompts->last().icon, Icon::Exclamation);
}

void TestSnapshotList::pipeAmongTheFilesIsRefusedAtOnce()
{
#ifdef Q_OS_UNIX
    const QString pipe = file("pipe.sna");
    QVERIFY(QProcess::execute("mkfifo", {pipe}) == 0);
    m_prompts->answerMessage(Answer::Ok);
    QElapsedTimer timer;
    timer.start();
    add("pipe.sna"); // a plain open would wait for a writer for ever
    QVERIFY(timer.elapsed() < 5000);
    QCOMPARE(m_list->count(), 0);
    QVERIFY2(m_prompts->last().text.contains("pipe"), qPrintable(m_prompts->last().text));
#else
    QSKIP("named pipes are a Unix matter here");
#endif
}

void TestSnapshotList::otherFormatsAreTakenAndRefusalsSayWhy()
{
    const QString data = QStringLiteral(TESSEL_TEST_DATA "/other/");
    m_prompts->answerInput("Hello");
    QCOMPARE(addSnapshots(*m_list, {data + "gsphello.z80"}, *m_prompts, nullptr), 1);
    QCOMPARE(m_list->entry(0).path, data + "gsphello.z80"); // the original file, not a copy

    // A real 48K save with the AY flag runs without the AY: a note, no question.
    m_prompts->answerInput("Loader");
    addSnapshots(*m_list, {data + "ld48bin.z80"}, *m_prompts, nullptr);
    QCOMPARE(m_list->count(), 2);
    QVERIFY2(m_prompts->last().note.contains("sound"), qPrintable(m_prompts->last().note));
    QCOMPARE(m_list->entry(1).note, m_prompts->last().note);

    m_prompts->answerMessage(Answer::Ok);
    addSnapshots(*m_list, {data + "tape128k.sna"}, *m_prompts, nullptr);
    QCOMPARE(m_list->count(), 2);
    QVERIFY2(m_prompts->last().text.contains("128K"), qPrintable(m_prompts->last().text));
    QVERIFY(m_prompts->allAnswered());
}

// Cancel adds nothing and asks nothing more; a tape loaded is kept, so the
// next add asks for no progress; OpenSE is a note, never a question.
void TestSnapshotList::tapeLoadsOnceWhileShowingProgress()
{
    const QString tape = file("game.tzx");
    QVERIFY(tessel::test::writeFile(tape, tessel::test::turboTape().tzx()));
    m_prompts->cancelProgress();
    QCOMPARE(add("game.tzx"), 1);
    QCOMPARE(m_list->count(), 0);
    QCOMPARE(m_prompts->calls().size(), 1);
    QVERIFY(m_prompts->last().text.contains("game.tzx"));

    for (const char* name : {"Turbo", "Again"}) {
        m_prompts->answerInput(name);
        QCOMPARE(add("game.tzx"), 1);
    }
    QCOMPARE(m_list->count(), 2);
    QCOMPARE(m_prompts->count(Kind::Progress), 2);
    QCOMPARE(m_prompts->count(Kind::Message), 0);
    QCOMPARE(m_prompts->last().snapshotPath, tape);
    QVERIFY2(m_list->entries().last().note.contains("OpenSE"), qPrintable(m_prompts->last().note));
    QVERIFY(m_prompts->allAnswered());
}

void TestSnapshotList::onlyFilledRowsCanBeRemoved()
{
    fill(*m_list, 3);
    for (int row : {-1, 3, 9})
        QCOMPARE(removeEntry(*m_list, row, *m_prompts), row);
    QVERIFY(m_prompts->calls().isEmpty());
    QCOMPARE(m_list->count(), 3);
}

void TestSnapshotList::removalMovesLaterEntriesUp_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("first of three") << 3 << 0 << QStringList{"N1", "N2"} << -1;
    QTest::newRow("middle of ten")
        << 10 << 4 << QStringList{"N0", "N1", "N2", "N3", "N5", "N6", "N7", "N8", "N9"} << -1;
    QTest::newRow("last of ten") << 10 << 9 << QStringList{"N0", "N1", "N2", "N3", "N4",
                                                           "N5", "N6", "N7", "N8"}
                                 << 9;
    QTest::newRow("last of three") << 3 << 2 << QStringList{"N0", "N1"} << -1;
}

void TestSnapshotList::removalMovesLaterEntriesUp()
{
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(QStringList, remaining);
    QFETCH(int, currentAfter);
    SnapshotEntries entries;
    for (int i = 0; i < count; ++i)
        entries.append({QStringLiteral("P%1").arg(i), QStringLiteral("N%1").arg(i)});
    entries[row].name = " spaced  name ";
    QVERIFY(m_list->setEntries(entries));
    m_prompts->answerMessage(Answer::Ok);
    const int current = removeEntry(*m_list, row, *m_prompts);

    const auto question = m_prompts->last();
    QCOMPARE(question.text, "Delete from the list  spaced  name ?");
    QCOMPARE(question.icon, Icon::Exclamation);
    QCOMPARE(question.buttons, Buttons::OkCancel);
    QCOMPARE(names(*m_list), remaining);
    verifyShown(*m_list);
    QCOMPARE(current, currentAfter);

    // The current row is now blank or the header: Delete does nothing more.
    removeEntry(*m_list, current, *m_prompts);
    QCOMPARE(m_prompts->calls().size(), 1);
}

void TestSnapshotList::cancelKeepsEverything()
{
    fill(*m_list, 5);
    m_prompts->answerMessage(Answer::Cancel);
    QCOMPARE(removeEntry(*m_list, 1, *m_prompts), 1);
    QCOMPARE(names(*m_list), (QStringList{"N0", "N1", "N2", "N3", "N4"}));
}

void TestSnapshotList::nextDefaultNumberFollowsTheCount()
{
    m_prompts->answerInput("one");
    add("good.sna");
    m_prompts->answerInput("two");
    add("good.sna");
    m_prompts->answerMessage(Answer::Ok);
    removeEntry(*m_list, 0, *m_prompts);
    m_prompts->answerInput("three");
    add("good.sna");
    QCOMPARE(m_prompts->last().defaultText, "Snapshot  2");
    QCOMPARE(names(*m_list), (QStringList{"two", "three"}));
}

QTEST_GUILESS_MAIN(TestSnapshotList)
#include "tst_snapshot_list.moc"
