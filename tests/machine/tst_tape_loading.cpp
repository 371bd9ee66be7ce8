// SPDX-License-Identifier: GPL-3.0-or-later
// Tapes loaded by the emulated Spectrum: what lands in RAM, the registers
// of the snapshot, the refusals and the tape formats.
#include "core/Cartridge.h"
#include "formats/FormatLibrary.h"
#include "machine/Rom.h"
#include "machine/TapeLoader.h"
#include "support/TapeWriter.h"

#include <QTest>

#include <libspectrum.h>

using namespace tessel;
using namespace tessel::test;
using Result = TapeOutcome::Result;

namespace {

Rom romNamed(const QString& which)
{
    QString error;
    // The fallback path takes any file; its digest tells Sinclair's.
    const std::optional<Rom> rom =
        findRom(nullptr, &error, which == u"sinclair" ? sinclairRom() : kOpenSeRomPath);
    return rom.value_or(Rom());
}

TapeOutcome load(const QByteArray& tape, const QString& name, const Rom& rom,
                 bool accelerated = true)
{
    QString error;
    const std::unique_ptr<TapeImage> image = TapeImage::open(tape, name, &error);
    if (!image) {
        qWarning("%s", qPrintable(error));
        return {};
    }
    return loadTape(*image, rom, nullptr, {accelerated});
}

int word(const QByteArray& sna, int at)
{
    return quint8(sna[at]) | quint8(sna[at + 1]) << 8;
}

QByteArray ram(const QByteArray& sna, int address, qsizetype size)
{
    return sna.mid(kSnaHeaderSize + address - 0x4000, size);
}

// A .csw of the same tape, as libspectrum writes it.
QByteArray asCsw(const QByteArray& tzx)
{
    libspectrum_tape* tape = libspectrum_tape_alloc();
    libspectrum_byte* buffer = nullptr;
    size_t length = 0;
    QByteArray csw;
    if (libspectrum_tape_read(tape, reinterpret_cast<const libspectrum_byte*>(tzx.constData()),
                              size_t(tzx.size()), LIBSPECTRUM_ID_TAPE_TZX, nullptr)
            == LIBSPECTRUM_ERROR_NONE
        && libspectrum_tape_write(&buffer, &length, tape, LIBSPECTRUM_ID_TAPE_CSW)
               == LIBSPECTRUM_ERROR_NONE)
        csw = QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(length));
    libspectrum_free(buffer);
    libspectrum_tape_free(tape);
    return csw;
}

// A .wav of the same tape: 8-bit mono at 44,100 Hz, sampled from its edges.
QByteArray asWav(const QByteArray& tzx)
{
    QString error;
    const std::unique_ptr<TapeImage> tape = TapeImage::open(tzx, u"t.tzx"_qs, &error);
    constexpr double kTstatesPerSample = 3500000.0 / 44100;
    QByteArray samples;
    bool level = false;
    double t = 0;
    TapeEdge edge;
    do {
        tape->nextEdges(&edge, 1);
        const double until = t + edge.tstates;
        while (samples.size() * kTstatesPerSample < until)
            samples.append(level ? '\xc0' : '\x40');
        t = until;
        if (!(edge.flags & kEdgeNoFlip))
            level = !level;
    } while (!(edge.flags & kEdgeTapeEnd));
    QByteArray wav("RIFF....WAVEfmt ");
    const auto put = [&wav](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            wav.append(char(value >> (8 * i)));
    };
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2);
    put(44100, 4);
    put(44100, 4);
    put(1, 2);
    put(8, 2);
    wav += "data";
    put(quint32(samples.size()), 4);
    wav += samples;
    for (int i = 0; i < 4; ++i)
        wav[4 + i] = char((wav.size() - 8) >> (8 * i));
    return wav;
}

} // namespace

class TestTapeLoading : public QObject
{
    Q_OBJECT

private slots:
    void loadsTheGame_data()
    {
        QTest::addColumn<QString>("rom");
        QTest::addColumn<QByteArray>("tape");
        QTest::addColumn<QString>("name");
        for (const QString& rom : {u"opense"_qs, u"sinclair"_qs}) {
            const QByteArray tzx = turboTape().tzx();
            QTest::addRow("%s: ROM loader, .tap", qPrintable(rom))
                << rom << romTape().tap() << u"game.tap"_qs;
            QTest::addRow("%s: turbo loader, .tzx", qPrintable(rom))
                << rom << tzx << u"game.tzx"_qs;
            QTest::addRow("%s: turbo loader, .csw", qPrintable(rom))
                << rom << asCsw(tzx) << u"game.csw"_qs;
        }
        QTest::addRow("opense: ROM loader, .wav")
            << u"opense"_qs << asWav(romTape().tzx()) << u"game.wav"_qs;
    }

    // The bytes the tape carries are in RAM, and the registers are those the
    // game set: the state the cartridge resumes.
    void loadsTheGame()
    {
        QFETCH(QString, rom);
        QFETCH(QByteArray, tape);
        QFETCH(QString, name);
        if (rom == u"sinclair" && sinclairRom().isEmpty())
            QSKIP("No Sinclair ROM: set TESSEL_SINCLAIR_ROM to its path.");
        const TapeOutcome outcome = load(tape, name, romNamed(rom));
        QCOMPARE(outcome.result, Result::Loaded);
        QCOMPARE(outcome.unreadBlocks, QList<int>());
        QVERIFY(!outcome.stillReading);
        const QByteArray& sna = outcome.sna;
        const QByteArray game = gameCode();
        QCOMPARE(ram(sna, kGameStart, game.size()), game);

        const QList<std::pair<int, int>> words = {
            {1, 0x3333},  {3, 0x2222},  {5, 0x1111},  {9, 0x6666},  {11, 0x5555},
            {13, 0x4444}, {15, 0x9999}, {17, 0x8888}, {21, 0xaaac}, {23, 0xfefe}};
        for (const auto& [at, value] : words)
            QCOMPARE(word(sna, at), value);
        QCOMPARE(quint8(sna[0]), 0x3f); // I
        QCOMPARE(quint8(sna[8]), 0x77); // A'
        QCOMPARE(quint8(sna[19]), 0); // interrupts off
        QVERIFY(quint8(sna[20]) & 0x80); // R keeps its bit 7
        QCOMPARE(quint8(sna[25]), 2); // IM 2
        QCOMPARE(quint8(sna[26]), 5); // the border
        // PC, on the stack: the game's last instruction, JR to itself.
        QCOMPARE(word(ram(sna, 0xfefe, 2), 0), kGameStart + game.size() - 2);
    }

    // Skipping through the ROM's edge loop gives the machine running it would.
    void acceleratorChangesNothing_data()
    {
        QTest::addColumn<QString>("rom");
        QTest::newRow("opense") << u"opense"_qs;
        QTest::newRow("sinclair") << u"sinclair"_qs;
    }

    void acceleratorChangesNothing()
    {
        QFETCH(QString, rom);
        if (rom == u"sinclair" && sinclairRom().isEmpty())
            QSKIP("No Sinclair ROM: set TESSEL_SINCLAIR_ROM to its path.");
        const QByteArray tape = romTape().tap();
        const TapeOutcome fast = load(tape, u"game.tap"_qs, romNamed(rom));
        const TapeOutcome slow = load(tape, u"game.tap"_qs, romNamed(rom), false);
        QCOMPARE(fast.result, Result::Loaded);
        QCOMPARE(fast.sna, slow.sna);
        QCOMPARE(fast.tstates, slow.tstates);
        QCOMPARE(fast.instructions, slow.instructions);
    }

    void refuses_data()
    {
        QTest::addColumn<QByteArray>("tape");
        QTest::addColumn<QByteArray>("rom"); // empty: OpenSE's; "sinclair", or the bytes
        QTest::addColumn<Result>("result");

        QByteArray damaged = romTape().tap();
        damaged[damaged.size() - 10] = char(damaged.at(damaged.size() - 10) ^ 0x10);
        QTest::newRow("damaged copy") << damaged << QByteArray() << Result::LoadingError;
        QTest::newRow("no header")
            << TapeWriter().block(0xff, gameCode()).tap() << QByteArray() << Result::LoadedNothing;
        // The loader's failure, and a BASIC program's, reset the machine.
        QByteArray turbo = turboTape().tzx();
        turbo[turbo.size() - 10] = char(turbo.at(turbo.size() - 10) ^ 0x10);
        for (const QByteArray& rom : {QByteArray(), QByteArray("sinclair")}) {
            QTest::addRow("%s: damaged turbo block", rom.isEmpty() ? "opense" : rom.constData())
                << turbo << rom << Result::Reset;
            QTest::addRow("%s: RANDOMIZE USR 0", rom.isEmpty() ? "opense" : rom.constData())
                << TapeWriter().resetter().tap() << rom << Result::Reset;
        }
        const QByteArray pager("\x01\xfd\x7f\x3e\x10\xed\x79\x18\xfe", 9);
        QTest::newRow("128K paging")
            << TapeWriter().loader(kGameStart).code(kGameStart, pager).tap() << QByteArray()
            << Result::Paged;
        // A tone the ROM keeps listening to, 20 minutes long.
        QTest::newRow("endless") << TapeWriter().tone(65535, 65535).tzx() << QByteArray()
                                 << Result::StillLoading;
        // A tone, then a jump to itself: edges without end that take no time.
        const QByteArray jump = TapeWriter().tone(2168, 100).tzx() + QByteArray("\x23\0\0", 3);
        QTest::newRow("jump to itself") << jump << QByteArray() << Result::LoadedNothing;
        QByteArray halts(16384, '\x76');
        halts[0] = '\xf3'; // DI, then HALT for ever
        QTest::newRow("ROM that never starts")
            << romTape().tap() << halts << Result::RomDidNotStart;
    }

    void refuses()
    {
        QFETCH(QByteArray, tape);
        QFETCH(QByteArray, rom);
        QFETCH(Result, result);
        const bool sinclair = rom == "sinclair";
        if (sinclair && sinclairRom().isEmpty())
            QSKIP("No Sinclair ROM: set TESSEL_SINCLAIR_ROM to its path.");
        Rom machineRom = romNamed(sinclair ? u"sinclair"_qs : u"opense"_qs);
        if (!rom.isEmpty() && !sinclair)
            machineRom.bytes = rom;
        const bool tzx = tape.startsWith("ZXTape!");
        const TapeOutcome outcome = load(tape, tzx ? u"t.tzx"_qs : u"t.tap"_qs, machineRom);
        QCOMPARE(outcome.result, result);
        QVERIFY(outcome.sna.isEmpty());
    }

    // Blocks the program never read are told, by their number on the tape.
    void findsBlocksNeverRead_data()
    {
        QTest::addColumn<QByteArray>("tape");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<int>>("unread");
        QTest::addColumn<bool>("playedOn");
        const QByteArray level(300, '\x42');
        QTest::newRow("played on") << romTape().code(40000, level).code(40000, level).tap()
                                   << u"multi.tap"_qs << QList<int>{5, 6, 7, 8} << true;
        QTest::newRow("stop block") << romTape().stop().code(40000, level).tzx() << u"multi.tzx"_qs
                                    << QList<int>{6, 7} << false;
    }

    void findsBlocksNeverRead()
    {
        QFETCH(QByteArray, tape);
        QFETCH(QString, name);
        QFETCH(QList<int>, unread);
        QFETCH(bool, playedOn);
        const TapeOutcome outcome = load(tape, name, romNamed(u"opense"_qs));
        QCOMPARE(outcome.result, Result::Loaded);
        QCOMPARE(outcome.unreadBlocks, unread);
        QCOMPARE(ram(outcome.sna, kGameStart, gameCode().size()), gameCode());
        // Stopped, the rest never plays: the snapshot comes seconds earlier.
        const double seconds = outcome.tstates / 3494400.0;
        QVERIFY2(playedOn ? seconds > 35 : seconds < 30, qPrintable(QString::number(seconds)));
    }

    void refusesFilesThatAreNoTape_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::newRow("cut short")
            << romTape().tzx().first(40) << u"t.tzx"_qs << u"is damaged or not a tape"_qs;
        QTest::newRow("only a text") << QByteArray("ZXTape!\x1a\x01\x14\x30\x02hi", 14)
                                     << u"t.tzx"_qs << u"holds nothing to load"_qs;
        QTest::newRow("compressed")
            << QByteArray("BZh91AY&SY") << u"t.tzx.bz2"_qs << u"compressed"_qs;
    }

    // libspectrum's own words name what is wrong; the file is named too.
    void refusesFilesThatAreNoTape()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QString, error);
        QString why;
        QVERIFY(!TapeImage::open(bytes, u"/games/"_qs + name, &why));
        QVERIFY2(why.contains(error) && why.contains(name), qPrintable(why));
    }
};

QTEST_GUILESS_MAIN(TestTapeLoading)
#include "tst_tape_loading.moc"
