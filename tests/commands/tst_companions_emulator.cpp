// SPDX-License-Identifier: GPL-3.0-or-later
#include "StandIn.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"

#include "commands/EmulatorTest.h"
#include "commands/ProcessLauncher.h"
#include "commands/SnapshotList.h"
#include "core/Kit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tessel;
using tessel::test::RecordingLauncher;
using tessel::test::ScriptedPrompts;
using tessel::test::StandInLog;

namespace {

// Entries as the grid shows them: rows 1.. for "/snaps/game1.sna" ...
void fillRows(SnapshotList& list, int count)
{
    for (int r = 1; r <= count; ++r)
        list.append({QStringLiteral("/snaps/game%1.sna").arg(r), QStringLiteral("Game %1").arg(r)});
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

    void snapshotPathReachesTheEmulatorAsOneArgument_data();
    void snapshotPathReachesTheEmulatorAsOneArgument();
    void everyConfirmationStartsAnotherProcess();
    void emulatorThatCannotStartIsReported_data();
    void emulatorThatCannotStartIsReported();

private:
    // A program folder with blanks and shell characters in its name.
    QString kitFolder() const { return m_root.filePath(QStringLiteral("my kit; 'A' & \"B\"")); }

    QTemporaryDir m_root;
};

void EmulatorTestTest::init()
{
    QVERIFY(m_root.isValid());
    QVERIFY(QDir(kitFolder()).removeRecursively());
    QVERIFY(QDir().mkpath(kitFolder()));
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
    SnapshotList list;
    fillRows(list, 3);
    SnapshotEntries entries = list.entries();
    entries[1].path = QStringLiteral("/my snaps/two words.sna");
    list.setEntries(entries);
    const int row = 2;
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::No);
    RecordingLauncher launcher;

    testSnapshot(rowPath(list, row), Kit(kitFolder()), prompts, launcher);

    QCOMPARE(prompts.calls().size(), 1);
    QCOMPARE(prompts.last().text,
             QStringLiteral("You are going to run the emulator Aspectrum to test the Snapshot:\r"
                            "/my snaps/two words.sna\r"
                            " To exit from the emulator press F10.\r"
                            "Continue?"));
    QCOMPARE(prompts.last().title, QStringLiteral("Tessel Zizerev"));
    QCOMPARE(prompts.last().icon, Icon::None);
    QCOMPARE(prompts.last().buttons, Buttons::YesNo);
    QVERIFY(launcher.starts.isEmpty());
}

void EmulatorTestTest::startsTheKitEmulatorInTheBackground()
{
    SnapshotList list;
    fillRows(list, 10);
    const int row = 10;
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Yes);
    RecordingLauncher launcher;
    const Kit kit(kitFolder());

    testSnapshot(rowPath(list, row), kit, prompts, launcher);

    QCOMPARE(launcher.starts.size(), 1);
    const auto& start = launcher.starts.constFirst();
#ifdef Q_OS_WIN
    QCOMPARE(start.program, kit.file(QStringLiteral("Aspectrum-0.1.8/aspectrum.exe")));
#else
    QCOMPARE(start.program, kit.file(QStringLiteral("Aspectrum-0.1.8/aspectrum")));
#endif
    QCOMPARE(start.arguments,
             (QStringList{QStringLiteral("-snapshot"), QStringLiteral("/snaps/game10.sna")}));
    QVERIFY(start.background);
    QVERIFY(prompts.allAnswered());
    QCOMPARE(prompts.calls().size(), 1);
}

void EmulatorTestTest::snapshotPathReachesTheEmulatorAsOneArgument_data()
{
    QTest::addColumn<QString>("snapshot");

    const QString marker = m_root.filePath(QStringLiteral("marker"));
    const QString folder = m_root.path();
    QTest::newRow("blanks") << folder + QStringLiteral("/my  games/a b .sna");
    QTest::newRow("quotes") << folder + QStringLiteral("/say \"hi\" it's.sna");
    QTest::newRow("semicolon") << folder + QStringLiteral("/a.sna; touch ") + marker;
    QTest::newRow("command substitution")
        << QStringLiteral("$(touch ") + marker + QStringLiteral(").sna");
    QTest::newRow("backquotes, pipes and globs")
        << QStringLiteral("`touch ") + marker + QStringLiteral("` | > & * ?.sna");
    QTest::newRow("leading dash") << QStringLiteral("-rf game.sna");
    QTest::newRow("backslashes") << QStringLiteral("C:\\games\\a b.sna");
}

void EmulatorTestTest::snapshotPathReachesTheEmulatorAsOneArgument()
{
    QFETCH(QString, snapshot);
    const Kit kit(kitFolder());
    QVERIFY(StandInLog::install(emulatorProgram(kit)));
    StandInLog log;
    SnapshotList list;
    fillRows(list, 4);
    SnapshotEntries entries = list.entries();
    entries[3].path = snapshot;
    list.setEntries(entries);
    const int row = 4;
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Yes);
    SystemProcessLauncher launcher;

    testSnapshot(rowPath(list, row), kit, prompts, launcher);

    QTRY_COMPARE(log.starts().size(), 1);
    QCOMPARE(log.starts().constFirst(), (QStringList{QStringLiteral("-snapshot"), snapshot}));
    QVERIFY(!QFile::exists(m_root.filePath(QStringLiteral("marker"))));
    QCOMPARE(prompts.calls().size(), 1);
}

void EmulatorTestTest::everyConfirmationStartsAnotherProcess()
{
    const Kit kit(kitFolder());
    QVERIFY(StandInLog::install(emulatorProgram(kit)));
    StandInLog log;
    SnapshotList list;
    fillRows(list, 2);
    const int row = 1;
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Yes);
    prompts.answerMessage(Answer::Yes);
    SystemProcessLauncher launcher;

    testSnapshot(rowPath(list, row), kit, prompts, launcher);
    testSnapshot(rowPath(list, row), kit, prompts, launcher);

    QTRY_COMPARE(log.starts().size(), 2);
    const QStringList expected{QStringLiteral("-snapshot"), QStringLiteral("/snaps/game1.sna")};
    QCOMPARE(log.starts().at(0), expected);
    QCOMPARE(log.starts().at(1), expected);
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
    fillRows(list, 1);
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
    QCOMPARE(rowPath(list, 1), QStringLiteral("/snaps/game1.sna"));
    QVERIFY(log.starts().isEmpty());
}

QTEST_GUILESS_MAIN(EmulatorTestTest)
#include "tst_companions_emulator.moc"
