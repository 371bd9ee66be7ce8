// SPDX-License-Identifier: GPL-3.0-or-later
// Trainer files read, found beside a snapshot, and applied to a .sna.
#include "core/Cartridge.h"
#include "formats/PokFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tessel;

namespace {

// "Name: target=value ..." for a usable trainer, "Name! problem" otherwise.
QString described(const PokFileTrainer& trainer)
{
    if (!trainer.usable())
        return trainer.name + QStringLiteral("! ") + trainer.problem;
    QStringList pokes;
    for (const PokFilePoke& poke : trainer.pokes)
        pokes << QStringLiteral("%1=%2").arg(poke.target).arg(poke.value);
    return trainer.name + QStringLiteral(": ") + pokes.join(QLatin1Char(' '));
}

} // namespace

class TestPokFile : public QObject
{
    Q_OBJECT

private slots:
    void parses_data();
    void parses();
    void refusesWhatIsNoTrainerFile();
    void foundBesideTheSnapshot();
    void appliedToTheMemory();
};

void TestPokFile::parses_data()
{
    QTest::addColumn<QByteArray>("data");
    // Usable ones whole; unusable ones as "Name! line N | a word of the reason".
    QTest::addColumn<QStringList>("trainers");
    QTest::addColumn<QStringList>("strayLines"); // the file's own problems, by line

    QTest::newRow("good, CRLF, nothing read after Y")
        << QByteArray("NInfinite lives\r\nM 8 35136 0 0\r\nZ 8  35137   0 201\r\nNSlow\r\n"
                      "Z 8 40000 5 12\r\nY\r\nNAfter\r\nZ 8 1 1 1\r\n")
        << QStringList{"Infinite lives: 35136=0 35137=0", "Slow: 40000=5"} << QStringList();
    QTest::newRow("pages 5, 2 and 0 where a 48K has them")
        << QByteArray("NPages\nM 5 0 1 0\nM 2 16383 2 0\nM 0 49153 3 0\nZ 8 65535 4 0\n")
        << QStringList{"Pages: 16384=1 49151=2 49153=3 65535=4"} << QStringList();
    QTest::newRow("pages a 48K lacks, and no bank")
        << QByteArray("N128\nM 8 30000 1 0\nZ 3 100 1 0\nNNine\nZ 9 100 1 0\n")
        << QStringList{"128! Line 3 | 128K", "Nine! Line 5 | bank 9"} << QStringList();
    QTest::newRow("ROM") << QByteArray("NRom\nM 8 16384 0 0\nZ 8 16383 0 0\n")
                         << QStringList{"Rom! Line 3 | ROM"} << QStringList();
    QTest::newRow("256 asks, more is refused")
        << QByteArray("NAsk\nZ 8 30000 256 0\nNBig\nZ 8 30000 257 0\nNOrig\nZ 8 30000 1 256\n"
                      "NFar\nZ 8 65536 1 0\n")
        << QStringList{"Ask: 30000=256", "Big! Line 4 | 257", "Orig! Line 6 | 256",
                       "Far! Line 8 | 65535"}
        << QStringList();
    QTest::newRow("malformed lines")
        << QByteArray("NShort\nZ 8 30000 1\nNLetters\nZ 8 3x000 1 0\nNLong\nZ 8 123456 1 0\n"
                      "NBank\nZ 10 1 1 0\nNStray\nM 8 30000 1 0\nX junk\nZ 8 30001 1 0\n")
        << QStringList{"Short! Line 2 | four", "Letters! Line 4 | five", "Long! Line 6 | five",
                       "Bank! Line 8 | one digit", "Stray! Line 11 | N, M, Z"}
        << QStringList();
    QTest::newRow("unfinished trainers, stray pokes")
        << QByteArray("M 8 30000 1 0\nNOpen\nM 8 30000 1 0\nNEmpty\nNLast\nZ 8 30000 1 0\n"
                      "Z 8 30001 1 0\nX\n")
        << QStringList{"Open! Line 2 | Z line", "Empty! Line 4 | Z line", "Last: 30000=1"}
        << QStringList{"Line 1", "Line 7", "Line 8"};
    QTest::newRow("names: Latin-1, tabs, blanks")
        << QByteArray("N  Vidas\t\xe9xtra \nZ 8 30000 1 0\nN\nZ 8 30000 2 0\x1a")
        << QStringList{QString::fromUtf8("Vidas éxtra: 30000=1"), ": 30000=2"} << QStringList();
    QTest::newRow("empty") << QByteArray() << QStringList() << QStringList();
}

void TestPokFile::parses()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, trainers);
    QFETCH(QStringList, strayLines);
    QString error;
    const std::optional<PokFileContents> contents = parsePokFile(data, &error);
    QVERIFY2(contents, qPrintable(error));
    QCOMPARE(contents->trainers.size(), trainers.size());
    for (qsizetype i = 0; i < trainers.size(); ++i) {
        const QString got = described(contents->trainers.at(i));
        const QStringList wanted = trainers.at(i).split(QStringLiteral(" | "));
        QVERIFY2(wanted.size() == 1
                     ? got == wanted[0]
                     : got.startsWith(wanted[0] + QLatin1Char(':')) && got.contains(wanted[1]),
                 qPrintable(got));
    }
    QCOMPARE(contents->problems.size(), strayLines.size());
    for (qsizetype i = 0; i < strayLines.size(); ++i)
        QVERIFY(contents->problems.at(i).startsWith(strayLines.at(i) + QLatin1Char(':')));
}

void TestPokFile::refusesWhatIsNoTrainerFile()
{
    QString error;
    QVERIFY(!parsePokFile(QByteArray("NLives\nZ 8 30000\0 1 0\n", 22), &error));
    QVERIFY2(error.contains("not text"), qPrintable(error));

    QTemporaryDir dir;
    const QString big = dir.filePath("big.pok");
    QByteArray data;
    while (data.size() <= kMaxPokFileSize)
        data += "NLives\nZ 8 30000 0 0\n";
    QVERIFY(test::writeFile(big, data));
    QVERIFY(!readPokFile(big, &error));
    QVERIFY2(error.contains("big.pok") && error.contains("larger"), qPrintable(error));
    QVERIFY(!readPokFile(dir.path(), &error));
    QVERIFY2(error.contains("folder"), qPrintable(error));
}

void TestPokFile::foundBesideTheSnapshot()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("a/POKES");
    QDir(dir.path()).mkpath("b/POKES");
    QVERIFY(test::writeFile(dir.filePath("a/POKES/game.v2.pok"), "Y\n"));
    QVERIFY(test::writeFile(dir.filePath("b/GAME.POK"), "Y\n"));
    QVERIFY(test::writeFile(dir.filePath("b/POKES/GAME.pok"), "Y\n"));
    QCOMPARE(findPokFile(dir.filePath("a/game.v2.z80")), dir.filePath("a/POKES/game.v2.pok"));
    QCOMPARE(findPokFile(dir.filePath("b/GAME.sna")), dir.filePath("b/GAME.POK"));
    QCOMPARE(findPokFile(dir.filePath("b/other.sna")), QString());
}

void TestPokFile::appliedToTheMemory()
{
    QByteArray sna(kSnaFileSize, '\x11');
    sna[23] = '\x00'; // the stack at 0x8000: the program counter there stays
    sna[24] = '\x80';
    const auto ram = [&](int address) { return quint8(sna.at(kSnaHeaderSize + address - 0x4000)); };

    const QByteArray pok("NA\nM 8 16384 9 17\nZ 8 32768 9 17\nNB\nZ 8 65535 256 18\n");
    const std::optional<PokFileContents> file = parsePokFile(pok, nullptr);
    QVERIFY(file);
    QVERIFY(matchesOriginals(file->trainers[0], sna));
    QVERIFY(!matchesOriginals(file->trainers[1], sna));
    const QList<Trainer> trainers{settleTrainer(file->trainers[0]),
                                  settleTrainer(file->trainers[1], {42}),
                                  {"last wins", {{16384, 7}, {32769, 7}}}};
    QString error;
    QVERIFY2(applyTrainers(sna, trainers, &error), qPrintable(error));
    QCOMPARE(ram(0x4000), 7);
    QCOMPARE(ram(0x4001), 0x11);
    QCOMPARE(ram(0x8000), 0x11);
    QCOMPARE(ram(0x8001), 0x11);
    QCOMPARE(ram(0xFFFF), 42);

    QVERIFY(!applyTrainers(sna, {{"rom", {{0x3FFF, 1}}}}, &error));
    QVERIFY2(error.contains("rom") && error.contains("ROM"), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestPokFile)
#include "tst_pok_file.moc"
