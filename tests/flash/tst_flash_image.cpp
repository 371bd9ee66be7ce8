// SPDX-License-Identifier: GPL-3.0-or-later
// The image bytes and the checks before them, on patterned sources.
#include "FlashFixture.h"

#include "core/Cp1252.h"
#include "core/Settings.h"
#include "flash/FlashBuild.h"

#include <QBuffer>
#include <QDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace tessel;
using namespace tessel::test;

namespace {

// Fails every write once `room` bytes have gone through.
class FailDevice : public QBuffer
{
public:
    explicit FailDevice(qint64 room)
        : m_room(room)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 writeData(const char* data, qint64 size) override
    {
        if (size > m_room) {
            setErrorString(QStringLiteral("device full"));
            return -1;
        }
        m_room -= size;
        return QBuffer::writeData(data, size);
    }

private:
    qint64 m_room;
};

QByteArray build(const FlashKit& kit, QString& error)
{
    const QString out = kit.path(QStringLiteral("out.rom"));
    if (!tessel::build(kit.kit(), kit.entries, {out, {}}, &error))
        return {};
    return readFile(out);
}

std::optional<FlashJob> prepare(const FlashKit& kit, QString& error)
{
    return prepareBuild(kit.kit(), kit.entries, {kit.path(QStringLiteral("out.rom")), {}}, &error);
}

} // namespace

class TestFlashImage : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void landmarks();
    void namesInCp1252();
    void rejectsBadSources_data();
    void rejectsBadSources();
    void rejectsBadNames();
    void sourceChangedAfterCheck();
    void writeFailures();
    void bankMessagesShowThePathAsItIs();
    void pokesChangeOnlyTheirBytes();
};

void TestFlashImage::layout_data()
{
    QTest::addColumn<qint64>("bank1");
    QTest::addColumn<qint64>("bank32");
    QTest::addColumn<qint64>("names");
    QTest::addColumn<qint64>("registers");
    QTest::newRow("tables in bank 1") << 16384LL << 16384LL << 8192LL << 8448LL;
    QTest::newRow("tables overlap") << 16384LL << 16384LL << 1000LL << 1100LL;
    QTest::newRow("tables at their limits") << 16384LL << 16384LL << 32559LL << 32766LL;
    QTest::newRow("tables at zero") << 16384LL << 16384LL << 0LL << 0LL;
    QTest::newRow("short and long banks") << 16000LL << 20000LL << 8192LL << 8448LL;
    QTest::newRow("one-byte banks") << 1LL << 1LL << 8192LL << 8448LL;
}

void TestFlashImage::layout()
{
    QFETCH(qint64, bank1);
    QFETCH(qint64, bank32);
    QFETCH(qint64, names);
    QFETCH(qint64, registers);
    FlashKit kit;
    writeFile(kit.path(QStringLiteral("bank1.rom")), patternBytes(FlashKit::kBank1, bank1));
    writeFile(kit.path(QStringLiteral("bank32.rom")), patternBytes(FlashKit::kBank32, bank32));
    kit.set(Settings::kNamesOffset, QString::number(names));
    kit.set(Settings::kRegistersOffset, QString::number(registers));
    kit.entries[2].name = QStringLiteral("Five5");
    kit.entries[3].name = QStringLiteral("Twenty characters!!!");
    kit.entries[4].name = QStringLiteral(" x ");

    QString error;
    const QByteArray image = build(kit, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(image.size(), kImageSize);
    const QByteArray wanted = kit.expected(names, registers);
    QVERIFY2(image == wanted, firstDifference(image, wanted).constData());
    QCOMPARE(readFile(kit.path(QStringLiteral("bank1.rom"))),
             patternBytes(FlashKit::kBank1, bank1));
}

// What the layout promises, checked without the model above.
void TestFlashImage::landmarks()
{
    FlashKit kit;
    kit.set(Settings::kNamesOffset, QStringLiteral("1000"));
    kit.set(Settings::kRegistersOffset, QStringLiteral("1100"));
    kit.entries[0].name = QStringLiteral("Five5");
    writeFile(kit.path(QStringLiteral("bank32.rom")), patternBytes(FlashKit::kBank32, 16000));
    QString error;
    const QByteArray image = build(kit, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    const QByteArray bank1 = patternBytes(FlashKit::kBank1, kBankSize);
    for (int i = 0; i < kEntryCount; ++i) {
        const QByteArray snap = readFile(kit.entries[i].path);
        QCOMPARE(image[areaOffset(i)], snap[27]);
        QCOMPARE(image[areaOffset(i) + kAreaSize - 1], snap[49178]);
        const QByteArray record = image.mid(1100 + 32 * i, 32);
        QCOMPARE(record, snap.left(32));
        QCOMPARE(record.right(5), image.mid(areaOffset(i), 5));
    }
    QCOMPARE(image.mid(1000, 20), QByteArray("Five5               "));
    QCOMPARE(image.mid(1020, 3), bank1.mid(1020, 3)); // slot bytes 20..22 untouched
    QCOMPARE(image.mid(1023, 20), QByteArray("Snapshot 1          "));
    // Slot 4 (1092..1111) lies under record 0, which is written last.
    QCOMPARE(image.mid(1092, 8), QByteArray("Snapshot"));
    QCOMPARE(image.mid(1100, 12), readFile(kit.entries[0].path).left(12));
    QCOMPARE(image.mid(kBank32Offset + 16000), QByteArray(384, ' '));
}

void TestFlashImage::namesInCp1252()
{
    QCOMPARE(toCp1252(QStringLiteral("Abc ~")), QByteArray("Abc ~"));
    QByteArray latin1;
    QString latin1Text;
    for (int c = 0xA0; c <= 0xFF; ++c) {
        latin1.append(static_cast<char>(c));
        latin1Text.append(QChar(c));
    }
    QCOMPARE(toCp1252(latin1Text), latin1);
    const QString specials = QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    QCOMPARE(toCp1252(specials),
             QByteArray("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"
                        "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"));
    // No byte in the code page: one "?" per character, surrogate pairs included.
    QCOMPARE(toCp1252(QString::fromUtf8("Ωx→\u0081😀y")), QByteArray("?x???y"));
    QCOMPARE(toCp1252(QString::fromUtf8("Cafe\u0301")), QByteArray("Caf\xE9"));
    QCOMPARE(toCp1252(QString(QChar(0xD800))), QByteArray("?"));

    FlashKit kit;
    kit.entries[0].name = QString::fromUtf8("Ωmega → €5 é😀");
    QString error;
    const QByteArray image = build(kit, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(image.mid(8192, 23), QByteArray("?mega ? \x80"
                                             "5 \xE9?       ")
                                      + patternBytes(FlashKit::kBank1, 8215).right(3));
}

void TestFlashImage::rejectsBadSources_data()
{
    // `file` is written with `bytes`; "-" removes it, "/" makes a folder, "|" a pipe.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("key"); // or a setting set to `value`
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("culprit");
    const QString none;
    QTest::newRow("bank 1 missing")
        << "bank1.rom" << QByteArray("-") << none << none << "bank1.rom";
    QTest::newRow("bank 32 a folder")
        << "bank32.rom" << QByteArray("/") << none << none << "folder";
    QTest::newRow("bank 1 empty") << "bank1.rom" << QByteArray() << none << none << "empty";
    QTest::newRow("snapshot missing")
        << "snap4.sna" << QByteArray("-") << none << none << "snap4.sna";
#ifdef Q_OS_UNIX
    QTest::newRow("snapshot a pipe") << "snap5.sna" << QByteArray("|") << none << none << "pipe";
#endif
    QTest::newRow("snapshot short")
        << "snap9.sna" << QByteArray(49178, 'x') << none << none << "49178 bytes";
    QTest::newRow("snapshot long")
        << "snap0.sna" << QByteArray(49180, 'x') << none << none << "49180 bytes";
    QTest::newRow("names missing") << none << QByteArray() << "DireccionNombres"
                                   << ""
                                   << "DireccionNombres";
    QTest::newRow("names not a number") << none << QByteArray() << "DireccionNombres"
                                        << "8k"
                                        << "\"8k\"";
    QTest::newRow("names negative") << none << QByteArray() << "DireccionNombres"
                                    << "-1"
                                    << "0 to 32559";
    QTest::newRow("names too far") << none << QByteArray() << "DireccionNombres"
                                   << "32560"
                                   << "0 to 32559";
    QTest::newRow("registers too far") << none << QByteArray() << "DireccionRegistros"
                                       << "32767"
                                       << "0 to 32766";
    QTest::newRow("registers fraction") << none << QByteArray() << "DireccionRegistros"
                                        << "8448.0"
                                        << "DireccionRegistros";
}

void TestFlashImage::rejectsBadSources()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, culprit);
    FlashKit kit;
    if (!file.isEmpty()) {
        QFile::remove(kit.path(file));
        if (bytes == "/")
            QVERIFY(QDir(kit.path(QString())).mkdir(file));
#ifdef Q_OS_UNIX
        else if (bytes == "|")
            QCOMPARE(::mkfifo(QFile::encodeName(kit.path(file)).constData(), 0600), 0);
#endif
        else if (bytes != "-")
            QVERIFY(writeFile(kit.path(file), bytes));
    }
    if (!key.isEmpty())
        kit.set(key, value);
    QString error;
    QVERIFY(!prepare(kit, error));
    QVERIFY2(error.contains(culprit), qPrintable(error));
    if (bytes == "-")
        QVERIFY2(!QFile::exists(kit.path(file)), "reading a source created it");
}

void TestFlashImage::rejectsBadNames()
{
    FlashKit kit;
    kit.entries[1].name.clear();
    kit.entries[2].name = QStringLiteral("A name of %3 letters!"); // "%3" shown as typed
    QString error;
    QVERIFY(!prepare(kit, error));
    QVERIFY2(error.contains(QStringLiteral("Entry 2")), qPrintable(error));
    kit.entries[1].name = QStringLiteral("B");
    QVERIFY(!prepare(kit, error));
    QVERIFY2(error.contains(QStringLiteral("\"A name of %3 letters!\" has 21 characters")),
             qPrintable(error));
    kit.entries[2].name = QString::fromUtf8("Twenty with emoji 😀😀"); // 22 UTF-16 units
    QVERIFY2(prepare(kit, error), qPrintable(error));

    // Control characters would land raw in the menu table.
    for (const char16_t control : {u'\n', u'\t', u'\x1b', u'\r', u'\x7f', u'\x85'}) {
        kit.entries[5].name = QStringLiteral("bad") + QChar(control) + QStringLiteral("name");
        QVERIFY(!prepare(kit, error));
        QVERIFY2(error.contains(QStringLiteral("Entry 6"))
                     && error.contains(QStringLiteral("control")),
                 qPrintable(error));
        QVERIFY2(!error.contains(QChar(control)), "the message shows the raw control character");
    }
}

void TestFlashImage::sourceChangedAfterCheck()
{
    FlashKit kit;
    const QString target = kit.path(QStringLiteral("flash/tessel.rom"));
    QString error;
    std::optional<FlashJob> job = prepareBuild(kit.kit(), kit.entries, {target, {}}, &error);
    QVERIFY2(job, qPrintable(error));

    QFile::remove(kit.entries[7].path);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY(!writeFlashImage(job->sources, out, &error));
    QVERIFY2(error.contains(QStringLiteral("snap7.sna")), qPrintable(error));

    writeFile(kit.entries[7].path, QByteArray(100, 'x'));
    QVERIFY(!writeFlashImage(job->sources, out, &error));
    QVERIFY2(error.contains(QStringLiteral("100 bytes")), qPrintable(error));

    // A failed build leaves a file already under the name as it was.
    writeFile(target, "old image");
    QVERIFY(!writeBuild(*job, &error));
    QCOMPARE(readFile(target), QByteArray("old image"));
    QCOMPARE(QDir(kit.path(QStringLiteral("flash"))).entryList(QDir::Files),
             {QStringLiteral("tessel.rom")});
}

void TestFlashImage::writeFailures()
{
    FlashKit kit;
    QString error;
    const std::optional<FlashJob> job = prepare(kit, error);
    QVERIFY2(job, qPrintable(error));
    for (const qint64 room : {0LL, kBankSize + 100, kImageSize, kImageSize + 25}) {
        FailDevice out(room);
        error.clear();
        QVERIFY2(!writeFlashImage(job->sources, out, &error), qPrintable(QString::number(room)));
        QVERIFY2(error.contains(QStringLiteral("device full")), qPrintable(error));
    }
}

// A "%1" or "%2" in a folder's name is text, never a slot filled in later.
void TestFlashImage::bankMessagesShowThePathAsItIs()
{
    FlashKit kit;
    const QString folder = kit.path(QStringLiteral("100%2 %1 done"));
    QVERIFY(QDir().mkpath(folder));
    const QString bank = folder + QStringLiteral("/bank1.rom");
    const QString shown = QDir::toNativeSeparators(bank);
    QVERIFY(writeFile(bank, QByteArray(100, 'a')));
    QStringList warnings;
    QString error;
    QVERIFY2(checkBankFile(bank, warnings, &error), qPrintable(error));
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains(shown) && warnings[0].contains("is 100 bytes long, not 16384"),
             qPrintable(warnings[0]));
    QVERIFY(writeFile(bank, {}));
    QVERIFY(!checkBankFile(bank, warnings, &error));
    QVERIFY2(error.contains(shown + "\" is empty."), qPrintable(error));
}

void TestFlashImage::pokesChangeOnlyTheirBytes()
{
    FlashKit kit;
    QString error;
    const QByteArray plain = build(kit, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // Entry 0's first five bytes are in its register record too (at 8448).
    kit.entries[0].trainers = {{"start", {{0x4000, 0xAA}, {0x4004, 0xAB}}}};
    kit.entries[9].trainers = {{"end", {{0xFFFF, 0x55}}}, {"middle", {{0x8000, 0x66}}}};
    const QByteArray poked = build(kit, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QMap<qint64, int> wanted{{8448 + 27, 0xAA},
                                   {8448 + 31, 0xAB},
                                   {areaOffset(0), 0xAA},
                                   {areaOffset(0) + 4, 0xAB},
                                   {areaOffset(9) + 0x4000, 0x66},
                                   {areaOffset(9) + 0xBFFF, 0x55}};
    QMap<qint64, int> differing;
    for (qint64 i = 0; i < kImageSize; ++i) {
        if (plain[i] != poked[i])
            differing.insert(i, quint8(poked[i]));
    }
    QCOMPARE(differing, wanted);
    QCOMPARE(readFile(kit.entries[0].path), patternBytes(0, kSnaFileSize));

    kit.entries[4].trainers = {{"rom", {{0x3FFF, 1}}}};
    QVERIFY(!prepare(kit, error));
    QVERIFY2(error.contains("Entry 5") && error.contains("ROM"), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestFlashImage)
#include "tst_flash_image.moc"
