// SPDX-License-Identifier: GPL-3.0-or-later
// Create Flash as the window runs it: gate, checks, build, save dialog, copy.
#include "flash/FlashFixture.h"

#include "commands/CreateFlash.h"
#include "core/Settings.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <sys/resource.h>

#include <csignal>

using namespace tessel;
using namespace tessel::test;
using Kind = ScriptedPrompts::Kind;

namespace {

class Busy final : public BusySign
{
public:
    void show() override { shown = true; }
    void hide() override { shown = false; }
    bool shown = false;
};

// Runs the command and checks that the busy sign covered every question.
void run(const FlashKit& kit, ScriptedPrompts& prompts, const SnapshotEntries& entries)
{
    Busy busy;
    prompts.onQuestion([&](const ScriptedPrompts::Call& call) {
        QVERIFY2(busy.shown || call.title == QStringLiteral("Tessel"), qPrintable(call.text));
    });
    runCreateFlash(entries, kit.kit(), prompts, busy);
    QVERIFY(!busy.shown);
    QVERIFY(prompts.allAnswered());
}

void run(const FlashKit& kit, ScriptedPrompts& prompts)
{
    run(kit, prompts, kit.entries);
}

QString successText(const QString& path)
{
    return QStringLiteral("The file ") + path + QStringLiteral(" has been saved sucessfully.");
}

QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot);
}

// In a child: the build (or, with atSave, the copy) meets a full disk.
int diskFullChild(const FlashKit& kit, const QString& target, bool atSave)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100000, 100000};
    ScriptedPrompts prompts;
    if (atSave) {
        prompts.answerSave(target);
        prompts.onQuestion([&](const ScriptedPrompts::Call& call) {
            if (call.kind == Kind::Save)
                setrlimit(RLIMIT_FSIZE, &limit);
        });
    } else {
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (atSave)
        prompts.answerMessage(Answer::Yes); // replace the user's file
    prompts.answerMessage(Answer::Ok);
    createFlash(kit.entries, kit.kit(), prompts);
    const auto& last = prompts.last();
    const bool warned = last.kind == Kind::Message && last.icon == Icon::Exclamation
                        && last.text.contains(atSave ? target : kit.workImage());
    return warned && prompts.allAnswered() ? 0 : 1;
}

} // namespace

class TestCreateFlash : public QObject
{
    Q_OBJECT

private slots:
    void gateNeedsTenEntries();
    void buildsAndSaves();
    void cancelNoThenSave();
    void cancelYesKeepsWorkingImage();
    void savingOntoWorkingImage();
    void replacingAsksAboutTheFinalName();
    void inputsAndDevicesAreNeverReplaced();
    void oddBanksAreToldAfterSaving();
    void refusesBadSources_data();
    void refusesBadSources();
    void failedCopyKeepsUsersFile();
    void diskFull();
    void realSnapshots();
};

void TestCreateFlash::gateNeedsTenEntries()
{
    FlashKit kit;
    writeFile(kit.workImage(), "old");
    SnapshotEntries nine = kit.entries;
    nine.removeLast();
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts, nine);
    QCOMPARE(prompts.calls().size(), 1);
    QCOMPARE(prompts.last().text,
             QStringLiteral("The Compilation is not complete. Add more Snapshots to the list."));
    QCOMPARE(prompts.last().title, QStringLiteral("Tessel"));
    QCOMPARE(prompts.last().icon, Icon::Exclamation);
    QCOMPARE(prompts.last().buttons, Buttons::Ok);
    QCOMPARE(readFile(kit.workImage()), QByteArray("old"));
}

void TestCreateFlash::buildsAndSaves()
{
    FlashKit kit;
    writeFile(kit.workImage(), QByteArray(600000, 'X'));
    const QString target = kit.path(QStringLiteral("mine.rom"));
    writeFile(target, "the user's older file");
    ScriptedPrompts prompts;
    prompts.answerSave(target);
    prompts.answerMessage(Answer::Yes); // replace it
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts);

    QCOMPARE(prompts.calls().size(), 3);
    const SaveRequest& save = prompts.calls().first().save;
    QCOMPARE(save.title, QStringLiteral("Select a name for the Tessel file..."));
    QCOMPARE(save.initialFolder, kit.path(QStringLiteral("flash")));
    QCOMPARE(save.defaultExtension, QStringLiteral("rom"));
    QCOMPARE(prompts.last().text, successText(target));
    QCOMPARE(prompts.last().title, kAppTitle);
    QCOMPARE(prompts.last().icon, Icon::Information);
    const QByteArray wanted = kit.expected();
    QVERIFY2(readFile(kit.workImage()) == wanted,
             firstDifference(readFile(kit.workImage()), wanted));
    QCOMPARE(readFile(target), wanted);

    // Same list, same bytes.
    QFile::remove(kit.workImage());
    prompts.clear();
    prompts.answerSave(target);
    prompts.answerMessage(Answer::Yes);
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts);
    QCOMPARE(readFile(kit.workImage()), wanted);
    QCOMPARE(leftovers(kit.path(QStringLiteral("flash"))), {QStringLiteral("tessel.rom")});
}

void TestCreateFlash::cancelNoThenSave()
{
    FlashKit kit;
    const QString target = kit.path(QStringLiteral("chosen.rom"));
    ScriptedPrompts prompts;
    prompts.cancelSave();
    prompts.answerMessage(Answer::No);
    prompts.answerSave(target);
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts);
    QCOMPARE(prompts.count(Kind::Save), 2);
    const auto& confirm = prompts.calls().at(1);
    QCOMPARE(confirm.text, QStringLiteral("Creation of Flash file cancelled. Are you sure? "));
    QCOMPARE(confirm.title, kAppTitle);
    QCOMPARE(confirm.icon, Icon::Exclamation);
    QCOMPARE(confirm.buttons, Buttons::YesNo);
    QCOMPARE(prompts.last().text, successText(target));
    QCOMPARE(readFile(target), kit.expected());
}

void TestCreateFlash::cancelYesKeepsWorkingImage()
{
    FlashKit kit;
    ScriptedPrompts prompts;
    prompts.cancelSave();
    prompts.answerMessage(Answer::Yes);
    run(kit, prompts);
    QCOMPARE(prompts.calls().size(), 2);
    QCOMPARE(readFile(kit.workImage()), kit.expected());
}

void TestCreateFlash::savingOntoWorkingImage()
{
    FlashKit kit;
    ScriptedPrompts prompts;
    prompts.answerSave(kit.path(QStringLiteral("flash/../flash/tessel.rom")));
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts);
    QCOMPARE(prompts.last().icon, Icon::Information);
    QCOMPARE(readFile(kit.workImage()), kit.expected());
}

// A name typed without the extension: the question is about the file that
// will really be replaced, whatever the platform's dialog asked before.
void TestCreateFlash::replacingAsksAboutTheFinalName()
{
    FlashKit kit;
    const QString mine = kit.path(QStringLiteral("mine.rom"));
    writeFile(mine, "mine");
    ScriptedPrompts prompts;
    prompts.answerSave(kit.path(QStringLiteral("mine")));
    prompts.answerMessage(Answer::No); // keep it: the dialog comes back
    prompts.answerSave(kit.path(QStringLiteral("mine")));
    prompts.answerMessage(Answer::Yes);
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts);

    QCOMPARE(prompts.count(Kind::Save), 2);
    const auto& question = prompts.calls().at(1);
    QCOMPARE(question.text, QStringLiteral("mine.rom already exists.\rDo you want to replace it?"));
    QCOMPARE(question.icon, Icon::Exclamation);
    QCOMPARE(question.buttons, Buttons::YesNoDefaultNo);
    QCOMPARE(prompts.last().text, successText(mine));
    QCOMPARE(readFile(mine), kit.expected());
    QVERIFY(!QFile::exists(kit.path(QStringLiteral("mine"))));

    // A new name asks nothing; another extension is kept as typed.
    prompts.clear();
    prompts.answerSave(kit.path(QStringLiteral("new.bin")));
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts);
    QCOMPARE(prompts.calls().size(), 2);
    QCOMPARE(readFile(kit.path(QStringLiteral("new.bin"))), kit.expected());
}

// Choosing a file the image is made from, under any spelling, or a device,
// is refused before anything is replaced, and the dialog comes back.
void TestCreateFlash::inputsAndDevicesAreNeverReplaced()
{
    FlashKit kit;
    const QString link = kit.path(QStringLiteral("link.rom"));
    QVERIFY(QFile::link(kit.entries[3].path, link));
    QVERIFY(QFile::link(kit.path(QStringLiteral("bank1.rom")), kit.path(QStringLiteral("b.rom"))));
    const QString pipe = kit.path(QStringLiteral("pipe.rom"));
    QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {pipe}), 0);
    const QStringList refused = {kit.entries[0].path, link, kit.path(QStringLiteral("b")),
                                 kit.path(QStringLiteral("flash/../tessel.ini")), pipe};
    const QByteArray snapshot = readFile(kit.entries[3].path);
    ScriptedPrompts prompts;
    for (const QString& target : refused) {
        prompts.answerSave(target);
        prompts.answerMessage(Answer::Ok);
    }
    prompts.cancelSave();
    prompts.answerMessage(Answer::Yes);
    run(kit, prompts);

    QCOMPARE(prompts.count(Kind::Save), refused.size() + 1);
    for (int i = 0; i < refused.size(); ++i) {
        const auto& warning = prompts.calls().at(2 * i + 1);
        QCOMPARE(warning.icon, Icon::Exclamation);
        QVERIFY2(warning.text.contains(QStringLiteral("cannot be written")),
                 qPrintable(warning.text));
    }
    QCOMPARE(readFile(kit.entries[3].path), snapshot);
    QVERIFY(!QFileInfo(pipe).isFile()); // still the pipe
}

void TestCreateFlash::oddBanksAreToldAfterSaving()
{
    FlashKit kit;
    writeFile(kit.path(QStringLiteral("bank32.rom")), QByteArray(100, 'b'));
    const QString target = kit.path(QStringLiteral("odd.rom"));
    ScriptedPrompts prompts;
    prompts.answerSave(target);
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts);
    QVERIFY(prompts.last().text.startsWith(successText(target) + QLatin1Char('\r')));
    QVERIFY2(prompts.last().text.contains(QStringLiteral("bank32.rom"))
                 && prompts.last().text.contains(QStringLiteral("100 bytes")),
             qPrintable(prompts.last().text));
    QCOMPARE(readFile(target), kit.expected());
}

// What the firmware lacks (banks, offsets) comes with the offer to set it up.
void TestCreateFlash::refusesBadSources_data()
{
    QTest::addColumn<QString>("remove"); // a kit file to remove, or empty
    QTest::addColumn<QString>("key"); // a setting to change, or empty
    QTest::addColumn<QString>("value"); // a number, or a path in the kit
    QTest::addColumn<QString>("culprit");
    QTest::addColumn<bool>("firmware");
    const QString none;
    QTest::newRow("bank 1") << "bank1.rom" << none << none << "bank1.rom" << true;
    QTest::newRow("bank 32") << "bank32.rom" << none << none << "bank32.rom" << true;
    QTest::newRow("snapshot") << "snap6.sna" << none << none << "snap6.sna" << false;
    QTest::newRow("names offset") << none << "DireccionNombres"
                                  << "12x"
                                  << "DireccionNombres" << true;
    QTest::newRow("registers offset") << none << "DireccionRegistros"
                                      << "40000"
                                      << "DireccionRegistros" << true;
    QTest::newRow("working folder missing") << none << "DirectorioTrabajo"
                                            << "nowhere"
                                            << "nowhere" << false;
    QTest::newRow("working folder a file") << none << "DirectorioTrabajo"
                                           << "bank1.rom"
                                           << "not a folder" << false;
}

void TestCreateFlash::refusesBadSources()
{
    QFETCH(QString, remove);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, culprit);
    QFETCH(bool, firmware);
    FlashKit kit;
    writeFile(kit.workImage(), "old");
    if (!remove.isEmpty())
        QVERIFY(QFile::remove(kit.path(remove)));
    if (!key.isEmpty())
        kit.set(key, value.isEmpty() || value.front().isDigit() ? value : kit.path(value));
    ScriptedPrompts prompts;
    prompts.answerMessage(firmware ? Answer::Yes : Answer::Ok);
    const FlashOutcome outcome = createFlash(kit.entries, kit.kit(), prompts);
    QCOMPARE(outcome, firmware ? FlashOutcome::FirmwareWanted : FlashOutcome::NotSaved);
    QCOMPARE(prompts.calls().size(), 1);
    QCOMPARE(prompts.last().kind, Kind::Message);
    QCOMPARE(prompts.last().title, kAppTitle);
    QCOMPARE(prompts.last().icon, Icon::Exclamation);
    QCOMPARE(prompts.last().buttons, firmware ? Buttons::YesNo : Buttons::Ok);
    QCOMPARE(prompts.last().text.contains("set up the firmware"), firmware);
    QVERIFY2(prompts.last().text.contains(culprit), qPrintable(prompts.last().text));
    QCOMPARE(readFile(kit.workImage()), QByteArray("old"));
    if (!remove.isEmpty())
        QVERIFY(!QFile::exists(kit.path(remove)));
}

void TestCreateFlash::failedCopyKeepsUsersFile()
{
    FlashKit kit;
    const QString folder = kit.path(QStringLiteral("a folder.rom"));
    QVERIFY(QDir(kit.path(QString())).mkdir(QStringLiteral("a folder.rom")));
    const QString missing = kit.path(QStringLiteral("no/such/place.rom"));
    for (const QString& target : {folder, missing}) {
        ScriptedPrompts prompts;
        prompts.answerSave(target);
        prompts.answerMessage(Answer::Ok);
        // Refused at once: the dialog comes back.
        prompts.cancelSave();
        prompts.answerMessage(Answer::Yes);
        run(kit, prompts);
        const auto& warning = prompts.calls().at(1);
        QCOMPARE(warning.icon, Icon::Exclamation);
        QVERIFY2(warning.text.contains(QDir::toNativeSeparators(target)), qPrintable(warning.text));
    }
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(!QFile::exists(kit.path(QStringLiteral("no"))));

    // The working image vanishes while the dialog is open.
    const QString mine = kit.path(QStringLiteral("mine.rom"));
    writeFile(mine, "mine");
    ScriptedPrompts prompts;
    prompts.answerSave(mine);
    prompts.onQuestion([&](const ScriptedPrompts::Call& call) {
        if (call.kind == Kind::Save)
            QFile::remove(kit.workImage());
    });
    prompts.answerMessage(Answer::Yes); // replace mine.rom
    prompts.answerMessage(Answer::Ok);
    createFlash(kit.entries, kit.kit(), prompts);
    QCOMPARE(prompts.last().icon, Icon::Exclamation);
    QVERIFY2(prompts.last().text.contains(QStringLiteral("tessel.rom")),
             qPrintable(prompts.last().text));
    QCOMPARE(readFile(mine), QByteArray("mine"));
}

void TestCreateFlash::diskFull()
{
    FlashKit kit;
    const QString flash = kit.path(QStringLiteral("flash"));
    writeFile(kit.workImage(), "old");
    QCOMPARE(inChild([&] { return diskFullChild(kit, {}, false); }), 0);
    QCOMPARE(readFile(kit.workImage()), QByteArray("old"));
    QCOMPARE(leftovers(flash), {QStringLiteral("tessel.rom")});

    const QString target = kit.path(QStringLiteral("out/mine.rom"));
    QDir(kit.path(QString())).mkdir(QStringLiteral("out"));
    writeFile(target, "the user's file");
    QCOMPARE(inChild([&] { return diskFullChild(kit, target, true); }), 0);
    QCOMPARE(readFile(target), QByteArray("the user's file"));
    QCOMPARE(leftovers(kit.path(QStringLiteral("out"))), {QStringLiteral("mine.rom")});
    QCOMPARE(readFile(kit.workImage()), kit.expected());
}

void TestCreateFlash::realSnapshots()
{
    FlashKit kit;
    const QDir corpus(QStringLiteral(TESSEL_TEST_DATA "/sna"));
    const QStringList files = corpus.entryList({QStringLiteral("*.sna")}, QDir::Files, QDir::Name);
    QVERIFY(files.size() >= kEntryCount);
    for (int i = 0; i < kEntryCount; ++i)
        kit.entries[i] = {corpus.filePath(files[i]), files[i].chopped(4).left(20)};
    const QString target = kit.path(QStringLiteral("real.rom"));
    ScriptedPrompts prompts;
    prompts.answerSave(target);
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts);
    QCOMPARE(prompts.last().text, successText(target));
    const QByteArray image = readFile(target);
    QVERIFY2(image == kit.expected(), firstDifference(image, kit.expected()));
    const QByteArray last = readFile(kit.entries[9].path);
    QCOMPARE(image.mid(areaOffset(9), kAreaSize), last.mid(27));
}

QTEST_GUILESS_MAIN(TestCreateFlash)
#include "tst_create_flash.moc"
