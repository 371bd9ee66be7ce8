// Snapshots of every format into the 48K .sna form, checked against
// libspectrum's own writers, and the refusals.
#include "snapshots/SnapshotReader.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <libspectrum.h>

#include <sys/stat.h>

#include <atomic>
#include <memory>
#include <thread>

using namespace tessel;
using namespace tessel::test;

namespace {

struct SnapDeleter
{
    void operator()(libspectrum_snap* snap) const { libspectrum_snap_free(snap); }
};
using Snap = std::unique_ptr<libspectrum_snap, SnapDeleter>;

const QString kSnaDir = QStringLiteral(TESSEL_TEST_DATA "/sna");
const QString kOtherDir = QStringLiteral(TESSEL_TEST_DATA "/other");

Snap readWithLibrary(const QByteArray& bytes, libspectrum_id_t type)
{
    Snap snap(libspectrum_snap_alloc());
    const auto* data = reinterpret_cast<const libspectrum_byte*>(bytes.constData());
    if (libspectrum_snap_read(snap.get(), data, bytes.size(), type, nullptr))
        return nullptr;
    return snap;
}

// Empty when libspectrum refuses to write it.
QByteArray writeWithLibrary(libspectrum_snap* snap, libspectrum_id_t type, int flags = 0)
{
    libspectrum_byte* buffer = nullptr;
    size_t length = 0;
    int lost = 0;
    const bool ok = libspectrum_snap_write(&buffer, &length, &lost, snap, type, nullptr, flags)
                    == LIBSPECTRUM_ERROR_NONE;
    QByteArray bytes = ok ? QByteArray(reinterpret_cast<char*>(buffer), length) : QByteArray();
    libspectrum_free(buffer);
    return bytes;
}

Snap fixture(const QString& name = QStringLiteral("gsphello.sna"))
{
    return readWithLibrary(readFile(kSnaDir + u'/' + name), LIBSPECTRUM_ID_SNAPSHOT_SNA);
}

int word(const QByteArray& bytes, qsizetype at)
{
    return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8;
}

} // namespace

class TestSnapshotReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(libspectrum_init(), LIBSPECTRUM_ERROR_NONE); }
    void roundTrips_data();
    void roundTrips();
    void realZ80FilesAccepted();
    void stackPointer_data();
    void stackPointer();
    void refusals_data();
    void refusals();
    void rawSnaTakenAsItIs();
    void sixteenK();
    void hardwareWarnings();
    void onlyRegularFiles();
    void convertWritesWholeOrNothing();
    void concurrentReads();
    void namePatternsAreSnapshots();
};

void TestSnapshotReader::roundTrips_data()
{
    QTest::addColumn<QString>("sna");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("flags");
    const QStringList files = QDir(kSnaDir).entryList({QStringLiteral("*.sna")});
    QVERIFY(files.size() >= 10);
    for (const QString& file : files) {
        for (int flags : {0, LIBSPECTRUM_FLAG_SNAPSHOT_NO_COMPRESSION}) {
            const char* packing = flags ? "plain" : "packed";
            QTest::addRow("%s z80 %s", qPrintable(file), packing)
                << file << int(LIBSPECTRUM_ID_SNAPSHOT_Z80) << flags;
            QTest::addRow("%s szx %s", qPrintable(file), packing)
                << file << int(LIBSPECTRUM_ID_SNAPSHOT_SZX) << flags;
        }
    }
}

// The original bytes, but for what libspectrum's .sna writer changes itself:
// it keeps only bit 2 of the IFF byte.
void TestSnapshotReader::roundTrips()
{
    QFETCH(QString, sna);
    QFETCH(int, type);
    QFETCH(int, flags);
    const QByteArray original = readFile(kSnaDir + u'/' + sna);
    Snap snap = fixture(sna);
    QVERIFY(snap);
    const QByteArray expected = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SNA);
    QCOMPARE(expected.sliced(20), original.sliced(20));
    QCOMPARE(expected.first(19), original.first(19));

    const QByteArray other = writeWithLibrary(snap.get(), libspectrum_id_t(type), flags);
    const QString name = type == LIBSPECTRUM_ID_SNAPSHOT_Z80 ? u"game.z80"_qs : u"game.szx"_qs;
    QString error;
    const auto read = readSnapshotData(other, name, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->sna, expected);
    QCOMPARE(read->warnings, QStringList());
}

void TestSnapshotReader::realZ80FilesAccepted()
{
    // Every .z80 names a cursor joystick, which reads the keyboard: no warning.
    for (const char* name : {"gsphello.z80", "ld48bin.z80"}) {
        const QString path = kOtherDir + u'/' + QLatin1String(name);
        QString error;
        const auto read = readSnapshot(path, &error);
        QVERIFY2(read, qPrintable(error));
        Snap snap = readWithLibrary(readFile(path), LIBSPECTRUM_ID_SNAPSHOT_Z80);
        QCOMPARE(read->sna, writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SNA));
        const bool ay = libspectrum_snap_melodik_active(snap.get()); // ld48bin's header says so
        QCOMPARE(read->warnings.size(), ay ? 1 : 0);
    }
}

void TestSnapshotReader::stackPointer_data()
{
    QTest::addColumn<int>("sp");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0x4000: PC would land in ROM") << 0x4000 << false;
    QTest::newRow("0x4001: half in ROM") << 0x4001 << false;
    QTest::newRow("0x0001: half at 0xffff, half in ROM") << 0x0001 << false;
    QTest::newRow("0x3fff: in ROM") << 0x3fff << false;
    QTest::newRow("0x4002: lowest that fits") << 0x4002 << true;
    QTest::newRow("0x0000: wraps to 0xfffe") << 0x0000 << true;
    QTest::newRow("0xffff: top byte of RAM") << 0xffff << true;
}

void TestSnapshotReader::stackPointer()
{
    QFETCH(int, sp);
    QFETCH(bool, accepted);
    Snap snap = fixture();
    libspectrum_snap_set_sp(snap.get(), libspectrum_word(sp));
    libspectrum_snap_set_pc(snap.get(), 0x8123);
    SnapshotFault fault = SnapshotFault::None;
    QString error;
    const QByteArray z80 = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_Z80);
    const auto read = readSnapshotData(z80, u"/x/game.z80"_qs, &fault, &error);
    QCOMPARE(bool(read), accepted);
    if (!accepted) {
        QCOMPARE(fault, SnapshotFault::Stack);
        QVERIFY2(error.contains(QStringLiteral("0x%1").arg(sp, 4, 16, QLatin1Char('0'))),
                 qPrintable(error));
        return;
    }
    const int stacked = (sp - 2) & 0xffff;
    QCOMPARE(word(read->sna, 23), stacked);
    QCOMPARE(word(read->sna, kSnaHeaderSize + stacked - 0x4000), 0x8123);
}

void TestSnapshotReader::refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<SnapshotFault>("fault");
    QTest::addColumn<QString>("says");

    const QByteArray z80 = readFile(kOtherDir + "/gsphello.z80");
    QTest::newRow("128K .sna") << readFile(kOtherDir + "/tape128k.sna") << u"tape128k.sna"_qs
                               << SnapshotFault::Machine << u"is a 128K snapshot"_qs;
    Snap snap = fixture();
    libspectrum_snap_set_machine(snap.get(), LIBSPECTRUM_MACHINE_TC2048);
    QTest::newRow("Timex .z80") << writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_Z80)
                                << u"t.z80"_qs << SnapshotFault::Machine << u"TC2048"_qs;
    QTest::newRow("truncated .z80")
        << z80.first(100) << u"game.z80"_qs << SnapshotFault::Unreadable << u"not enough data"_qs;
    // libspectrum reads such a header past its end and calls it a success.
    QTest::newRow("cut in the header")
        << z80.first(60) << u"game.z80"_qs << SnapshotFault::Unreadable << u"damaged"_qs;
    QTest::newRow("empty .z80") << QByteArray() << u"game.z80"_qs << SnapshotFault::Unreadable
                                << u"damaged"_qs;
    QTest::newRow("odd-sized .sna")
        << QByteArray(1000, 'x') << u"game.sna"_qs << SnapshotFault::Unreadable << u"damaged"_qs;
    QTest::newRow("bzip2 named .z80") << QByteArray("BZh91AY&SY").append(200, 'x') << u"game.z80"_qs
                                      << SnapshotFault::Unreadable << u"compressed"_qs;
    QTest::newRow("tape") << QByteArray::fromHex("13000003") << u"game.tap"_qs
                          << SnapshotFault::Unreadable << u"tape image"_qs;
    QTest::newRow("oversized") << QByteArray(kMaxSnapshotFileSize + 1, '\0') << u"game.szx"_qs
                               << SnapshotFault::File << u"too large"_qs;
}

void TestSnapshotReader::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(SnapshotFault, fault);
    QFETCH(QString, says);
    SnapshotFault got = SnapshotFault::None;
    QString error;
    QVERIFY(!readSnapshotData(bytes, u"/games/"_qs + name, &got, &error));
    QCOMPARE(got, fault);
    QVERIFY2(error.contains(says) && error.contains(u"\"/games/"_qs + name + u'"'),
             qPrintable(error));
}

// Whatever a 49,179-byte .sna holds; another name lets libspectrum decide.
void TestSnapshotReader::rawSnaTakenAsItIs()
{
    QByteArray odd(kSnaSize, '\xed');
    odd.replace(0, 4, "ZXST");
    QString error;
    for (const auto& name : {u"game.sna"_qs, u"GAME.SNA.bak"_qs}) {
        const auto read = readSnapshotData(odd, name, &error);
        QVERIFY2(read && read->sna == odd, qPrintable(name + u": "_qs + error));
    }
    QVERIFY(!readSnapshotData(odd, u"game.bin"_qs, &error)); // its signature says .szx
    const QByteArray real = readFile(kSnaDir + "/rzxsound48.sna"); // IFF byte 0xff kept
    QCOMPARE(readSnapshotData(real, u"game.bin"_qs, &error)->sna, real);
}

void TestSnapshotReader::sixteenK()
{
    Snap snap = fixture(QStringLiteral("zxlagtest.sna")); // SP 0x4002: fits in 16K
    libspectrum_snap_set_machine(snap.get(), LIBSPECTRUM_MACHINE_16);
    const QByteArray szx = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SZX);
    QString error;
    const auto read = readSnapshotData(szx, u"small.szx"_qs, &error);
    QVERIFY2(read, qPrintable(error));
    const QByteArray whole = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SNA);
    QCOMPARE(read->sna.first(kSnaHeaderSize + 0x4000), whole.first(kSnaHeaderSize + 0x4000));
    QCOMPARE(read->sna.sliced(kSnaHeaderSize + 0x4000), QByteArray(0x8000, '\xff'));
}

void TestSnapshotReader::hardwareWarnings()
{
    Snap snap = fixture();
    libspectrum_snap_set_interface1_active(snap.get(), 1);
    libspectrum_snap_set_joystick_active_count(snap.get(), 1);
    libspectrum_snap_set_joystick_list(snap.get(), 0, LIBSPECTRUM_JOYSTICK_KEMPSTON);
    libspectrum_snap_set_zx_printer_active(snap.get(), 1);
    libspectrum_snap_set_multiface_active(snap.get(), 1);
    libspectrum_snap_set_multiface_paged(snap.get(), 1);
    libspectrum_snap_set_multiface_ram(snap.get(), 0, libspectrum_new0(libspectrum_byte, 8192));
    libspectrum_snap_set_multiface_ram_length(snap.get(), 0, 8192);
    const QByteArray szx = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SZX);
    QString error;
    const auto read = readSnapshotData(szx, u"io.szx"_qs, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->sna.size(), kSnaSize);
    const QString all = read->warnings.join(u'\n');
    QCOMPARE(read->warnings.size(), 4);
    for (const char* what : {"Interface 1", "Kempston", "ZX Printer", "ROM of a Multiface"})
        QVERIFY2(all.contains(QLatin1String(what)), qPrintable(all));
}

void TestSnapshotReader::onlyRegularFiles()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"pipe.z80"_qs);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600),
             0); // nobody writes: a read blocks
    const QString big = dir.filePath(u"big.szx"_qs);
    QFile file(big);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(kMaxSnapshotFileSize + 1));
    file.close();
    const QString link = dir.filePath(u"link.z80"_qs);
    QVERIFY(QFile::link(kOtherDir + "/gsphello.z80", link));

    for (const QString& path : {fifo, dir.path(), dir.filePath(u"none.z80"_qs), big}) {
        SnapshotFault fault = SnapshotFault::None;
        QString error;
        QVERIFY(!readSnapshot(path, &fault, &error));
        QCOMPARE(fault, SnapshotFault::File);
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    }
    QString error;
    QVERIFY2(readSnapshot(link, &error), qPrintable(error));
}

void TestSnapshotReader::convertWritesWholeOrNothing()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(u"out.sna"_qs);
    QStringList warnings;
    QString error;
    QVERIFY2(convertToSna(kOtherDir + "/ld48bin.z80", out, &warnings, &error), qPrintable(error));
    QCOMPARE(readFile(out), readSnapshot(kOtherDir + "/ld48bin.z80", &error)->sna);

    // A refusal or a failed write leaves what was there.
    QVERIFY(!convertToSna(kOtherDir + "/tape128k.sna", out, &warnings, &error));
    QVERIFY(QDir(dir.path()).mkdir(u"folder.sna"_qs));
    QVERIFY(!convertToSna(kOtherDir + "/gsphello.z80", dir.filePath(u"folder.sna"_qs), &warnings,
                          &error));
    QVERIFY2(error.contains(u"folder.sna"_qs), qPrintable(error));
    QCOMPARE(readFile(out), readSnapshot(kOtherDir + "/ld48bin.z80", &error)->sna);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"out.sna"_qs});
}

// Each call gets its own result and its own libspectrum messages.
void TestSnapshotReader::concurrentReads()
{
    const QByteArray good = readFile(kOtherDir + "/gsphello.z80");
    const QByteArray expected = readSnapshotData(good, u"a.z80"_qs, nullptr)->sna;
    std::atomic<int> wrong = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                QString error;
                if ((i + t) % 2 == 0) {
                    const auto read = readSnapshotData(good, u"a.z80"_qs, &error);
                    wrong += !read || read->sna != expected || !error.isEmpty();
                } else {
                    wrong += bool(readSnapshotData(good.first(400), u"b.z80"_qs, &error))
                             || !error.contains(u"\"b.z80\" is damaged"_qs)
                             || error.count(u"not enough data"_qs) != 1;
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(wrong.load(), 0);
}

void TestSnapshotReader::namePatternsAreSnapshots()
{
    for (const QString& pattern : snapshotNamePatterns()) {
        const QByteArray name = QString(pattern).remove(u'*').prepend(u"x"_qs).toUtf8();
        libspectrum_id_t type = LIBSPECTRUM_ID_UNKNOWN;
        libspectrum_class_t kind = LIBSPECTRUM_CLASS_UNKNOWN;
        const unsigned char nothing[64] = {};
        QCOMPARE(libspectrum_identify_file_with_class(&type, &kind, name.constData(), nothing,
                                                      sizeof nothing),
                 LIBSPECTRUM_ERROR_NONE);
        QVERIFY2(kind == LIBSPECTRUM_CLASS_SNAPSHOT, name.constData());
    }
}

QTEST_GUILESS_MAIN(TestSnapshotReader)
#include "tst_snapshot_reader.moc"
