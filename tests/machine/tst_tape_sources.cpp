// SPDX-License-Identifier: GPL-3.0-or-later
// Tapes as sources: the ROM they load with, the sentences the user reads,
// the cache that loads each tape once, and the screen a tape carries.
#include "core/Kit.h"
#include "core/Progress.h"
#include "machine/Rom.h"
#include "machine/Source.h"
#include "machine/TapeCache.h"
#include "support/TapeWriter.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tessel;
using namespace tessel::test;

class TestTapeSources : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.emplace();
        // Each test its own cache, so that none finds what another loaded.
        qputenv("XDG_CACHE_HOME", m_dir->filePath(u"cache"_qs).toUtf8());
        QVERIFY(QDir().mkpath(path(u"kit"_qs)));
    }

    void choosesTheRom_data()
    {
        QTest::addColumn<QString>("setting"); // Rom48, if any
        QTest::addColumn<QString>("beside"); // the file put in the kit as 48.rom
        QTest::addColumn<bool>("fallback"); // whether OpenSE is there
        QTest::addColumn<int>("kind"); // -1: refused
        QTest::addColumn<QString>("text"); // the error, or a warning

        const int openSe = int(Rom::Kind::OpenSe);
        const int unknown = int(Rom::Kind::Unknown);
        QTest::newRow("nothing given") << u""_qs << u""_qs << true << openSe << u"OpenSE"_qs;
        QTest::newRow("48.rom in the kit")
            << u""_qs << u"other.rom"_qs << true << unknown << u"neither"_qs;
        QTest::newRow("setting wins over 48.rom")
            << u"../roms/named.rom"_qs << u"other.rom"_qs << true << unknown << u"named.rom"_qs;
        QTest::newRow("setting names nothing")
            << u"gone.rom"_qs << u""_qs << true << -1 << u"gone.rom"_qs;
        QTest::newRow("48.rom of another size")
            << u""_qs << u"short.rom"_qs << true << -1 << u"16384"_qs;
        QTest::newRow("no ROM anywhere") << u""_qs << u""_qs << false << -1 << u"opense-basic"_qs;
    }

    void choosesTheRom()
    {
        QFETCH(QString, setting);
        QFETCH(QString, beside);
        QFETCH(bool, fallback);
        QFETCH(int, kind);
        QFETCH(QString, text);
        QVERIFY(QDir().mkpath(path(u"roms"_qs)));
        QVERIFY(writeFile(path(u"roms/other.rom"_qs), QByteArray(16384, '\x01')));
        QVERIFY(writeFile(path(u"roms/named.rom"_qs), QByteArray(16384, '\x02')));
        QVERIFY(writeFile(path(u"roms/short.rom"_qs), QByteArray(16383, '\x03')));
        if (!beside.isEmpty())
            QVERIFY(QFile::copy(path(u"roms/"_qs + beside), path(u"kit/48.rom"_qs)));
        QVERIFY(
            writeFile(path(u"kit/tessel.ini"_qs), "[tessel]\nRom48=" + setting.toUtf8() + '\n'));
        const Kit kit(path(u"kit"_qs));

        QString error;
        const std::optional<Rom> rom =
            findRom(&kit, &error, fallback ? kOpenSeRomPath : path(u"none.rom"_qs));
        QCOMPARE(rom ? int(rom->kind) : -1, kind);
        const QString said = rom ? warningTexts(romWarnings(*rom, u"t.tap"_qs)).join(u' ') : error;
        QVERIFY2(said.contains(text), qPrintable(said));
    }

    // What the user reads names the tape and what went wrong or may.
    void tellsTheUser_data()
    {
        QTest::addColumn<QByteArray>("tape");
        QTest::addColumn<QString>("text");
        QByteArray damaged = romTape().tap();
        damaged[damaged.size() - 10] = char(damaged.at(damaged.size() - 10) ^ 0x10);
        QTest::newRow("loading error") << damaged << u"R Tape loading error"_qs;
        QTest::newRow("nothing loaded")
            << TapeWriter().block(0xff, gameCode()).tap() << u"loaded nothing"_qs;
        QTest::newRow("reset") << TapeWriter().resetter().tap() << u"was reset"_qs;
        QTest::newRow("multi-load") << romTape().code(40000, "level").code(40000, "level").tap()
                                    << u"Blocks 5\u20138 of the tape"_qs;
        QTest::newRow("unreadable") << QByteArray("\x13\x00\x00", 3) << u"damaged"_qs;
    }

    void tellsTheUser()
    {
        QFETCH(QByteArray, tape);
        QFETCH(QString, text);
        const QString file = path(u"game.tap"_qs);
        QVERIFY(writeFile(file, tape));
        QString error;
        const std::optional<SnapshotRead> read = readSource(file, nullptr, &error);
        const QString said = read ? warningTexts(read->warnings).join(u' ') : error;
        QVERIFY2(said.contains(text) && said.contains(u"game.tap"), qPrintable(said));
    }

    // Loaded once: after that every reader gets the same snapshot without
    // loading, and Test SNA the cache's file, even when the cache cannot be
    // written; another ROM is another entry.
    void loadsEachTapeOnce_data()
    {
        QTest::addColumn<QByteArray>("tape"); // each row its own, loaded by none before
        QTest::addColumn<bool>("writable");
        QTest::newRow("cache") << turboTape().tzx() << true;
        QTest::newRow("cache that cannot be written") << turboTape().stop().tzx() << false;
    }

    void loadsEachTapeOnce()
    {
        QFETCH(QByteArray, tape);
        QFETCH(bool, writable);
        if (!writable) // a file where its folder must go
            QVERIFY(writeFile(m_dir->filePath(u"cache"_qs), "not a folder"));
        const QString file = path(u"game.tzx"_qs);
        QVERIFY(writeFile(file, tape));
        QVERIFY(needsLoading(file, nullptr));
        QString error;
        Progress loading;
        const std::optional<SnapshotRead> first =
            readSource(file, nullptr, nullptr, &error, &loading);
        QVERIFY2(first, qPrintable(error));
        QVERIFY(loading.done() > 0);
        QVERIFY(!needsLoading(file, nullptr));
        Progress again;
        QCOMPARE(readSource(file, nullptr, nullptr, &error, &again)->sna, first->sna);
        QCOMPARE(again.done(), 0.0);

        const QStringList cached =
            QDir(TapeCache::defaultFolder()).entryList({u"*.sna"_qs}, QDir::Files);
        QCOMPARE(cached.size(), writable ? 1 : 0);
        const std::optional<QString> sna = emulatorFile(file, nullptr, &error);
        if (writable)
            QCOMPARE(sna.value_or(QString()),
                     QDir(TapeCache::defaultFolder()).filePath(cached.constFirst()));
        else
            QVERIFY2(!sna && error.contains(u"cache"), qPrintable(error));

        const Kit kit(path(u"kit"_qs));
        QByteArray otherRom = readFile(kOpenSeRomPath);
        otherRom[0x3fff] = char(otherRom.at(0x3fff) ^ 1);
        QVERIFY(writeFile(path(u"kit/48.rom"_qs), otherRom));
        QVERIFY(needsLoading(file, &kit));
    }

    // What an earlier run of a program kept is what every reader gets.
    void readsWhatTheCacheKeeps()
    {
        const QByteArray tape = romTape().code(40000, "kept").tap();
        const QString file = path(u"game.tap"_qs);
        QVERIFY(writeFile(file, tape));
        const std::optional<Rom> rom = findRom(nullptr, nullptr);
        QVERIFY(rom);
        TapeOutcome kept;
        kept.result = TapeOutcome::Result::Loaded;
        kept.sna = QByteArray(kSnaFileSize, 'M');
        QVERIFY(TapeCache().store(TapeCache::key(tape, *rom), kept, nullptr));
        QVERIFY(!needsLoading(file, nullptr));
        QString error;
        QCOMPARE(readSource(file, nullptr, &error)->sna, kept.sna);
    }

    void readsTheScreenATapeCarries()
    {
        QByteArray screen(6912, '\0');
        for (int i = 0; i < screen.size(); ++i)
            screen[i] = char(i * 7);
        const QString tape = path(u"screen.tap"_qs);
        QVERIFY(writeFile(tape, TapeWriter().loader(25000).code(16384, screen).tap()));
        QCOMPARE(tapeScreen(tape), screen);
        QVERIFY(writeFile(tape, romTape().tap()));
        QCOMPARE(tapeScreen(tape), QByteArray());
    }

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }

    std::optional<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestTapeSources)
#include "tst_tape_sources.moc"
