// SPDX-License-Identifier: GPL-3.0-or-later
#include "StandIn.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include "commands/EmulatorTest.h"
#include "commands/ProcessLauncher.h"
#include "commands/SnapshotList.h"
#include "core/Cartridge.h"
#include "core/Kit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tessel;
using tessel::test::readFile;
using tessel::test::RecordingLauncher;
using tessel::test::ScriptedPrompts;
using tessel::test::StandInLog;

namespace {

const QString kSna = QStringLiteral(TESSEL_TEST_DATA "/sna/zasmops.sna");
const QString kZ80 = QStringLiteral(TESSEL_TEST_DATA "/other/ld48bin.z80");

// Entries as the grid shows them: rows 1.. for "/snaps/game1.sna" ...
void fillRows(SnapshotList& list, int count, const QString& folder = QStringLiteral("/snaps"))
{
    for (int r = 1; r <= count; ++r)
        list.append(
            {QStringLiteral("%1/game%2.sna").arg(folder).arg(r), QStringLiteral("Game %1").arg(r)});
}

void testSnapshot(const QString& snapshot, const Kit& kit, Prompts& prompts,
                  ProcessLauncher& launcher)
{
    EmulatorTest test;
    test.run({snapshot, {}}, kit, prompts, launcher);
}

// The path the grid's row shows (row 0 is the header), as Test SNA reads it.
QString rowPath(const SnapshotList& list, int row)
{
    return list.entry(row - 1).path;
}

} // namespace

class EmulatorTestTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void withoutSnapshotRowOnlyTellsTheUser_data();
    void withoutSnapshotRowOnlyTellsTheUser();
    void asksBeforeStartingAndNoStartsNothing();
    void startsTheKitEmulatorInTheBackground();

    void theCartridgesSnaIsTestedAndLivesUntilTheNext();
    void snapshotThatCannotBeReadIsToldFirst();
    void snapshotPathReachesTheEmulatorAsOneArgument_data();
    void snapshotPathReachesTheEmulatorAsOneArgument();
    void everyConfirmationStartsAnotherProcess();
    void emulatorThatCannotStartIsReported_data();
    void emulatorThatCannotStartIsReported();

private:
    // A program folder with blanks and shell characters in its name.
    QString kitFolder() const { return m_root.filePath(QStringLiteral("my kit; 'A' & \"B\"")); }

    QString snaps() const { return m_root.filePath(QStringLiteral("snaps")); }

    QTemporaryDir m_root;
};

void EmulatorTestTest::init()
{
    QVERIFY(m_root.isValid());
    QVERIFY(QDir(kitFolder()).removeRecursively());
    QVERIFY(QDir().mkpath(kitFolder()));
    QVERIFY(QDir().mkpath(snaps()));
    for (int r = 1; r <= 10; ++r)
        QFile::copy(kSna, QStringLiteral("%1/game%2.sna").arg(snaps()).arg(r));
}

void EmulatorTestTest::withoutSnapshotRowOnlyTellsTheUser_data()
{
    QTest::addColumn<int>("filled");
    QTest::addColumn<int>("current");

    QTest::newRow("empty list, header row current") << 0 << 0;
    QTest::newRow("full list, no row current") << 10 << 0;
    QTest::newRow("row after the last entry") << 3 << 5;
    QTest::newRow("last row, still empty") << 9 << 10;
}

void EmulatorTestTest::withoutSnapshotRowOnlyTellsTheUser()
{
    QFETCH(int, filled);
    QFETCH(int, current);
    SnapshotList list;
    fillRows(list, filled);
    const int row = current;
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Ok);
    RecordingLauncher launcher;

    testSnapshot(rowPath(list, row), Kit(kitFolder()), prompts, launcher);

    QCOMPARE(prompts.calls().size(), 1);
    QCOMPARE(prompts.last().text,
             QStringLiteral("Choose a 'Snapshot' from the SNA selected list."));
    QCOMPARE(prompts.last().title, QStringLiteral("Tessel Zizerev"));
    QCOMPARE(prompts.last().icon, Icon::Information);
    QCOMPARE(prompts.last().buttons, Buttons::Ok);
    QVERIFY(launcher.starts.isEmpty());
}

void EmulatorTestTest::asksBeforeStartingAndNoStartsNothing()
{
    const QString twoWords = m_root.filePath(QStringLiteral("my snaps/two words.sna"));
    QVERIFY(QDir().mkpath(QFileInfo(twoWords).path()) && QFile::copy(kSna, twoWords));
    SnapshotList list;
    fillRows(list, 3, snaps());
    SnapshotEntries entries = list.entries();
    entries[1].path = twoWords;
    list.setEntries(entries);
    const int row = 2;
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::No);
    RecordingLauncher launcher;

    testSnapshot(rowPath(list, row), Kit(kitFolder()), prompts, launcher);

    QCOMPARE(prompts.calls().size(), 1);
    QCOMPARE(prompts.last().text,
             "You are going to run the emulator Aspectrum to test the Snapshot:\r" + twoWords
                 + "\r To exit from the emulator press F10.\r"
                   "Continue?");
    QCOMPARE(prompts.last().title, QStringLiteral("Tessel Zizerev"));
    QCOMPARE(prompts.last().icon, Icon::None);
    QCOMPARE(prompts.last().buttons, Buttons::YesNo);
    QVERIFY(launcher.starts.isEmpty());
}

void EmulatorTestTest::startsTheKitEmulatorInTheBackground()
{
    SnapshotList list;
    fillRows(list, 10, snaps());
    const int row = 10;
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Yes);
    RecordingLauncher launcher;
    const Kit kit(kitFolder());
    EmulatorTest test;

    test.run(list.entry(row - 1), kit, prompts, launcher);

    QCOMPARE(launcher.starts.size(), 1);
    const auto& start = launcher.starts.constFirst();
#ifdef Q_OS_WIN
    QCOMPARE(start.program, kit.file(QStringLiteral("Aspectrum-0.1.8/aspectrum.exe")));
#else
    QCOMPARE(start.program, kit.file(QStringLiteral("Aspectrum-0.1.8/aspectrum")));
#endif
    QCOMPARE(start.arguments, (QStringList{QStringLiteral("-snapshot"), test.lastFile()}));
    QVERIFY(start.background);
    QVERIFY(prompts.allAnswered());
    QCOMPARE(prompts.calls().size(), 1);
}

// The emulator gets the .sna the image would hold, not the .z80 picked nor
// the file without its pokes; the next test's file replaces it.
void EmulatorTestTest::theCartridgesSnaIsTestedAndLivesUntilTheNext()
{
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Yes);
    prompts.answerMessage(Answer::Yes);
    RecordingLauncher launcher;
    EmulatorTest test;

    test.run({kZ80, {}}, Kit(kitFolder()), prompts, launcher);
    const QString first = test.lastFile();
    QVERIFY(first.endsWith(QStringLiteral("/ld48bin.sna")));
    QCOMPARE(launcher.starts.constFirst().arguments.constLast(), first);
    QCOMPARE(readFile(first), readSnapshot(kZ80, nullptr)->sna);

    // With the entry's trainers, as the image would hold it.
    test.run({kSna, {}, {}, {{"Screen", {{0x4000, 0x42}}}}}, Kit(kitFolder()), prompts, launcher);
    QVERIFY(!QFile::exists(first));
    QByteArray poked = readFile(kSna);
    poked[kSnaHeaderSize] = 0x42;
    QCOMPARE(readFile(test.lastFile()), poked);
    QCOMPARE(launcher.starts.size(), 2);
}

// A stick pulled out, or a file the cartridge refuses: told before the question.
void EmulatorTestTest::snapshotThatCannotBeReadIsToldFirst()
{
    const QString tape128 = QStringLiteral(TESSEL_TEST_DATA "/other/tape128k.sna");
    for (const QString& path : {snaps() + QStringLiteral("/gone.sna"), tape128}) {
        ScriptedPrompts prompts;
        prompts.answerMessage(Answer::Ok);
        RecordingLauncher launcher;
        EmulatorTest test;
        test.run({path, {}}, Kit(kitFolder()), prompts, launcher);
        QCOMPARE(prompts.calls().size(), 1);
        QCOMPARE(prompts.last().icon, Icon::Exclamation);
        QVERIFY2(prompts.last().text.contains(QFileInfo(path).fileName()),
                 qPrintable(prompts.last().text));
        QVERIFY(launcher.starts.isEmpty());
        QVERIFY(test.lastFile().isEmpty());
    }
}

// Names of every kind reach the emulator whole: the test's file keeps the
// snapshot's name.
void EmulatorTestTest::snapshotPathReachesTheEmulatorAsOneArgument_data()
{
    QTest::addColumn<QString>("name");

    const QString marker = m_root.filePath(QStringLiteral("marker"));
    QTest::newRow("blanks") << QStringLiteral(" a  b .sna");
    QTest::newRow("quotes") << QStringLiteral("say \"hi\" it's.sna");
    QTest::newRow("semicolon") << QStringLiteral("a; touch marker.sna");
    QTest::newRow("command substitution") << QStringLiteral("$(touch marker).sna");
    QTest::newRow("backquotes, pipes and globs") << QStringLiteral("`touch marker` | > & * ?.sna");
    QTest::newRow("leading dash") << QStringLiteral("-rf game.sna");
    QTest::newRow("backslashes") << QStringLiteral("C:\\games\\a b.sna");
}

void EmulatorTestTest::snapshotPathReachesTheEmulatorAsOneArgument()
{
    QFETCH(QString, name);
    const Kit kit(kitFolder());
    QVERIFY(StandInLog::install(emulatorProgram(kit)));
    StandInLog log;
    const QString snapshot = snaps() + QLatin1Char('/') + name;
    QVERIFY(QFile::copy(kSna, snapshot));
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Yes);
    SystemProcessLauncher launcher;
    EmulatorTest test;

    test.run({snapshot, {}}, kit, prompts, launcher);

    QTRY_COMPARE(log.starts().size(), 1);
    QCOMPARE(log.starts().constFirst(),
             (QStringList{QStringLiteral("-snapshot"), test.lastFile()}));
    QCOMPARE(QFileInfo(test.lastFile()).completeBaseName(), QFileInfo(snapshot).completeBaseName());
    QVERIFY(!QFile::exists(m_root.filePath(QStringLiteral("marker"))));
    QVERIFY(!QFile::exists(snaps() + QStringLiteral("/marker")));
    QCOMPARE(prompts.calls().size(), 1);
}

void EmulatorTestTest::everyConfirmationStartsAnotherProcess()
{
    const Kit kit(kitFolder());
    QVERIFY(StandInLog::install(emulatorProgram(kit)));
    StandInLog log;
    SnapshotList list;
    fillRows(list, 2, snaps());
    const int row = 1;
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Yes);
    prompts.answerMessage(Answer::Yes);
    SystemProcessLauncher launcher;

    testSnapshot(rowPath(list, row), kit, prompts, launcher);
    testSnapshot(rowPath(list, row), kit, prompts, launcher);

    QTRY_COMPARE(log.starts().size(), 2);
    for (const QStringList& start : log.starts())
        QVERIFY(start.constLast().endsWith(QStringLiteral("/game1.sna")));
}

void EmulatorTestTest::emulatorThatCannotStartIsReported_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << false << QStringLiteral("does not exist");
#ifndef Q_OS_WIN
    QTest::newRow("not executable") << true << QStringLiteral("not marked as executable");
#endif
}

void EmulatorTestTest::emulatorThatCannotStartIsReported()
{
    QFETCH(bool, present);
    QFETCH(QString, reason);
    const Kit kit(kitFolder());
    const QString program = emulatorProgram(kit);
    if (present) {
        QVERIFY(StandInLog::install(program));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner));
    }
    StandInLog log;
    SnapshotList list;
    fillRows(list, 1, snaps());
    const int row = 1;
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Yes);
    prompts.answerMessage(Answer::Ok);
    SystemProcessLauncher launcher;

    testSnapshot(rowPath(list, row), kit, prompts, launcher);

    QCOMPARE(prompts.calls().size(), 2);
    const auto& warning = prompts.last();
    QVERIFY2(warning.text.contains(QDir::toNativeSeparators(program)), qPrintable(warning.text));
    QVERIFY2(warning.text.contains(reason), qPrintable(warning.text));
    QCOMPARE(warning.title, QStringLiteral("Tessel Zizerev"));
    QCOMPARE(warning.icon, Icon::Exclamation);
    QCOMPARE(warning.buttons, Buttons::Ok);
    QCOMPARE(rowPath(list, 1), snaps() + QStringLiteral("/game1.sna"));
    QVERIFY(log.starts().isEmpty());
}

QTEST_GUILESS_MAIN(EmulatorTestTest)
#include "tst_companions_emulator.moc"
