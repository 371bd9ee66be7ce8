// Create Flash as the window runs it: gate, checks, build, save dialog, copy.
#include "FlashFixture.h"

#include "core/Settings.h"
#include "flash/CreateFlash.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
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
void run(const FlashKit& kit, ScriptedPrompts& prompts, const SnapshotTable& table)
{
    Busy busy;
    prompts.onQuestion([&](const ScriptedPrompts::Call& call) {
        QVERIFY2(busy.shown || call.title == QStringLiteral("Tessel"), qPrintable(call.text));
    });
    runCreateFlash(table, kit.kit(), kit.ini(), prompts, busy);
    QVERIFY(!busy.shown);
    QVERIFY(prompts.allAnswered());
}

void run(const FlashKit& kit, ScriptedPrompts& prompts)
{
    run(kit, prompts, kit.table());
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
    prompts.answerMessage(Answer::Ok);
    CrearFlash(kit.table(), kit.kit(), kit.ini(), prompts);
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
    SnapshotTable table = kit.table();
    table.TablaSnaps[9] = {};
    table.NumSnaps = 9;
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts, table);
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
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts);

    QCOMPARE(prompts.calls().size(), 2);
    const SaveRequest& save = prompts.calls().first().save;
    QCOMPARE(save.title, QStringLiteral("Select a name for the Tessel file..."));
    QVERIFY(save.overwritePrompt);
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

void TestCreateFlash::refusesBadSources_data()
{
    QTest::addColumn<QString>("remove"); // a kit file to remove, or empty
    QTest::addColumn<QString>("key"); // a setting to change, or empty
    QTest::addColumn<QString>("value"); // a number, or a path in the kit
    QTest::addColumn<QString>("culprit");
    const QString none;
    QTest::newRow("bank 1") << "bank1.rom" << none << none << "bank1.rom";
    QTest::newRow("bank 32") << "bank32.rom" << none << none << "bank32.rom";
    QTest::newRow("snapshot") << "snap6.sna" << none << none << "snap6.sna";
    QTest::newRow("names offset") << none << "DireccionNombres"
                                  << "12x"
                                  << "DireccionNombres";
    QTest::newRow("registers offset") << none << "DireccionRegistros"
                                      << "40000"
                                      << "DireccionRegistros";
    QTest::newRow("no working folder setting") << none << "DirectorioTrabajo"
                                               << ""
                                               << "DirectorioTrabajo";
    QTest::newRow("working folder missing") << none << "DirectorioTrabajo"
                                            << "nowhere"
                                            << "nowhere";
    QTest::newRow("working folder a file") << none << "DirectorioTrabajo"
                                           << "bank1.rom"
                                           << "not a folder";
}

void TestCreateFlash::refusesBadSources()
{
    QFETCH(QString, remove);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, culprit);
    FlashKit kit;
    writeFile(kit.workImage(), "old");
    if (!remove.isEmpty())
        QVERIFY(QFile::remove(kit.path(remove)));
    if (!key.isEmpty())
        kit.set(key, value.isEmpty() || value.front().isDigit() ? value : kit.path(value));
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Ok);
    run(kit, prompts);
    QCOMPARE(prompts.calls().size(), 1);
    QCOMPARE(prompts.last().kind, Kind::Message);
    QCOMPARE(prompts.last().title, kAppTitle);
    QCOMPARE(prompts.last().icon, Icon::Exclamation);
    QCOMPARE(prompts.last().buttons, Buttons::Ok);
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
        run(kit, prompts);
        QCOMPARE(prompts.last().icon, Icon::Exclamation);
        QVERIFY2(prompts.last().text.contains(QDir::toNativeSeparators(target)),
                 qPrintable(prompts.last().text));
    }
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(!QFile::exists(kit.path(QStringLiteral("no"))));

    // The working image vanishes while the dialog is open.
    const QString mine = kit.path(QStringLiteral("mine.rom"));
    writeFile(mine, "mine");
    ScriptedPrompts prompts;
    prompts.answerSave(mine);
    prompts.answerMessage(Answer::Ok);
    prompts.onQuestion([&](const ScriptedPrompts::Call& call) {
        if (call.kind == Kind::Save)
            QFile::remove(kit.workImage());
    });
    CrearFlash(kit.table(), kit.kit(), kit.ini(), prompts);
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
    QVERIFY(files.size() >= kFlashEntries);
    for (int i = 0; i < kFlashEntries; ++i)
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
#include "tst_flash_create.moc"
