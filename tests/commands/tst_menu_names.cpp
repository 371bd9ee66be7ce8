// SPDX-License-Identifier: GPL-3.0-or-later
// One menu-name rule: what it counts and refuses, and that the naming box,
// renaming in place, compilation files, the build and the extraction take
// exactly the names it takes.
#include "commands/AddSnapshot.h"
#include "commands/Compilation.h"
#include "commands/EditEntry.h"
#include "commands/SnapshotList.h"
#include "core/MenuName.h"
#include "flash/FlashBuild.h"
#include "flash/FlashExtract.h"
#include "flash/FlashFixture.h"
#include "support/ScriptedPrompts.h"

#include <QTest>

using namespace tessel;

class TestMenuNames : public QObject
{
    Q_OBJECT

private slots:
    void ruleCountsAsTheCartridgeStores_data();
    void ruleCountsAsTheCartridgeStores();
    void everyDoorTakesWhatTheRuleTakes_data() { ruleCountsAsTheCartridgeStores_data(); }
    void everyDoorTakesWhatTheRuleTakes();
};

void TestMenuNames::ruleCountsAsTheCartridgeStores_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QByteArray>("stored"); // the first bytes of the slot

    const QString acute = QString::fromUtf8("e\xcc\x81"); // "e" + combining acute
    const QString twenty = QString(19, u'x');
    QTest::newRow("composed accent")
        << QString::fromUtf8("Caf\xc3\xa9") << 4 << 0 << QByteArray("Caf\xe9");
    QTest::newRow("decomposed accent is one character")
        << QString("Caf" + acute) << 4 << 0 << QByteArray("Caf\xe9");
    QTest::newRow("21 code points, 20 characters")
        << QString(twenty + acute) << 20 << 0 << QByteArray(twenty.toLatin1() + '\xe9');
    QTest::newRow("21 characters")
        << QString(21, u'x') << 21 << int(NameCheck::Length) << QByteArray();
    QTest::newRow("empty") << QString() << 0 << int(NameCheck::Length) << QByteArray();
    QTest::newRow("blanks only") << QString("  ") << 2 << 0 << QByteArray("  ");
    QTest::newRow("euro is in the code page")
        << QString::fromUtf8("\xe2\x82\xac") << 1 << 0 << QByteArray("\x80");
    QTest::newRow("outside the code page")
        << QString::fromUtf8("\xd0\xb6") << 1 << 0 << QByteArray("?");
    QTest::newRow("outside the basic plane")
        << QString::fromUtf8("\xf0\x9f\x98\x80") << 1 << 0 << QByteArray("?");
    QTest::newRow("tab") << QString("Jet\tSet") << 7 << int(NameCheck::Control) << QByteArray();
    QTest::newRow("line break") << QString("Jet\nSet") << 7 << int(NameCheck::Control)
                                << QByteArray();
    QTest::newRow("C1 control") << QString("Jet") + QChar(0x85) << 4 << int(NameCheck::Control)
                                << QByteArray();
    QTest::newRow("delete") << QString("Jet") + QChar(0x7f) << 4 << int(NameCheck::Control)
                            << QByteArray();
}

void TestMenuNames::ruleCountsAsTheCartridgeStores()
{
    QFETCH(QString, name);
    QFETCH(int, length);
    QFETCH(int, problem);
    QFETCH(QByteArray, stored);

    const NameCheck check = checkMenuName(name);
    QCOMPARE(check.length, length);
    QCOMPARE(int(check.problem), problem);
    if (problem == NameCheck::None) {
        const QByteArray slot = menuNameBytes(name);
        QCOMPARE(slot.size(), kMaxNameLength);
        QCOMPARE(slot.left(stored.size()), stored);
    }
    // What a too-long or control-bearing name is offered back as, the rule takes.
    if (length > kMaxNameLength)
        QCOMPARE(checkMenuName(nameLeft(name, kMaxNameLength)).problem, NameCheck::None);
    if (problem == NameCheck::Control)
        QCOMPARE(checkMenuName(withoutControls(name)).problem, NameCheck::None);
}

void TestMenuNames::everyDoorTakesWhatTheRuleTakes()
{
    QFETCH(QString, name);
    QFETCH(int, problem);
    const bool taken = problem == NameCheck::None;
    test::FlashKit kit;

    // The naming box stores a name the rule takes as typed, and offers
    // anything else back changed.
    test::ScriptedPrompts prompts;
    prompts.answerInput(name);
    prompts.answerInput("Fallback");
    SnapshotList list;
    QCOMPARE(addSnapshots(list, {kit.entries.first().path}, prompts, nullptr), 1);
    QCOMPARE(list.entry(0).name == name, taken);

    // Renaming in place; a refusal is told.
    if (!taken)
        prompts.answerMessage(Answer::Ok);
    QCOMPARE(renameEntry(list, 0, name, prompts), taken);
    QCOMPARE(list.entry(0).name == name, taken);

    // A compilation file.
    const QString file = kit.path("list.tessel");
    QVERIFY(test::writeFile(file, name.toUtf8() + '\t' + kit.entries.first().path.toUtf8()));
    QString error;
    QCOMPARE(readCompilation(file, nullptr, &error).has_value(), taken);

    // The build.
    SnapshotEntries entries = kit.entries;
    entries[3].name = name;
    QCOMPARE(build(kit.kit(), entries, {}, &error).has_value(), taken);

    // Taken apart, the image gives back a name the rule takes, stored as
    // before; a blank slot reads as no name and comes back as the default.
    if (taken) {
        const std::optional<FlashContents> contents =
            readFlashImage(kit.kit(), kit.workImage(), &error);
        QVERIFY2(contents, qPrintable(error));
        const QString back = contents->entries.at(3).name;
        QCOMPARE(checkMenuName(back).problem, NameCheck::None);
        if (!name.trimmed().isEmpty())
            QCOMPARE(menuNameBytes(back), menuNameBytes(name));
    }
}

QTEST_GUILESS_MAIN(TestMenuNames)
#include "tst_menu_names.moc"
