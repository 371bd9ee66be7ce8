// SPDX-License-Identifier: GPL-3.0-or-later
// Every file a program writes where the user said: one policy for the three
// programs (never an input, the program, a device, a pipe or through a
// link), names taken byte for byte, and an extraction whole or not at all.
#include "flash/FlashFixture.h"

#include "core/Files.h"
#include "flash/FlashBuild.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/stat.h>

using namespace tessel;
using namespace tessel::test;

namespace {

// What stands at a path, without following a link.
QByteArray describe(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return "link to " + QFile::encodeName(info.symLinkTarget());
    return info.isFile() ? readFile(path).toHex()
                         : "kind " + QByteArray::number(int(fileKind(path)));
}

bool buildImage(const FlashKit& kit, const QString& out)
{
    QString error;
    const bool built = bool(build(kit.kit(), kit.entries, {out, {}}, &error));
    if (!built)
        qWarning("%s", qPrintable(error));
    return built;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                  | QDir::NoDotAndDotDot);
}

} // namespace

class TestFaultOutputs : public QObject
{
    Q_OBJECT

private slots:
    void outputPolicy_data();
    void outputPolicy();
    void namesThatAreNotUtf8();
    void extractionIsWholeOrNothing();
    void existingFoldersAreNeverReplaced_data();
    void existingFoldersAreNeverReplaced();
};

void TestFaultOutputs::outputPolicy_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("culprit");
    const QList<std::pair<const char*, const char*>> targets = {
        {"input", "one of the files it is made from"},
        {"input, other spelling", "one of the files it is made from"},
        {"link to input", "one of the files it is made from"},
        {"program", "this program itself"},
        {"fifo", "named pipe"},
        {"device", "a device"},
        {"link elsewhere", "a link to"},
        {"empty name", "name"},
        {"rom of a tape", "one of the files it is made from"},
    };
    for (const char* program : {"build", "to-sna", "screen", "extract"}) {
        const bool tapes = qstrcmp(program, "to-sna") == 0 || qstrcmp(program, "screen") == 0;
        for (const auto& [target, culprit] : targets) {
            if (qstrcmp(program, "extract") == 0 && qstrcmp(target, "program") == 0)
                continue; // it writes only names of its own
            if (!tapes && qstrcmp(target, "rom of a tape") == 0)
                continue;
            QTest::addRow("%s over %s", program, target) << program << target << culprit;
        }
    }
}

void TestFaultOutputs::outputPolicy()
{
    QFETCH(QString, program);
    QFETCH(QString, target);
    QFETCH(QString, culprit);
    FlashKit kit;
    const bool extract = program == "extract";
    const QString exe = kit.path(program == "screen" ? "tessel-screen" : "tessel-flash");
    QVERIFY(QFile::copy(program == "screen" ? TESSEL_SCREEN_EXE : TESSEL_FLASH_EXE, exe));
    // A tape is loaded with the kit's ROM, which it reads as much as the tape.
    const bool tape = target == "rom of a tape";
    QVERIFY(!tape || writeFile(kit.path("game.tap"), "a tape"));
    QVERIFY(!tape || writeFile(kit.path("48.rom"), QByteArray(16384, 'r')));
    const QString input = tape ? kit.path("game.tap") : kit.entries[0].path;
    const QString folder = kit.path("out");
    QVERIFY(QDir().mkpath(folder));
    QString image = kit.path("image.rom");
    QVERIFY(writeFile(kit.path("elsewhere.txt"), "someone's file"));

    // Where the output goes; for an extraction, one of the names it writes.
    QString out = extract ? folder + "/Snapshot 0.sna" : kit.path("out/new");
    if (target == "input" && extract)
        image = out;
    else if (target == "input")
        out = input;
    else if (target == "input, other spelling" && extract)
        image = kit.path("out/../out/Snapshot 0.sna");
    else if (target == "input, other spelling")
        out = kit.path("flash/../" + QFileInfo(input).fileName());
    else if (target == "link to input")
        QVERIFY(QFile::link(extract ? image : input, out));
    else if (target == "program")
        out = exe;
    else if (target == "fifo" || target == "device")
        QCOMPARE(QProcess::execute(target == "fifo" ? "mkfifo" : "mknod",
                                   target == "fifo" ? QStringList{out}
                                                    : QStringList{out, "c", "1", "3"}),
                 0);
    else if (target == "link elsewhere")
        QVERIFY(QFile::link(kit.path("elsewhere.txt"), out));
    else if (target == "empty name")
        out.clear();
    else if (tape)
        out = kit.path("48.rom");
    if (extract)
        QVERIFY(buildImage(kit, image));

    QStringList arguments;
    if (program == "build")
        arguments = QStringList{"--kit", kit.path(""), "-o", out} + entryArguments(kit);
    else if (program == "to-sna")
        arguments = {"--to-sna", input, out};
    else if (program == "screen")
        arguments = {input, out};
    else
        arguments = {"--kit",  kit.path(""), "--extract", image, out.isEmpty() ? out : folder,
                     "--force"};
    const QByteArray before = describe(out);
    const QByteArray elsewhere = readFile(kit.path("elsewhere.txt"));
    const QByteArray source = readFile(input);
    const Run result = run(exe, arguments);
    QCOMPARE(result.status, 1);
    QVERIFY2(result.err.contains(culprit), qPrintable(result.err));
    QVERIFY(result.out.isEmpty());
    if (!out.isEmpty())
        QCOMPARE(describe(out), before);
    QCOMPARE(readFile(kit.path("elsewhere.txt")), elsewhere);
    QCOMPARE(readFile(input), source);
    QVERIFY(!QFile::exists(kit.workImage()));
    if (extract)
        QVERIFY(filesIn(folder).size() <= 1); // the target alone, if any
}

// Bytes that are no UTF-8 would reach the system as U+FFFD: another name.
void TestFaultOutputs::namesThatAreNotUtf8()
{
    FlashKit kit;
    QVERIFY(buildImage(kit, kit.path("image.rom")));
    const QStringList before = filesIn(kit.path(""));
    // QProcess cannot pass such bytes; printf in a shell can.
    for (const char* command : {"exec \"$0\" --kit . --extract image.rom \"$(printf 'out-\\377')\"",
                                "exec \"$1\" snap0.sna \"$(printf 'pic-\\351.png')\"",
                                "exec \"$0\" --to-sna snap0.sna \"$(printf '\\303.sna')\""}) {
        const Run result =
            run("/bin/sh", {"-c", command, TESSEL_FLASH_EXE, TESSEL_SCREEN_EXE}, kit.path(""));
        QCOMPARE(result.status, 1);
        QVERIFY2(result.err.contains("not valid UTF-8"), qPrintable(result.err));
    }
    QCOMPARE(filesIn(kit.path("")), before);
}

// Killed at any moment, an extraction leaves all its files or none; two at
// once into one folder never both succeed.
void TestFaultOutputs::extractionIsWholeOrNothing()
{
    FlashKit kit;
    QVERIFY(buildImage(kit, kit.path("a.rom")));
    for (SnapshotEntry& entry : kit.entries)
        QVERIFY(writeFile(entry.path, readFile(entry.path).replace(1000, 4, "othr")));
    QVERIFY(buildImage(kit, kit.path("b.rom")));
    const QString folder = kit.path("out");
    const auto extract = [&](QProcess& process, const char* image) {
        process.start(TESSEL_FLASH_EXE,
                      {"--kit", kit.path(""), "--extract", kit.path(image), folder});
        return process.waitForStarted();
    };

    QRandomGenerator random(19);
    for (int round = 0; round < 20; ++round) {
        QVERIFY(QDir(folder).removeRecursively());
        QProcess process;
        QVERIFY(extract(process, "a.rom"));
        QThread::usleep(random.bounded(30000));
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        process.waitForFinished();
        const QStringList files = filesIn(folder);
        QVERIFY2(files.isEmpty() || (files.size() == 11 && files.contains("a.tessel")),
                 qPrintable(files.join(", ")));
    }
    for (int round = 0; round < 10; ++round) {
        QVERIFY(QDir(folder).removeRecursively());
        QProcess first;
        QProcess second;
        QVERIFY(extract(first, "a.rom") && extract(second, "b.rom"));
        QVERIFY(first.waitForFinished() && second.waitForFinished());
        QVERIFY((first.exitCode() == 0) != (second.exitCode() == 0));
        QCOMPARE(filesIn(folder).size(), 11);
    }
    // What killed writers staged is gone once another has finished.
    QCOMPARE(QDir(kit.path("")).entryList({".out.part-*"}, QDir::Dirs | QDir::Hidden), {});
}

void TestFaultOutputs::existingFoldersAreNeverReplaced_data()
{
    QTest::addColumn<QString>("dir"); // as given, from inside the kit
    QTest::newRow("an empty folder") << "out";
    QTest::newRow("the current folder") << ".";
}

// A mount point, the current folder or one a dialog just made keeps being
// that folder: the files go into it, never a new folder in its place.
void TestFaultOutputs::existingFoldersAreNeverReplaced()
{
    QFETCH(QString, dir);
    FlashKit kit;
    QVERIFY(buildImage(kit, kit.path("image.rom")));
    const QString folder = kit.path("out");
    QVERIFY(QDir().mkpath(folder));
    const auto inode = [&] {
        struct stat info = {};
        return ::stat(QFile::encodeName(folder).constData(), &info) == 0 ? info.st_ino : 0;
    };
    const ino_t before = inode();
    const Run result =
        run(TESSEL_FLASH_EXE, {"--kit", kit.path(""), "--extract", kit.path("image.rom"), dir},
            dir == "." ? folder : kit.path(""));
    QVERIFY2(result.status == 0, qPrintable(result.err));
    QCOMPARE(inode(), before);
    QCOMPARE(filesIn(folder).size(), 11);
}

QTEST_GUILESS_MAIN(TestFaultOutputs)
#include "tst_fault_outputs.moc"
