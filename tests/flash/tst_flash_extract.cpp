// SPDX-License-Identifier: GPL-3.0-or-later
// Images taken apart: what comes back, what is refused, and that building the
// extracted compilation again gives the same image.
#include "FlashFixture.h"

#include "core/Cp1252.h"
#include "core/Settings.h"
#include "flash/FlashBuild.h"
#include "flash/FlashExtract.h"
#include "formats/EntryList.h"

#include <QDir>
#include <QTest>

using namespace tessel;
using namespace tessel::test;

namespace {

// Builds the kit's entries into out.rom; empty on failure.
QByteArray buildImage(const FlashKit& kit, const SnapshotEntries& entries, const QString& name)
{
    QString error;
    const QString out = kit.path(name);
    if (!build(kit.kit(), entries, {out, {}}, &error))
        qWarning("%s", qPrintable(error));
    return readFile(out);
}

// A patterned snapshot with a real interrupt mode, as every snapshot has.
void makePlausible(const FlashKit& kit)
{
    for (const SnapshotEntry& entry : kit.entries) {
        QByteArray sna = readFile(entry.path);
        sna[25] = 1;
        writeFile(entry.path, sna);
    }
}

std::optional<Extraction> extract(const FlashKit& kit, const QString& image, const QString& folder,
                                  bool replace, QStringList* warnings, QString* error)
{
    const auto contents = readFlashImage(kit.kit(), image, error);
    if (contents && warnings)
        *warnings = contents->warnings;
    return contents ? writeExtraction(*contents, folder, image, replace, error) : std::nullopt;
}

} // namespace

class TestFlashExtract : public QObject
{
    Q_OBJECT

private slots:
    void demoSnapshotsComeBackAndBuildTheSameImage();
    void offsetsAtTheirLimitsAndOverlappingTables_data();
    void offsetsAtTheirLimitsAndOverlappingTables();
    void refusesImagesThatDoNotFitTheKit_data();
    void refusesImagesThatDoNotFitTheKit();
    void imagesItBuiltAlwaysReopen();
    void existingFilesAndTheCommandLine();
    void windowsDeviceNamesAreAvoided();
    void showListsTheNamesAndWritesNothing();
    void cp1252ReadsBackWhatItWrites();
};

void TestFlashExtract::demoSnapshotsComeBackAndBuildTheSameImage()
{
    FlashKit kit;
    const QStringList demo = QDir(TESSEL_TEST_DATA "/sna").entryList({"*.sna"}, QDir::Files);
    SnapshotEntries entries;
    for (int i = 0; i < kEntryCount; ++i)
        entries.append({QStringLiteral(TESSEL_TEST_DATA "/sna/") + demo.at(i), demo.at(i)});
    // Names that are no file names as they stand, or the same one twice (its "%2" no slot).
    entries[0].name = QString::fromUtf8(" ..Caf\u00e9/\u20ac%3 <1>.");
    entries[1].name = "LPT1.x";
    entries[2].name = "GAME %2";
    entries[3].name = "game %2";
    const QByteArray image = buildImage(kit, entries, "first.rom");
    QCOMPARE(image.size(), kImageSize);

    QStringList warnings;
    QString error;
    const auto done =
        extract(kit, kit.path("first.rom"), kit.path("out/x"), false, &warnings, &error);
    QVERIFY2(done, qPrintable(error));
    QVERIFY(warnings.isEmpty());
    QCOMPARE(done->listFile, kit.path("out/x/first.tessel"));
    QStringList files;
    for (const SnapshotEntry& entry : done->entries)
        files << QFileInfo(entry.path).fileName();
    QCOMPARE(files.mid(0, 4), (QStringList{QString::fromUtf8("Caf\u00e9_\u20ac%3 _1_.sna"),
                                           "LPT1_.x.sna", "GAME %2.sna", "game %2 (2).sna"}));
    for (int i = 0; i < kEntryCount; ++i) {
        QCOMPARE(done->entries[i].name, entries[i].name);
        QCOMPARE(readFile(done->entries[i].path), readFile(entries[i].path));
    }
    // The list reads back and builds the very same image.
    const auto listed = readEntryList(done->listFile, &error);
    QVERIFY2(listed, qPrintable(error));
    QCOMPARE(*listed, done->entries);
    QCOMPARE(buildImage(kit, *listed, "second.rom"), image);
}

void TestFlashExtract::offsetsAtTheirLimitsAndOverlappingTables_data()
{
    QTest::addColumn<qint64>("names");
    QTest::addColumn<qint64>("registers");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<bool>("firstWhole"); // the first snapshot's memory clear of the tables
    QTest::newRow("both at 0, names under registers") << 0LL << 0LL << 10 << true;
    QTest::newRow("both at their last offset")
        << kMaxNamesOffset << kMaxRegistersOffset << 2 << false;
    QTest::newRow("registers from inside name 3") << 8192LL << 8245LL << 8 << true;
    QTest::newRow("registers up to inside name 3") << 8448LL << 8181LL << 3 << true;
    QTest::newRow("straddling bank 1 and area 0") << 16300LL << 16380LL << 8 << false;
    QTest::newRow("apart in area 0") << 20000LL << 30000LL << 1 << false;
    QTest::newRow("apart in bank 1") << 8192LL << 8448LL << 0 << true;
}

// Whatever lies under the tables is lost; everything else comes back, and a
// build of what came back gives the image again.
void TestFlashExtract::offsetsAtTheirLimitsAndOverlappingTables()
{
    QFETCH(qint64, names);
    QFETCH(qint64, registers);
    QFETCH(int, warnings);
    QFETCH(bool, firstWhole);
    FlashKit kit;
    makePlausible(kit);
    kit.set(Settings::kNamesOffset, QString::number(names));
    kit.set(Settings::kRegistersOffset, QString::number(registers));
    const QByteArray image = buildImage(kit, kit.entries, "image.rom");
    QCOMPARE(image, kit.expected(names, registers)); // the builder is not tried at all of these

    QString error;
    const auto contents = readFlashContents(image, kit.path("image.rom"), names, registers, &error);
    QVERIFY2(contents, qPrintable(error));
    QVERIFY2(contents->warnings.size() == warnings, qPrintable(contents->warnings.join('\n')));
    // --show tells of the same losses.
    const Run shown =
        run(TESSEL_FLASH_EXE, {"--kit", kit.path(""), "--show", kit.path("image.rom")});
    QVERIFY2(shown.status == 0, qPrintable(shown.err));
    QVERIFY2(shown.err.count("tessel-flash: warning: ") == warnings, qPrintable(shown.err));
    SnapshotEntries again;
    for (int i = 0; i < kEntryCount; ++i) {
        const ExtractedEntry& entry = contents->entries[i];
        const QByteArray original = readFile(kit.entries[i].path);
        QCOMPARE(entry.sna.size(), kSnaFileSize);
        QCOMPARE(entry.sna.left(32), original.left(32)); // the records are always whole
        QCOMPARE(entry.sna == original, i > 0 || firstWhole);
        if (!entry.name.contains('?') && !entry.name.startsWith("Snapshot  "))
            QCOMPARE(entry.name, kit.entries[i].name);
        again.append({kit.path(QString("again%1.sna").arg(i)), entry.name});
        QVERIFY(writeFile(again[i].path, entry.sna));
    }
    QCOMPARE(buildImage(kit, again, "again.rom"), image);
}

// Each row's name says how the image or the kit is spoilt.
void TestFlashExtract::refusesImagesThatDoNotFitTheKit_data()
{
    QTest::addColumn<QString>("reason");
    QTest::newRow("short") << "524287 bytes long";
    QTest::newRow("long") << "524289 bytes long";
    QTest::newRow("registers shifted") << "DireccionRegistros";
    QTest::newRow("names in memory") << "DireccionNombres";
    QTest::newRow("folder") << "folder";
    QTest::newRow("all blank") << "blank";
    // Names of letters over a bank of dots: shifted, they still read as names.
    QTest::newRow("names one byte on") << "DireccionNombres";
    QTest::newRow("names one byte back") << "DireccionNombres";
    QTest::newRow("names eight bytes on") << "DireccionNombres";
}

void TestFlashExtract::refusesImagesThatDoNotFitTheKit()
{
    QFETCH(QString, reason);
    const QByteArray spoil = QTest::currentDataTag();
    FlashKit kit;
    makePlausible(kit);
    QVERIFY(writeFile(kit.path("bank1.rom"), QByteArray(kBankSize, '.')));
    QByteArray image = buildImage(kit, kit.entries, "image.rom");
    const QMap<QByteArray, QString> names = {{"names one byte on", "8193"},
                                             {"names one byte back", "8191"},
                                             {"names eight bytes on", "8200"}};
    if (names.contains(spoil))
        kit.set(Settings::kNamesOffset, names[spoil]);
    else if (spoil == "all blank")
        image.fill('\0');
    else if (spoil == "short")
        image.chop(1);
    else if (spoil == "long")
        image.append('\0');
    else if (spoil == "registers shifted")
        kit.set(Settings::kRegistersOffset, "8480");
    else if (spoil == "names in memory")
        kit.set(Settings::kNamesOffset, "20000"); // patterned memory, control bytes
    QString path = kit.path("image.rom");
    if (spoil == "folder")
        path = kit.path("flash");
    else
        QVERIFY(writeFile(path, image));
    QString error;
    QVERIFY(!extract(kit, path, kit.path("out"), false, nullptr, &error));
    QVERIFY2(error.contains(reason) && error.contains(QDir::toNativeSeparators(path)),
             qPrintable(error));
    QVERIFY(QDir(kit.path("out")).isEmpty());
}

// The builder takes any 49,179-byte .sna, whatever its interrupt mode byte.
void TestFlashExtract::imagesItBuiltAlwaysReopen()
{
    FlashKit kit;
    makePlausible(kit);
    QByteArray sna = readFile(kit.entries[4].path);
    sna[25] = char(0xff);
    QVERIFY(writeFile(kit.entries[4].path, sna));
    buildImage(kit, kit.entries, "image.rom");
    QStringList warnings;
    QString error;
    const auto done =
        extract(kit, kit.path("image.rom"), kit.path("out"), false, &warnings, &error);
    QVERIFY2(done, qPrintable(error));
    QVERIFY2(warnings.size() == 1 && warnings[0].contains("interrupt mode 255"),
             qPrintable(warnings.join('\n')));
    QCOMPARE(readFile(done->entries[4].path), sna);

    // Without the kit's bank 1 the names' place goes unchecked, and is told.
    QVERIFY(QFile::remove(kit.kit().bank1Path()));
    QVERIFY(extract(kit, kit.path("image.rom"), kit.path("out2"), false, &warnings, &error));
    QVERIFY2(warnings.size() == 2 && warnings[0].contains("was not checked"),
             qPrintable(warnings.join('\n')));
}

void TestFlashExtract::existingFilesAndTheCommandLine()
{
    FlashKit kit;
    makePlausible(kit);
    buildImage(kit, kit.entries, "image.rom");
    QVERIFY(QDir().mkpath(kit.path("out")));
    QVERIFY(writeFile(kit.path("out/Snapshot 3.sna"), "mine"));
    const QStringList arguments{"--kit", kit.path(""), "--extract", kit.path("image.rom"),
                                kit.path("out")};

    Run refused = run(TESSEL_FLASH_EXE, arguments);
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains("Snapshot 3.sna") && refused.err.contains("--force"),
             qPrintable(refused.err));
    QCOMPARE(QDir(kit.path("out")).entryList(QDir::Files), QStringList{"Snapshot 3.sna"});
    QCOMPARE(readFile(kit.path("out/Snapshot 3.sna")), QByteArray("mine"));

    const Run forced = run(TESSEL_FLASH_EXE, arguments + QStringList{"--force"});
    QVERIFY2(forced.status == 0, qPrintable(forced.err));
    QCOMPARE(forced.out.trimmed(), QDir::toNativeSeparators(kit.path("out/image.tessel")));
    QCOMPARE(readFile(kit.path("out/Snapshot 3.sna")), readFile(kit.entries[3].path));

    // Something that is not a file is never replaced, --force or not.
    QVERIFY(QDir().mkpath(kit.path("out2/Snapshot 0.sna")));
    QString error;
    QVERIFY(!extract(kit, kit.path("image.rom"), kit.path("out2"), true, nullptr, &error));
    QVERIFY2(error.contains("folder"), qPrintable(error));

    QCOMPARE(run(TESSEL_FLASH_EXE, arguments + QStringList{"-o", "x.rom"}).status, 1);

    // A file where the folder should be is named as such.
    QVERIFY(writeFile(kit.path("out3"), "a file"));
    QVERIFY(!extract(kit, kit.path("image.rom"), kit.path("out3"), true, nullptr, &error));
    QVERIFY2(error.contains("a file of that name stands there"), qPrintable(error));
    // So is a link to nothing, and nothing is made where it points.
    QVERIFY(QFile::link(kit.path("nowhere"), kit.path("out4")));
    QVERIFY(!extract(kit, kit.path("image.rom"), kit.path("out4"), true, nullptr, &error));
    QVERIFY2(error.contains("which does not exist"), qPrintable(error));
    QVERIFY(!QFileInfo::exists(kit.path("nowhere")));
}

void TestFlashExtract::windowsDeviceNamesAreAvoided()
{
    for (const QString device : {"COM0", "lpt0", "COM\u00B9", "LPT\u00B3", "CONIN$", "conout$"})
        QCOMPARE(safeFileName(device + ".x"), device + "_.x");
    QCOMPARE(safeFileName("COM10"), QString("COM10"));
}

void TestFlashExtract::showListsTheNamesAndWritesNothing()
{
    FlashKit kit;
    makePlausible(kit);
    buildImage(kit, kit.entries, "image.rom");
    const auto before = treeContents(kit.path(""));
    const QStringList arguments{"--kit", kit.path(""), "--show", kit.path("image.rom")};

    const Run shown = run(TESSEL_FLASH_EXE, arguments);
    QVERIFY2(shown.status == 0, qPrintable(shown.err));
    QStringList lines;
    for (int i = 0; i < kEntryCount; ++i)
        lines << QString("%1\tSnapshot %2").arg(i + 1).arg(i);
    QCOMPARE(shown.out, lines.join('\n') + '\n');
    QVERIFY2(shown.err.isEmpty(), qPrintable(shown.err));
    QCOMPARE(treeContents(kit.path("")), before);

    // Another kit's image, and an extra argument.
    kit.set(Settings::kRegistersOffset, "8480");
    const auto foreign = treeContents(kit.path(""));
    const Run refused = run(TESSEL_FLASH_EXE, arguments);
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains("DireccionRegistros") && refused.out.isEmpty(),
             qPrintable(refused.err));
    QCOMPARE(run(TESSEL_FLASH_EXE, arguments + QStringList{"x"}).status, 1);
    QCOMPARE(treeContents(kit.path("")), foreign);
}

// toCp1252 is checked byte by byte with the image; reading back must undo it.
void TestFlashExtract::cp1252ReadsBackWhatItWrites()
{
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, char(b));
        QCOMPARE(fromCp1252(byte).size(), 1);
        if (!isCp1252Control(char(b)))
            QCOMPARE(toCp1252(fromCp1252(byte)), byte);
    }
    QVERIFY(isCp1252Control('\x81') && isCp1252Control('\x7f') && !isCp1252Control('\xa0'));
}

QTEST_GUILESS_MAIN(TestFlashExtract)
#include "tst_flash_extract.moc"
