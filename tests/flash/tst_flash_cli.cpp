// tessel-flash run as a process, and the entry-list reader it uses.
#include "FlashFixture.h"

#include "core/Settings.h"
#include "flash/EntryList.h"
#include "flash/FlashImage.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

using namespace tessel;
using namespace tessel::test;

namespace {

Run tesselFlash(const QStringList& arguments,
                const QString& program = QStringLiteral(TESSEL_FLASH_EXE))
{
    return run(program, arguments);
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
    void kitDefaultsToOwnFolder();
    void refuses_data();
    void refuses();
    void helpAndVersion();
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
                            << QStringList{"!", "line 2", "tab"};
    QTest::newRow("nul") << QByteArray("A\ta\0b", 5) << QStringList{"!", "line 1", "NUL"};
    QTest::newRow("bad utf-8") << QByteArray("\n\nA\xFF\ta") << QStringList{"!", "line 3", "UTF-8"};
    QTest::newRow("cut utf-8") << QByteArray("A\ta\xC3") << QStringList{"!", "line 1", "UTF-8"};
    QTest::newRow("no path") << QByteArray("A\t\r\n") << QStringList{"!", "line 1", "path"};
    // Only the file's first three bytes are a mark; a field's U+FEFF is kept.
    QTest::newRow("mark in fields") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                  "A\t\xEF\xBB\xBFp\n\t\xEF\xBB\xBF\t\n")
                                    << QStringList{QStringLiteral("\uFEFFA"), QString()};
}

void TestFlashCli::listFiles()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, names);
    const EntryListResult result = parseEntryList(data);
    if (names.value(0) == QStringLiteral("!")) {
        for (const QString& word : names.mid(1))
            QVERIFY2(result.error.contains(word), qPrintable(result.error));
        return;
    }
    QVERIFY2(result.ok(), qPrintable(result.error));
    QStringList got;
    for (const FlashEntry& entry : result.entries)
        got << entry.name;
    QCOMPARE(got, names);
    if (QTest::currentDataTag() == QByteArrayLiteral("tab in path"))
        QCOMPARE(result.entries[0].path, QStringLiteral("dir\twith tab"));
    if (QTest::currentDataTag() == QByteArrayLiteral("mark in fields")) {
        QCOMPARE(result.entries[0].path, QStringLiteral("\uFEFFp"));
        QCOMPARE(result.entries[1].path, QStringLiteral("\uFEFF\t"));
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
        const EntryListResult result = parseEntryList(data);
        QVERIFY(result.ok() || !result.error.isEmpty());
    }
    const QByteArray huge = QByteArray(8 << 20, 'n') + "\t" + QByteArray(8 << 20, 'p');
    QCOMPARE(parseEntryList(huge).entries.size(), 1);
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
    for (int i = 0; i < kFlashEntries; ++i)
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
                                  << "9 entries";
    QTest::newRow("eleven entries") << "add"
                                    << "11 entries";
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
        kit.set(kKeyRegistersOffset, QString());
    else if (change == QStringLiteral("emptykit"))
        arguments[1].clear();
    else if (change == QStringLiteral("noout"))
        arguments = arguments.mid(0, 2);
    else if (change == QStringLiteral("both") || change == QStringLiteral("nolist"))
        arguments << QStringLiteral("--list") << kit.path(QStringLiteral("missing.txt"));
    if (change == QStringLiteral("nolist"))
        entries.clear();
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
}

void TestFlashCli::helpAndVersion()
{
    const Run version = tesselFlash({QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.contains(QStringLiteral(TESSEL_VERSION)));
    const Run help = tesselFlash({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    for (const char* option : {"--kit", "--list", "-o", "NAME=PATH", "49,179"})
        QVERIFY2(help.out.contains(QLatin1String(option)), option);
}

QTEST_GUILESS_MAIN(TestFlashCli)
#include "tst_flash_cli.moc"
