// SPDX-License-Identifier: GPL-3.0-or-later
// Loading screens drawn from screen memory whose every pixel is known, and
// from a real snapshot against a picture checked by eye.
#include "flash/FlashFixture.h"
#include "machine/Source.h"
#include "screens/ScreenImage.h"
#include "support/TapeWriter.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tessel;
using namespace tessel::test;

namespace {

const QString kData = QStringLiteral(TESSEL_TEST_DATA);

// The screen address of a pixel line, from its parts as the hardware wires
// them: third in bits 11-12, pixel line in 8-10, character row in 5-7.
int address(int third, int row, int line, int column)
{
    return (third << 11) | (line << 8) | (row << 5) | column;
}

// Colours written out, not computed: black, blue, red, magenta, green, cyan,
// yellow, white, at 0xD7 and with BRIGHT at 0xFF.
const QRgb kPlain[8] = {0x000000, 0x0000D7, 0xD70000, 0xD700D7,
                        0x00D700, 0x00D7D7, 0xD7D700, 0xD7D7D7};
const QRgb kBright[8] = {0x000000, 0x0000FF, 0xFF0000, 0xFF00FF,
                         0x00FF00, 0x00FFFF, 0xFFFF00, 0xFFFFFF};

QRgb rgb(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace

class TestScreenImage : public QObject
{
    Q_OBJECT

private slots:
    void everyLineLandsWhereTheHardwareShowsIt();
    void attributesGiveInkPaperBrightAndFlash();
    void snapshotGivesScreenAndBorder();
    void realSnapshotMatchesCheckedPicture();
    void commandLineWritesThePictureOrNothing();
};

void TestScreenImage::everyLineLandsWhereTheHardwareShowsIt()
{
    // One pixel in each line of each character row of each third, each at
    // its own column, on white PAPER with black INK.
    QByteArray memory(kBitmapSize, '\0');
    memory.append(QByteArray(kScreenMemorySize - kBitmapSize, '\x38'));
    for (int third = 0; third < 3; ++third) {
        for (int row = 0; row < 8; ++row) {
            for (int line = 0; line < 8; ++line) {
                const int y = third * 64 + row * 8 + line;
                const int x = y + 32;
                memory[address(third, row, line, x / 8)] = static_cast<char>(0x80 >> (x % 8));
            }
        }
    }
    const QImage image = renderScreen(memory);
    QCOMPARE(image.size(), QSize(256, 192));
    for (int y = 0; y < 192; ++y) {
        for (int x = 0; x < 256; ++x) {
            const QRgb expected = x == y + 32 ? kPlain[0] : kPlain[7];
            if (rgb(image, x, y) != expected)
                QFAIL(qPrintable(QString("Pixel %1,%2 is wrong").arg(x).arg(y)));
        }
    }
    QVERIFY(renderScreen(memory.left(kScreenMemorySize - 1)).isNull());
}

void TestScreenImage::attributesGiveInkPaperBrightAndFlash()
{
    // Cell n of the first 256 has attribute n, its left half INK, right half
    // PAPER in every line.
    QByteArray memory(kBitmapSize, '\xF0');
    memory.append(kScreenMemorySize - kBitmapSize, '\0');
    for (int cell = 0; cell < 256; ++cell)
        memory[kBitmapSize + cell] = static_cast<char>(cell);

    const QImage steady = renderScreen(memory);
    const QImage swapped = renderScreen(memory, true);
    for (int cell = 0; cell < 256; ++cell) {
        const QRgb* palette = cell & 0x40 ? kBright : kPlain;
        const QRgb ink = palette[cell & 7];
        const QRgb paper = palette[(cell >> 3) & 7];
        const bool flash = cell & 0x80;
        const int x = (cell % 32) * 8;
        const int y = (cell / 32) * 8 + 7;
        const QString where = QString("attribute %1").arg(cell, 2, 16);
        QVERIFY2(rgb(steady, x, y) == ink && rgb(steady, x + 7, y) == paper, qPrintable(where));
        QVERIFY2(rgb(swapped, x, y) == (flash ? paper : ink), qPrintable(where));
        QVERIFY2(rgb(swapped, x + 7, y) == (flash ? ink : paper), qPrintable(where));
    }
    QVERIFY(screenFlashes(memory));
    memory.truncate(kBitmapSize + 128); // only attributes without FLASH
    memory.append(QByteArray(kScreenMemorySize - memory.size(), '\x7F'));
    QVERIFY(!screenFlashes(memory));
}

void TestScreenImage::snapshotGivesScreenAndBorder()
{
    QByteArray sna(49179, '\0');
    sna[26] = '\xFA'; // only bits 0-2 are the border: red
    sna[27 + kBitmapSize] = '\x38';
    std::optional<LoadingScreen> screen = loadingScreenFromSna(sna);
    QVERIFY(screen);
    QCOMPARE(screen->border & 0xFFFFFF, kPlain[2]);
    QCOMPARE(rgb(screen->image, 0, 0), kPlain[7]);
    QVERIFY(!screen->flashes());

    sna[27 + kBitmapSize + 1] = '\x80';
    QVERIFY(loadingScreenFromSna(sna)->flashes());
    QVERIFY(!loadingScreenFromSna(sna.left(49178)));
    QVERIFY(!loadingScreenFromSna(sna + '\0'));
}

void TestScreenImage::realSnapshotMatchesCheckedPicture()
{
    QString error;
    const std::optional<LoadingScreen> screen =
        readLoadingScreen(kData + "/sna/zasmops.sna", &error);
    QVERIFY2(screen, qPrintable(error));
    const QImage checked(kData + "/screens/zasmops.png");
    QVERIFY(!checked.isNull());
    QCOMPARE(screen->image.convertToFormat(QImage::Format_RGB32),
             checked.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(screen->border & 0xFFFFFF, kPlain[7]);

    // Its one FLASH cell, the cursor, is all that changes in the other phase.
    QVERIFY(screen->flashes());
    QRect changed;
    for (int y = 0; y < 192; ++y)
        for (int x = 0; x < 256; ++x)
            if (screen->image.pixel(x, y) != screen->flashed.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    QCOMPARE(changed.size(), QSize(8, 8));
    QCOMPARE(changed.y(), 184);
}

void TestScreenImage::commandLineWritesThePictureOrNothing()
{
    QTemporaryDir dir;
    const QString png = dir.filePath("screen.png");
    const QString sna = kData + "/sna/zasmops.sna";
    const QString exe = QStringLiteral(TESSEL_SCREEN_EXE);

    // Not a 48K snapshot; a folder where the picture must go; no picture named.
    const QString taken = dir.filePath("taken.png");
    QVERIFY(QDir().mkpath(taken));
    const QList<std::pair<QStringList, QString>> failing = {
        {{kData + "/other/tape128k.sna", png}, "tape128k.sna"},
        {{sna, taken}, "taken.png"},
        {{sna}, QString()}};
    for (const auto& [arguments, culprit] : failing) {
        const Run failed = run(exe, arguments);
        QCOMPARE(failed.status, 1);
        QVERIFY2(failed.err.startsWith("tessel-screen: ") && failed.err.contains(culprit),
                 qPrintable(failed.err));
        QVERIFY(failed.out.isEmpty());
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());

    const Run written = run(exe, {sna, png});
    QVERIFY2(written.status == 0, qPrintable(written.err));
    QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32),
             readLoadingScreen(sna, nullptr)->image.convertToFormat(QImage::Format_RGB32));

    // A tape: the screen of the snapshot it loads to.
    const QString tape = dir.filePath("game.tap");
    QVERIFY(writeFile(tape, romTape().tap()));
    qputenv("XDG_CACHE_HOME", dir.filePath("cache").toUtf8());
    const Run loaded = run(exe, {tape, png}, {}, QProcessEnvironment::systemEnvironment());
    QVERIFY2(loaded.status == 0, qPrintable(loaded.err));
    const QByteArray snapshot = readSource(tape, nullptr, nullptr).value().sna;
    QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32),
             loadingScreenFromSna(snapshot)->image.convertToFormat(QImage::Format_RGB32));
}

QTEST_GUILESS_MAIN(TestScreenImage)
#include "tst_screen_image.moc"
