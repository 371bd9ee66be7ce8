// SPDX-License-Identifier: GPL-3.0-or-later
// tessel-flash run as a process, and the entry-list reader it uses.
#include "FlashFixture.h"

#include "core/Settings.h"
#include "flash/FlashBuild.h"
#include "flash/FlashImage.h"
#include "formats/EntryList.h"
#include "formats/SnapshotReader.h"
#include "machine/Rom.h"
#include "support/TapeWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

using namespace tessel;
using namespace tessel::test;

namespace {

// A run that hangs (reading a pipe nobody writes to) fails after 20 s.
Run tesselFlash(const QStringList& arguments,
                const QString& program = QStringLiteral(TESSEL_FLASH_EXE))
{
    return run(program, arguments, QString(), QProcessEnvironment::systemEnvironment(), 20000);
}

bool makeNode(const QString& path, const char* kind)
{
    const QStringList arguments =
        qstrcmp(kind, "fifo") == 0
            ? QStringList{path}
            : QStringList{path, QStringLiteral("c"), QStringLiteral("1"), QStringLiteral("3")};
    return QProcess::execute(QLatin1String(qstrcmp(kind, "fifo") == 0 ? "mkfifo" : "mknod"),
                             arguments)
           == 0;
}

} // namespace

class TestFlashCli : public QObject
{
    Q_OBJECT

private slots:
    void listFiles_data();
    void listFiles();
    void listSurvivesJunk();
    void buildsFromArguments();
    void buildsFromList();
    void buildsWithPokes();
    void kitDefaultsToOwnFolder();
    void refuses_data();
    void refuses();
    void refusesWhatWouldHangOrDestroy_data();
    void refusesWhatWouldHangOrDestroy();
    void oddBanksAreBuiltWithAWarning();
    void convertsOneSnapshotToSna();
    void takesTapes();
    void helpAndVersion();
    void needsNoGraphicsLibraries();
};

void TestFlashCli::listFiles_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("names"); // or the error's words, when it starts with "!"
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("crlf, bom, blanks") << QByteArray("\xEF\xBB\xBF"
                                                     "A\ta.sna\r\n\r\n \t \n B \tb c.sna\n")
                                       << QStringList{"A", " B "};
    QTest::newRow("tab in path") << QByteArray("N\tdir\twith tab") << QStringList{"N"};
    QTest::newRow("utf-8 name") << QByteArray("Caf\xC3\xA9\tx")
                                << QStringList{QString::fromUtf8("Café")};
    QTest::newRow("no tab") << QByteArray("A\ta\nno tab here\n")
                            << QStringList{"!", "Line 2", "tab"};
    QTest::newRow("nul") << QByteArray("A\ta\0b", 5) << QStringList{"!", "Line 1", "NUL"};
    QTest::newRow("bad utf-8") << QByteArray("\n\nA\xFF\ta") << QStringList{"!", "Line 3", "UTF-8"};
    QTest::newRow("cut utf-8") << QByteArray("A\ta\xC3") << QStringList{"!", "Line 1", "UTF-8"};
    QTest::newRow("no path") << QByteArray("A\t\r\n") << QStringList{"!", "Line 1", "path"};
    QTest::newRow("cr only") << QByteArray("A\ta\r\rB\tb\r") << QStringList{"A", "B"};
    QTest::newRow("trainers under entries")
        << QByteArray("A\ta\nPOKE Lives=16384,0:65535,255\r\nPOKE x=y=40000,1\nB\tb\n")
        << QStringList{"A", "B"};
    QTest::newRow("trainer before any entry")
        << QByteArray("POKE L=16384,0\nA\ta") << QStringList{"!", "Line 1", "under the line"};
    QTest::newRow("trainer out of range")
        << QByteArray("A\ta\nPOKE L=16383,0") << QStringList{"!", "Line 2", "16384 to 65535"};
    QTest::newRow("trainer without pokes")
        << QByteArray("A\ta\nPOKE L") << QStringList{"!", "Line 2", "POKE NAME"};
    // Only the file's first three bytes are a mark; a field's U+FEFF is kept.
    QTest::newRow("mark in fields") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                  "A\t\xEF\xBB\xBFp\n\t\xEF\xBB\xBF\t\n")
                                    << QStringList{QStringLiteral("\uFEFFA"), QString()};
}

void TestFlashCli::listFiles()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, names);
    QString error;
    const std::optional<SnapshotEntries> entries = parseEntryList(data, &error);
    if (names.value(0) == QStringLiteral("!")) {
        QVERIFY(!entries);
        for (const QString& word : names.mid(1))
            QVERIFY2(error.contains(word), qPrintable(error));
        return;
    }
    QVERIFY2(entries, qPrintable(error));
    QStringList got;
    for (const SnapshotEntry& entry : *entries)
        got << entry.name;
    QCOMPARE(got, names);
    if (QTest::currentDataTag() == QByteArrayLiteral("trainers under entries")) {
        const QList<Trainer> trainers{{"Lives", {{16384, 0}, {65535, 255}}}, {"x=y", {{40000, 1}}}};
        QCOMPARE(entries->at(0).trainers, trainers);
        QVERIFY(entries->at(1).trainers.isEmpty());
    }
    if (QTest::currentDataTag() == QByteArrayLiteral("tab in path"))
        QCOMPARE(entries->at(0).path, QStringLiteral("dir\twith tab"));
    if (QTest::currentDataTag() == QByteArrayLiteral("mark in fields")) {
        QCOMPARE(entries->at(0).path, QStringLiteral("\uFEFFp"));
        QCOMPARE(entries->at(1).path, QStringLiteral("\uFEFF\t"));
    }
}

void TestFlashCli::listSurvivesJunk()
{
    QRandomGenerator random(1234);
    const QByteArray alphabet("\t\r\n\0 a\xC3\xA9\xFF=", 11);
    for (int round = 0; round < 3000; ++round) {
        QByteArray data(random.bounded(200), '\0');
        for (char& c : data)
            c = round % 2 ? alphabet[random.bounded(alphabet.size())]
                          : static_cast<char>(random.generate());
        QString error;
        QVERIFY(parseEntryList(data, &error) || !error.isEmpty());
    }
    const QByteArray huge = QByteArray(8 << 20, 'n') + "\t" + QByteArray(8 << 20, 'p');
    QCOMPARE(parseEntryList(huge, nullptr).value().size(), 1);
}

void TestFlashCli::buildsFromArguments()
{
    FlashKit kit;
    const QString out = kit.path(QStringLiteral("built.rom"));
    const Run run = tesselFlash(
        QStringList{QStringLiteral("--kit"), kit.path(QString()), QStringLiteral("-o"), out}
        + entryArguments(kit));
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(run.out.trimmed(), QDir::toNativeSeparators(out));
    QCOMPARE(readFile(out), kit.expected());
}

void TestFlashCli::buildsFromList()
{
    FlashKit kit;
    QByteArray list("\r\n");
    for (int i = 0; i < kEntryCount; ++i)
        list += kit.entries[i].name.toUtf8() + "\t"
                + QFileInfo(kit.entries[i].path).fileName().toUtf8() + "\r\n";
    writeFile(kit.path(QStringLiteral("entries.txt")), list);
    const QString out = kit.path(QStringLiteral("built.rom"));
    const Run run =
        tesselFlash({QStringLiteral("--kit"), kit.path(QString()), QStringLiteral("-o"), out,
                     QStringLiteral("--list"), kit.path(QStringLiteral("entries.txt"))});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(readFile(out), kit.expected());
}

// --poke and a list's trainer lines write the same bytes as the build does.
void TestFlashCli::buildsWithPokes()
{
    FlashKit kit;
    QByteArray list;
    for (const SnapshotEntry& entry : kit.entries)
        list += entry.name.toUtf8() + "\t" + entry.path.toUtf8() + "\n";
    list.replace("snap2.sna\n", "snap2.sna\nPOKE Lives=16384,1:40000,2\nPOKE More=65535,3\n");
    writeFile(kit.path(QStringLiteral("entries.txt")), list);
    const QStringList common{QStringLiteral("--kit"), kit.path(QString()), QStringLiteral("-o")};
    const QString fromList = kit.path(QStringLiteral("list.rom"));
    const QString fromArguments = kit.path(QStringLiteral("arguments.rom"));
    Run run = tesselFlash(
        common
        + QStringList{fromList, QStringLiteral("--list"), kit.path(QStringLiteral("entries.txt"))});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    run = tesselFlash(common
                      + QStringList{fromArguments, QStringLiteral("--poke=Snapshot 2=16384,1"),
                                    QStringLiteral("--poke"), QStringLiteral("Snapshot 2=40000,2"),
                                    QStringLiteral("--poke=Snapshot 2=65535,3")}
                      + entryArguments(kit));
    QVERIFY2(run.status == 0, qPrintable(run.err));

    kit.entries[2].trainers = {{"Lives", {{16384, 1}, {40000, 2}}}, {"More", {{65535, 3}}}};
    QString error;
    QVERIFY2(build(kit.kit(), kit.entries, {kit.path(QStringLiteral("wanted.rom")), {}}, &error),
             qPrintable(error));
    const QByteArray wanted = readFile(kit.path(QStringLiteral("wanted.rom")));
    QVERIFY(wanted != kit.expected());
    QCOMPARE(readFile(fromList), wanted);
    QCOMPARE(readFile(fromArguments), wanted);
}

void TestFlashCli::kitDefaultsToOwnFolder()
{
    FlashKit kit;
    const QString program = kit.path(QStringLiteral("tessel-flash"));
    QVERIFY(QFile::copy(QStringLiteral(TESSEL_FLASH_EXE), program));
    const QString out = kit.path(QStringLiteral("built.rom"));
    const Run run =
        tesselFlash(QStringList{QStringLiteral("-o"), out} + entryArguments(kit), program);
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(readFile(out), kit.expected());
}

void TestFlashCli::refuses_data()
{
    QTest::addColumn<QString>("change"); // what to spoil
    QTest::addColumn<QString>("culprit");
    QTest::newRow("nine entries") << "drop"
                                  << "10 entries, not 9";
    QTest::newRow("eleven entries") << "add"
                                    << "10 entries, not 11";
    QTest::newRow("long name") << "name"
                               << "21 characters";
    QTest::newRow("not an entry") << "noequals"
                                  << "NAME=PATH";
    QTest::newRow("short snapshot") << "short"
                                    << "snap3.sna";
    QTest::newRow("no offset") << "ini"
                               << "DireccionRegistros";
    QTest::newRow("no output") << "noout"
                               << "-o";
    QTest::newRow("list and arguments") << "both"
                                        << "not both";
    QTest::newRow("list missing") << "nolist"
                                  << "missing.txt";
    QTest::newRow("output a folder") << "folder"
                                     << "existing.rom";
    QTest::newRow("empty kit name") << "emptykit"
                                    << "--kit";
    QTest::newRow("empty output name") << "emptyout"
                                       << "-o needs";
    QTest::newRow("utf-16 list") << "utf16"
                                 << "UTF-16";
    QTest::newRow("poke for no entry") << "poke:Nobody=16384,1"
                                       << "\"Nobody\"";
    QTest::newRow("poke out of range") << "poke:Snapshot 1=16384,256"
                                       << "0 to 255";
    QTest::newRow("poke with --extract") << "poke-extract:Snapshot 1=16384,1"
                                         << "--extract";
}

void TestFlashCli::refuses()
{
    QFETCH(QString, change);
    QFETCH(QString, culprit);
    FlashKit kit;
    const QString out = kit.path(QStringLiteral("existing.rom"));
    writeFile(out, "keep me");
    QStringList entries = entryArguments(kit);
    QStringList arguments{QStringLiteral("--kit"), kit.path(QString()), QStringLiteral("-o"), out};
    if (change == QStringLiteral("drop"))
        entries.removeLast();
    else if (change == QStringLiteral("add"))
        entries << entries.first();
    else if (change == QStringLiteral("name"))
        entries[5] = QStringLiteral("A name of 21 letters!=") + kit.entries[5].path;
    else if (change == QStringLiteral("noequals"))
        entries[0] = kit.entries[0].path.remove(QLatin1Char('='));
    else if (change == QStringLiteral("short"))
        writeFile(kit.entries[3].path, QByteArray(100, 'x'));
    else if (change == QStringLiteral("ini"))
        kit.set(Settings::kRegistersOffset, QString());
    else if (change == QStringLiteral("emptykit"))
        arguments[1].clear();
    else if (change == QStringLiteral("emptyout"))
        arguments[3].clear();
    else if (change == QStringLiteral("noout"))
        arguments = arguments.mid(0, 2);
    else if (change == QStringLiteral("both") || change == QStringLiteral("nolist"))
        arguments << QStringLiteral("--list") << kit.path(QStringLiteral("missing.txt"));
    if (change == QStringLiteral("nolist"))
        entries.clear();
    if (change == QStringLiteral("utf16")) {
        QString list;
        for (const SnapshotEntry& entry : kit.entries)
            list += entry.name + '\t' + entry.path + '\n';
        QByteArray bytes("\xFF\xFE");
        bytes.append(reinterpret_cast<const char*>(list.utf16()), list.size() * 2);
        writeFile(kit.path(QStringLiteral("list.txt")), bytes);
        arguments << QStringLiteral("--list") << kit.path(QStringLiteral("list.txt"));
        entries.clear();
    }
    if (change.startsWith(QStringLiteral("poke")))
        arguments << QStringLiteral("--poke") << change.section(QLatin1Char(':'), 1);
    if (change.startsWith(QStringLiteral("poke-extract")))
        arguments = arguments.mid(0, 2) + arguments.mid(4)
                    + QStringList{QStringLiteral("--extract"), out, kit.path(QString())};
    if (change == QStringLiteral("folder")) {
        QFile::remove(out);
        QVERIFY(QDir(kit.path(QString())).mkdir(QStringLiteral("existing.rom")));
    }
    const Run run = tesselFlash(arguments + entries);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(culprit), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    if (change == QStringLiteral("folder"))
        QVERIFY(QFileInfo(out).isDir());
    else
        QCOMPARE(readFile(out), QByteArray("keep me"));
    QVERIFY(!QFile::exists(kit.workImage())); // an empty -o is not the working image
}

void TestFlashCli::refusesWhatWouldHangOrDestroy_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("culprit");
    // Nothing may block on a pipe; each is named at once.
    QTest::newRow("snapshot a pipe") << "fifo:snap4.sna"
                                     << "snap4.sna";
    QTest::newRow("bank a pipe") << "fifo:bank32.rom"
                                 << "bank32.rom";
    QTest::newRow("list a pipe") << "fifo:list.txt"
                                 << "list.txt";
    QTest::newRow("settings a pipe") << "fifo:tessel.ini"
                                     << "named pipe";
    QTest::newRow("settings a folder") << "folder:tessel.ini"
                                       << "a folder";
    QTest::newRow("settings missing") << "remove:tessel.ini"
                                      << "does not exist";
    QTest::newRow("settings junk") << "junk:tessel.ini"
                                   << "no section [tessel]";
    QTest::newRow("bank empty") << "empty:bank1.rom"
                                << "empty";
    // No input may be replaced by the output, under any spelling.
    QTest::newRow("output a snapshot") << "out:snap2.sna"
                                       << "snap2.sna";
    QTest::newRow("output a link to a snapshot") << "out:link"
                                                 << "snap0.sna";
    QTest::newRow("output bank 1") << "out:bank1.rom"
                                   << "bank1.rom";
    QTest::newRow("output bank 32, other spelling") << "out:flash/../bank32.rom"
                                                    << "bank32.rom";
    QTest::newRow("output the settings") << "out:tessel.ini"
                                         << "tessel.ini";
    QTest::newRow("output the list") << "out:list.txt"
                                     << "list.txt";
    QTest::newRow("output the program") << "out:tessel-flash"
                                        << "tessel-flash";
    QTest::newRow("output a device") << "out:device"
                                     << "a device";
    QTest::newRow("output a pipe") << "out:pipe"
                                   << "named pipe";
    // Names that would land raw in the menu table.
    QTest::newRow("name with newline") << "name:a\nb"
                                       << "U+000A";
    QTest::newRow("name with tab") << "name:a\tb"
                                   << "U+0009";
    QTest::newRow("name with escape") << "name:a\x1b[2Jb"
                                      << "U+001B";
    QTest::newRow("list name with a lone CR") << "listname:a\rb"
                                              << "U+000D";
    QTest::newRow("name beginning with a dash") << "dash:-Name"
                                                << "put --";
}

void TestFlashCli::refusesWhatWouldHangOrDestroy()
{
    QFETCH(QString, change);
    QFETCH(QString, culprit);
    const QString how = change.section(QLatin1Char(':'), 0, 0);
    const QString what = change.section(QLatin1Char(':'), 1);
    FlashKit kit;
    const QString program = kit.path(QStringLiteral("tessel-flash"));
    QVERIFY(QFile::copy(QStringLiteral(TESSEL_FLASH_EXE), program));
    QVERIFY(QFile::link(kit.entries[0].path, kit.path(QStringLiteral("link"))));
    QVERIFY(makeNode(kit.path(QStringLiteral("device")), "device"));
    QVERIFY(makeNode(kit.path(QStringLiteral("pipe")), "fifo"));

    QString out = kit.path(QStringLiteral("built.rom"));
    SnapshotEntries entries = kit.entries;
    bool useList = what == QStringLiteral("list.txt") || how == QStringLiteral("listname");
    QStringList before;
    if (how == QStringLiteral("fifo") || how == QStringLiteral("folder")) {
        QFile::remove(kit.path(what));
        QVERIFY(how == QStringLiteral("fifo") ? makeNode(kit.path(what), "fifo")
                                              : QDir(kit.path(QString())).mkdir(what));
    } else if (how == QStringLiteral("remove")) {
        QVERIFY(QFile::remove(kit.path(what)));
    } else if (how == QStringLiteral("junk")) {
        writeFile(kit.path(what), QByteArray("\x01\x02junk\xff\x00more", 13));
    } else if (how == QStringLiteral("empty")) {
        writeFile(kit.path(what), QByteArray());
    } else if (how == QStringLiteral("out")) {
        out = kit.path(what);
    } else if (how == QStringLiteral("name") || how == QStringLiteral("listname")
               || how == QStringLiteral("dash")) {
        entries[6].name = what;
    }
    const QString outBytes =
        QFileInfo(out).isFile() ? QString::fromLatin1(readFile(out).toHex()) : QString();

    QStringList arguments{QStringLiteral("--kit"), kit.path(QString()), QStringLiteral("-o"), out};
    if (useList) {
        QByteArray list;
        for (const SnapshotEntry& entry : entries)
            list += entry.name.toUtf8() + '\t' + entry.path.toUtf8() + '\n';
        if (how != QStringLiteral("fifo"))
            writeFile(kit.path(QStringLiteral("list.txt")), list);
        arguments << QStringLiteral("--list") << kit.path(QStringLiteral("list.txt"));
    } else {
        for (const SnapshotEntry& entry : entries)
            arguments << entry.name + QLatin1Char('=') + entry.path;
    }
    QElapsedTimer clock;
    clock.start();
    const Run run = tesselFlash(arguments, program);
    QVERIFY2(run.status == 1, qPrintable(run.err));
    QVERIFY2(run.err.contains(culprit), qPrintable(run.err));
    QVERIFY2(!run.err.contains(QChar(u'\x1b')), "the message shows a raw escape");
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY(run.out.isEmpty());
    if (!outBytes.isEmpty())
        QCOMPARE(QString::fromLatin1(readFile(out).toHex()), outBytes);
    QVERIFY(!QFileInfo(kit.path(QStringLiteral("device"))).isFile());
    QVERIFY(!QFileInfo(kit.path(QStringLiteral("pipe"))).isFile());
    if (how != QStringLiteral("out"))
        QVERIFY(!QFile::exists(out));
}

// Any size but empty is fitted to the bank as before, but no longer silently.
void TestFlashCli::oddBanksAreBuiltWithAWarning()
{
    FlashKit kit;
    writeFile(kit.path(QStringLiteral("bank1.rom")), QByteArray(100, 'a'));
    writeFile(kit.path(QStringLiteral("bank32.rom")), QByteArray(20000, 'b'));
    const QString out = kit.path(QStringLiteral("built.rom"));
    const Run run = tesselFlash(
        QStringList{QStringLiteral("--kit"), kit.path(QString()), QStringLiteral("-o"), out}
        + entryArguments(kit));
    QCOMPARE(run.status, 0);
    QCOMPARE(readFile(out), kit.expected());
    const QStringList warnings = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(warnings.size(), 2);
    QVERIFY2(warnings[0].contains(QStringLiteral("bank1.rom"))
                 && warnings[0].contains(QStringLiteral("100 bytes")),
             qPrintable(run.err));
    QVERIFY2(warnings[1].contains(QStringLiteral("bank32.rom"))
                 && warnings[1].contains(QStringLiteral("20000 bytes")),
             qPrintable(run.err));
}

void TestFlashCli::convertsOneSnapshotToSna()
{
    FlashKit kit;
    const QString z80 = QStringLiteral(TESSEL_TEST_DATA "/other/ld48bin.z80");
    const QString out = kit.path(QStringLiteral("out.sna"));
    Run run = tesselFlash({QStringLiteral("--to-sna"), z80, out});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(readFile(out), readSnapshot(z80, nullptr).value().sna);
    QVERIFY2(run.err.contains(QStringLiteral("warning")), qPrintable(run.err)); // its AY sound

    // The same refusals as adding, and never an input replaced.
    writeFile(out, "keep");
    for (const QStringList& arguments :
         {QStringList{QStringLiteral(TESSEL_TEST_DATA "/other/tape128k.sna"), out},
          QStringList{kit.entries[0].path, kit.entries[0].path}, QStringList{z80}}) {
        const QByteArray before = readFile(kit.entries[0].path);
        run = tesselFlash(QStringList{QStringLiteral("--to-sna")} + arguments);
        QCOMPARE(run.status, 1);
        QVERIFY(!run.err.isEmpty());
        QCOMPARE(readFile(out), QByteArray("keep"));
        QCOMPARE(readFile(kit.entries[0].path), before);
    }
}

// A tape converted and built with the kit's ROM, Sinclair's where there is
// one; a tape that does not load writes nothing.
void TestFlashCli::takesTapes()
{
    FlashKit kit;
    const bool sinclair = !sinclairRom().isEmpty();
    if (sinclair)
        QVERIFY(QFile::copy(sinclairRom(), kit.path(QStringLiteral("48.rom"))));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), kit.path(QStringLiteral("cache")));
    const QString tape = kit.path(QStringLiteral("game.tzx"));
    QVERIFY(writeFile(tape, turboTape().tzx()));
    const QString out = kit.path(QStringLiteral("out.sna"));
    const QStringList withKit{QStringLiteral("--kit"), kit.path(QString())};
    Run done = run(QStringLiteral(TESSEL_FLASH_EXE),
                   withKit + QStringList{QStringLiteral("--to-sna"), tape, out}, {}, environment);
    QVERIFY2(done.status == 0, qPrintable(done.err));
    const QByteArray sna = readFile(out);
    QCOMPARE(sna.mid(kSnaHeaderSize + kGameStart - 0x4000, gameCode().size()), gameCode());
    QCOMPARE(done.err.contains(QStringLiteral("OpenSE")), !sinclair);

    // Without any kit, as tessel-screen does, the tape loads with OpenSE BASIC.
    const QString alone = kit.path(QStringLiteral("alone/tessel-flash"));
    QVERIFY(QDir().mkpath(kit.path(QStringLiteral("alone"))));
    QVERIFY(QFile::copy(QStringLiteral(TESSEL_FLASH_EXE), alone));
    if (QFile::exists(kOpenSeRomPath)) {
        done = run(alone, {QStringLiteral("--to-sna"), tape, kit.path(QStringLiteral("os.sna"))},
                   {}, environment);
        QVERIFY2(done.status == 0 && done.err.contains(QStringLiteral("OpenSE")),
                 qPrintable(done.err));
    }

    kit.entries[3].path = tape;
    const QString image = kit.path(QStringLiteral("built.rom"));
    done = run(QStringLiteral(TESSEL_FLASH_EXE),
               withKit + QStringList{QStringLiteral("-o"), image} + entryArguments(kit), {},
               environment);
    QVERIFY2(done.status == 0, qPrintable(done.err));
    QCOMPARE(readFile(image).mid(areaOffset(3), kAreaSize), sna.mid(kSnaHeaderSize));

    QVERIFY(writeFile(tape, TapeWriter().block(0xff, "no header").tzx()));
    QVERIFY(writeFile(out, "keep"));
    done = run(QStringLiteral(TESSEL_FLASH_EXE),
               withKit + QStringList{QStringLiteral("--to-sna"), tape, out}, {}, environment);
    QCOMPARE(done.status, 1);
    QVERIFY2(done.err.contains(QStringLiteral("game.tzx")), qPrintable(done.err));
    QCOMPARE(readFile(out), QByteArray("keep"));
}

void TestFlashCli::helpAndVersion()
{
    const Run version = tesselFlash({QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.contains(QStringLiteral(TESSEL_VERSION)));
    const Run help = tesselFlash({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    for (const char* option : {"--kit", "--list", "-o", "--to-sna", "NAME=PATH", "49,179", ".z80"})
        QVERIFY2(help.out.contains(QLatin1String(option)), option);
}

// A headless machine runs it with Qt's core library alone.
void TestFlashCli::needsNoGraphicsLibraries()
{
#ifdef Q_OS_LINUX
    const Run ldd = run(QStringLiteral("ldd"), {QStringLiteral(TESSEL_FLASH_EXE)});
    QCOMPARE(ldd.status, 0);
    QVERIFY2(ldd.out.contains(QStringLiteral("libQt6Core")), qPrintable(ldd.out));
    for (const char* library : {"libQt6Gui", "libQt6Widgets", "libGL", "libX11", "libxcb"})
        QVERIFY2(!ldd.out.contains(QLatin1String(library)), library);
#else
    QSKIP("ldd is a Linux tool");
#endif
}

QTEST_GUILESS_MAIN(TestFlashCli)
#include "tst_flash_cli.moc"
