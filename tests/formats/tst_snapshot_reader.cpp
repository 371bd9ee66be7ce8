// SPDX-License-Identifier: GPL-3.0-or-later
// Snapshots of every format into the 48K .sna form, checked against
// libspectrum's own writers, and the refusals.
#include "formats/SnapshotReader.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <libspectrum.h>

#include <sys/stat.h>

#include <atomic>
#include <cstring>
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
    QByteArray bytes =
        ok ? QByteArray(reinterpret_cast<char*>(buffer), qsizetype(length)) : QByteArray();
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

QByteArray words(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes.append(char(value & 0xff)).append(char(value >> 8 & 0xff));
    return bytes;
}

// The .sp form of a 48K .sna: PC taken off its stack, RAM as it is.
QByteArray spOf(const QByteArray& sna)
{
    const int start = 0x4000;
    const int length = 0xc000;
    const int sp = word(sna, 23);
    const int im = sna[25];
    const int iff = sna[19] & 0x04 ? 0x05 : 0;
    QByteArray sp38 = "SP"
                      + words({length, start, word(sna, 13), word(sna, 11), word(sna, 9),
                               word(sna, 21), word(sna, 17), word(sna, 15), word(sna, 5),
                               word(sna, 3), word(sna, 1), word(sna, 7)});
    sp38 += sna.mid(20, 1) + sna.mid(0, 1);
    sp38 += words({sp + 2, word(sna, kSnaHeaderSize + sp - 0x4000), 0});
    sp38 += sna.mid(26, 1) + '\0' + words({iff | (im == 2 ? 2 : 0) | (im == 0 ? 8 : 0)});
    return sp38 + sna.mid(kSnaHeaderSize + start - 0x4000, length);
}

// The fixture as a version 3 .z80 whose first memory block is replaced.
QByteArray z80WithFirstBlock(int length, const QByteArray& data)
{
    Snap snap = fixture();
    const QByteArray z80 = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_Z80);
    const int at = 32 + word(z80, 30);
    const int stored = word(z80, at) == 0xffff ? 0x4000 : word(z80, at);
    return z80.first(at) + words({length}) + z80.mid(at + 2, 1) + data
           + z80.sliced(at + 3 + stored);
}

// The fixture as a .szx whose first RAMP block declares `size` and holds `data`.
QByteArray szxWithPage(quint32 size, const QByteArray& data)
{
    Snap snap = fixture();
    const QByteArray szx = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SZX);
    qsizetype at = 8;
    while (szx.mid(at, 4) != "RAMP")
        at += 8 + word(szx, at + 4) + (qsizetype(word(szx, at + 6)) << 16);
    const qsizetype end = at + 8 + word(szx, at + 4) + (qsizetype(word(szx, at + 6)) << 16);
    return szx.first(at) + "RAMP" + words({int(size & 0xffff), int(size >> 16)}) + words({1})
           + '\x05' + data + szx.sliced(end);
}

} // namespace

class TestSnapshotReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(libspectrum_init(), LIBSPECTRUM_ERROR_NONE); }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("sna");
        QTest::addColumn<QString>("as");
        QTest::addColumn<int>("flags");
        const QStringList files = QDir(kSnaDir).entryList({QStringLiteral("*.sna")});
        QVERIFY(files.size() >= 10);
        for (const QString& file : files) {
            for (const QString& as : {u"game.z80"_qs, u"game.szx"_qs}) {
                QTest::addRow("%s as %s", qPrintable(file), qPrintable(as)) << file << as << 0;
                QTest::addRow("%s as plain %s", qPrintable(file), qPrintable(as))
                    << file << as << LIBSPECTRUM_FLAG_SNAPSHOT_NO_COMPRESSION;
            }
        }
    }

    // The original bytes, but for what libspectrum's .sna writer changes
    // itself: it keeps only bit 2 of the IFF byte.
    void roundTrips()
    {
        QFETCH(QString, sna);
        QFETCH(QString, as);
        QFETCH(int, flags);
        const QByteArray original = readFile(kSnaDir + u'/' + sna);
        Snap snap = fixture(sna);
        const QByteArray expected = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SNA);
        QCOMPARE(expected.sliced(20), original.sliced(20));
        QCOMPARE(expected.first(19), original.first(19));

        const auto type =
            as.endsWith(u"z80") ? LIBSPECTRUM_ID_SNAPSHOT_Z80 : LIBSPECTRUM_ID_SNAPSHOT_SZX;
        QString error;
        const auto read = readSnapshotData(writeWithLibrary(snap.get(), type, flags), as, &error);
        QVERIFY2(read, qPrintable(error));
        QCOMPARE(read->sna, expected);
        QVERIFY(read->warnings.isEmpty());
    }

    // Every .z80 names a cursor joystick, which reads the keyboard: no warning.
    void realZ80FilesAccepted()
    {
        for (const char* name : {"/gsphello.z80", "/ld48bin.z80"}) {
            QString error;
            const auto read = readSnapshot(kOtherDir + name, &error);
            QVERIFY2(read, qPrintable(error));
            Snap snap = readWithLibrary(readFile(kOtherDir + name), LIBSPECTRUM_ID_SNAPSHOT_Z80);
            QCOMPARE(read->sna, writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SNA));
            const bool ay = libspectrum_snap_melodik_active(snap.get()); // ld48bin's header says so
            QCOMPARE(read->warnings.size(), ay ? 1 : 0);
        }
    }

    void stackPointer_data()
    {
        QTest::addColumn<int>("sp");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("0x4000: PC would land in ROM") << 0x4000 << false;
        QTest::newRow("0x4001: half in ROM") << 0x4001 << false;
        QTest::newRow("0x0001: half at 0xffff, half in ROM") << 0x0001 << false;
        QTest::newRow("0x4002: lowest that fits") << 0x4002 << true;
        QTest::newRow("0x0000: wraps to 0xfffe") << 0x0000 << true;
        QTest::newRow("0xffff: top byte of RAM") << 0xffff << true;
    }

    void stackPointer()
    {
        QFETCH(int, sp);
        QFETCH(bool, accepted);
        Snap snap = fixture();
        libspectrum_snap_set_sp(snap.get(), libspectrum_word(sp));
        libspectrum_snap_set_pc(snap.get(), 0x8123);
        SnapshotFault fault = SnapshotFault::None;
        QString error;
        const QByteArray z80 = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_Z80);
        const auto read = readSnapshotData(z80, u"game.z80"_qs, &fault, &error);
        QCOMPARE(bool(read), accepted);
        if (!accepted) {
            QCOMPARE(fault, SnapshotFault::Stack);
            return;
        }
        const int stacked = (sp - 2) & 0xffff;
        QCOMPARE(word(read->sna, 23), stacked);
        QCOMPARE(word(read->sna, kSnaHeaderSize + stacked - 0x4000), 0x8123);
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<SnapshotFault>("fault");
        QTest::addColumn<QString>("says");
        const QByteArray z80 = readFile(kOtherDir + "/gsphello.z80");
        QTest::newRow("128K .sna") << readFile(kOtherDir + "/tape128k.sna") << u"t.sna"_qs
                                   << SnapshotFault::Machine << u"is a 128K snapshot"_qs;
        Snap snap = fixture();
        libspectrum_snap_set_machine(snap.get(), LIBSPECTRUM_MACHINE_TC2048);
        QTest::newRow("Timex .z80") << writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_Z80)
                                    << u"t.z80"_qs << SnapshotFault::Machine << u"TC2048"_qs;
        QTest::newRow("truncated .z80")
            << z80.first(100) << u"game.z80"_qs << SnapshotFault::Unreadable << u"cut short"_qs;
        // libspectrum takes each of these blocks, and a page of zeros or of the next block.
        QTest::newRow(".z80 block of ED ED")
            << z80WithFirstBlock(2, "\xED\xED") << u"game.z80"_qs << SnapshotFault::Unreadable
            << u"memory block 1 is cut short"_qs;
        QTest::newRow(".z80 empty block") << z80WithFirstBlock(0, {}) << u"game.z80"_qs
                                          << SnapshotFault::Unreadable << u"block 1 is empty"_qs;
        QByteArray repeats;
        for (int i = 0; i < 200; ++i)
            repeats += "\xED\xED\xFF\x00"; // 51,000 bytes
        QTest::newRow(".z80 block of 51,000 bytes")
            << z80WithFirstBlock(int(repeats.size()), repeats) << u"game.z80"_qs
            << SnapshotFault::Unreadable << u"more than 16384"_qs;
        QTest::newRow(".sna named .z80") << readFile(kSnaDir + "/gsphello.sna") << u"game.z80"_qs
                                         << SnapshotFault::Unreadable << u"looks like a .sna"_qs;
        const QByteArray sp = spOf(readFile(kSnaDir + "/gsphello.sna"));
        QTest::newRow(".sp cut") << sp.first(30000) << u"game.sp"_qs << SnapshotFault::Unreadable
                                 << u"promises 49152 bytes"_qs;
        QTest::newRow(".sp below RAM")
            << QByteArray(sp).replace(4, 2, words({0x3fff})) << u"game.sp"_qs
            << SnapshotFault::Unreadable << u"outside the RAM"_qs;
        QTest::newRow(".sp past the top")
            << QByteArray(sp).replace(4, 2, words({0x4001})) << u"game.sp"_qs
            << SnapshotFault::Unreadable << u"outside the RAM"_qs;
        QTest::newRow(".szx block past the end")
            << szxWithPage(0x10000, QByteArray(100, 'x')) << u"game.szx"_qs
            << SnapshotFault::Unreadable << u"runs past the end"_qs;
        // libspectrum would inflate it whole before looking at its size.
        QTest::newRow(".szx page too large")
            << szxWithPage(70003, QByteArray(70000, 'x')) << u"game.szx"_qs
            << SnapshotFault::Unreadable << u"more than such a block ever holds"_qs;
        // libspectrum reads such a header past its end and calls it a success.
        QTest::newRow("cut in the header")
            << z80.first(60) << u"game.z80"_qs << SnapshotFault::Unreadable << u"damaged"_qs;
        QTest::newRow("odd-sized .sna") << QByteArray(1000, 'x') << u"game.sna"_qs
                                        << SnapshotFault::Unreadable << u"1000 bytes long"_qs;
        QTest::newRow("bzip2 named .z80")
            << QByteArray("BZh91AY&SY").append(200, 'x') << u"game.z80"_qs
            << SnapshotFault::Unreadable << u"compressed"_qs;
        QTest::newRow("tape") << QByteArray::fromHex("13000003") << u"game.tap"_qs
                              << SnapshotFault::Unreadable << u"tape image"_qs;
    }

    void refusals()
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
    void rawSnaTakenAsItIs()
    {
        QByteArray odd(kSnaFileSize, '\xed');
        odd.replace(0, 4, "ZXST");
        QString error;
        for (const auto& name : {u"game.sna"_qs, u"GAME.SNA.bak"_qs})
            QCOMPARE(readSnapshotData(odd, name, &error).value_or(SnapshotRead()).sna, odd);
        QVERIFY(!readSnapshotData(odd, u"game.bin"_qs, &error)); // its signature says .szx
        const QByteArray real = readFile(kSnaDir + "/rzxsound48.sna"); // IFF byte 0xff kept
        QCOMPARE(readSnapshotData(real, u"game.bin"_qs, &error).value_or(SnapshotRead()).sna, real);
    }

    // Read here, never by libspectrum 1.5, which writes a 48K .sp 16 KiB past
    // its buffer.
    void spSnapshots()
    {
        for (const QString& file : QDir(kSnaDir).entryList({QStringLiteral("*.sna")})) {
            const QByteArray sna =
                writeWithLibrary(fixture(file).get(), LIBSPECTRUM_ID_SNAPSHOT_SNA);
            QString error;
            const auto read = readSnapshotData(spOf(sna), u"game.sp"_qs, &error);
            QVERIFY2(read, qPrintable(file + error));
            QCOMPARE(read->sna, sna);
        }
    }

    // No RAM above 0x8000 on a 16K Spectrum.
    void sixteenK()
    {
        Snap snap = fixture(QStringLiteral("zxlagtest.sna")); // SP 0x4002
        libspectrum_snap_set_machine(snap.get(), LIBSPECTRUM_MACHINE_16);
        const QByteArray szx = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SZX);
        const QByteArray sna =
            readSnapshotData(szx, u"small.szx"_qs, nullptr).value_or(SnapshotRead()).sna;
        const QByteArray whole = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SNA);
        QCOMPARE(sna.first(kSnaHeaderSize + 0x4000), whole.first(kSnaHeaderSize + 0x4000));
        QCOMPARE(sna.sliced(kSnaHeaderSize + 0x4000), QByteArray(0x8000, '\xff'));
    }

    // A 128K still shows its screen: the page on display, 5 or 7 by its last
    // write to port 0x7ffd. A 48K snapshot shows the one the cartridge gets.
    void screensOfEveryMachine_data()
    {
        QTest::addColumn<int>("port"); // -1: a 48K snapshot
        QTest::newRow("48K .sna") << -1;
        QTest::newRow("128K, normal screen") << 0x10;
        QTest::newRow("128K, shadow screen") << 0x18;
    }

    void screensOfEveryMachine()
    {
        QFETCH(int, port);
        QTemporaryDir dir;
        QString path = kSnaDir + "/zasmops.sna";
        if (port >= 0) {
            Snap snap =
                readWithLibrary(readFile(kOtherDir + "/tape128k.sna"), LIBSPECTRUM_ID_SNAPSHOT_SNA);
            for (const int page : {5, 7}) {
                QVERIFY(libspectrum_snap_pages(snap.get(), page));
                std::memset(libspectrum_snap_pages(snap.get(), page), page, 0x4000);
            }
            libspectrum_snap_set_out_128_memoryport(snap.get(), port);
            path = dir.filePath("game.z80");
            QVERIFY(writeFile(path, writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_Z80)));
        }
        QString error;
        const std::optional<SnapshotScreen> screen = readSnapshotScreen(path, &error);
        QVERIFY2(screen, qPrintable(error));
        QCOMPARE(screen->otherMachine, port >= 0);
        QCOMPARE(screen->memory, port < 0 ? readFile(path).sliced(27, 6912)
                                          : QByteArray(6912, char(port & 0x08 ? 7 : 5)));
        QCOMPARE(screen->machine.endsWith("128K"), port >= 0); // what the file says it is
        QVERIFY(!readSnapshotScreen(kOtherDir + "/SOURCES.md", &error));
        QVERIFY2(error.contains("SOURCES.md"), qPrintable(error));
    }

    // Asked about is only what a program will likely not run without; the
    // rest is noted. The note says the same without the file, for a hint line.
    void hardwareWarnings()
    {
        Snap snap = fixture();
        libspectrum_snap_set_interface1_active(snap.get(), 1);
        libspectrum_snap_set_joystick_active_count(snap.get(), 2);
        libspectrum_snap_set_joystick_list(snap.get(), 0, LIBSPECTRUM_JOYSTICK_KEMPSTON);
        libspectrum_snap_set_joystick_list(snap.get(), 1, LIBSPECTRUM_JOYSTICK_SINCLAIR_1);
        libspectrum_snap_set_zx_printer_active(snap.get(), 1);
        libspectrum_snap_set_melodik_active(snap.get(), 1);
        libspectrum_snap_set_beta_active(snap.get(), 1); // how it was loaded, not in use
        libspectrum_snap_set_multiface_active(snap.get(), 1);
        libspectrum_snap_set_multiface_paged(snap.get(), 1);
        libspectrum_snap_set_multiface_ram(snap.get(), 0, libspectrum_new0(libspectrum_byte, 8192));
        libspectrum_snap_set_multiface_ram_length(snap.get(), 0, 8192);
        const QByteArray szx = writeWithLibrary(snap.get(), LIBSPECTRUM_ID_SNAPSHOT_SZX);
        QString error;
        const auto read = readSnapshotData(szx, u"io.szx"_qs, &error);
        QVERIFY2(read && read->sna.size() == kSnaFileSize, qPrintable(error));
        const QStringList says{"Interface 1", "ROM of the Multiface", "Beta 128",
                               "AY",          "ZX Printer",           "Kempston"};
        const QList<HardwareWarning::Kind> kinds{
            HardwareWarning::Needed,     HardwareWarning::Needed,     HardwareWarning::Noted,
            HardwareWarning::OutputOnly, HardwareWarning::OutputOnly, HardwareWarning::Joystick};
        QCOMPARE(read->warnings.size(), says.size());
        for (qsizetype i = 0; i < says.size(); ++i) {
            const HardwareWarning& warning = read->warnings.at(i);
            QCOMPARE(warning.kind, kinds[i]);
            QVERIFY2(warning.text.contains(says[i]) && warning.text.contains(u"\"io.szx\""_qs),
                     qPrintable(warning.text));
            QVERIFY2(warning.note.contains(says[i]) && !warning.note.contains(u"io.szx"_qs),
                     qPrintable(warning.note));
        }
    }

    void onlyRegularFiles()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(u"pipe.z80"_qs); // nobody writes: a read blocks
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString big = dir.filePath(u"big.szx"_qs);
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(kMaxSnapshotFileSize + 1));
        file.close();
        // What stands there is said, in the sentence that names it.
        const QList<std::pair<QString, QString>> refused{
            {fifo, u"is a named pipe (FIFO), not a file."_qs},
            {dir.path(), u"is a folder, not a file."_qs},
            {dir.filePath(u"none.z80"_qs), u"cannot be read (No such file"_qs},
            {big, u"bytes long"_qs}};
        for (const auto& [path, says] : refused) {
            SnapshotFault fault = SnapshotFault::None;
            QString error;
            QVERIFY(!readSnapshot(path, &fault, &error));
            QCOMPARE(fault, SnapshotFault::File);
            QVERIFY2(error.contains(QDir::toNativeSeparators(path)) && error.contains(says),
                     qPrintable(error));
        }
        const QString link = dir.filePath(u"link.z80"_qs);
        QVERIFY(QFile::link(kOtherDir + "/gsphello.z80", link));
        QVERIFY(readSnapshot(link, nullptr));
    }

    // A refusal or a failed write leaves what was there.
    void convertWritesWholeOrNothing()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(u"out.sna"_qs);
        const QString z80 = kOtherDir + "/ld48bin.z80";
        QString error;
        QVERIFY2(convertToSna(z80, out, nullptr, &error), qPrintable(error));
        const QByteArray converted = readFile(out);
        QCOMPARE(converted, readSnapshot(z80, &error)->sna);
        QVERIFY(!convertToSna(kOtherDir + "/tape128k.sna", out, nullptr, &error));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.sna"_qs));
        QVERIFY(!convertToSna(z80, dir.filePath(u"folder.sna"_qs), nullptr, &error));
        QVERIFY2(error.contains(u"folder.sna"_qs), qPrintable(error));
        QCOMPARE(readFile(out), converted);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"out.sna"_qs});
    }

    // Each call gets its own result and its own libspectrum messages.
    void concurrentReads()
    {
        const QByteArray good = readFile(kOtherDir + "/gsphello.z80");
        const QByteArray expected = readSnapshotData(good, u"a.z80"_qs, nullptr)->sna;
        const QByteArray bad(1000, 'x'); // libspectrum's own message says why
        std::atomic<int> wrong = 0;
        std::vector<std::thread> threads;
        threads.reserve(4);
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < 50; ++i) {
                    QString error;
                    if ((i + t) % 2 == 0) {
                        const auto read = readSnapshotData(good, u"a.z80"_qs, &error);
                        wrong += !read || read->sna != expected || !error.isEmpty();
                    } else {
                        wrong += bool(readSnapshotData(bad, u"b.sna"_qs, &error))
                                 || !error.contains(u"\"b.sna\" is 1000 bytes long"_qs)
                                 || error.count(u"libspectrum"_qs) != 1;
                    }
                }
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        QCOMPARE(wrong.load(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSnapshotReader)
#include "tst_snapshot_reader.moc"
