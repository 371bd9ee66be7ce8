// SPDX-License-Identifier: GPL-3.0-or-later
// Tapes as sources: the ROM they load with, the sentences the user reads,
// the cache that loads each tape once, and the screen a tape carries.
#include "core/Kit.h"
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

    // Loaded once: after that every reader gets the cache's snapshot, and
    // Test SNA its file; another ROM is another entry.
    void loadsEachTapeOnce()
    {
        const QString tape = path(u"game.tzx"_qs);
        QVERIFY(writeFile(tape, turboTape().tzx()));
        QVERIFY(needsLoading(tape, nullptr));
        QString error;
        const std::optional<SnapshotRead> first = readSource(tape, nullptr, &error);
        QVERIFY2(first, qPrintable(error));
        QVERIFY(!needsLoading(tape, nullptr));

        const QStringList cached =
            QDir(TapeCache::defaultFolder()).entryList({u"*.sna"_qs}, QDir::Files);
        QCOMPARE(cached.size(), 1);
        const QString sna = QDir(TapeCache::defaultFolder()).filePath(cached.constFirst());
        QCOMPARE(emulatorFile(tape, nullptr, &error).value_or(QString()), sna);
        QByteArray marked = first->sna;
        marked[kSnaHeaderSize] = 'M';
        QVERIFY(writeFile(sna, marked));
        QCOMPARE(readSource(tape, nullptr, &error)->sna, marked);

        const Kit kit(path(u"kit"_qs));
        QByteArray otherRom = readFile(kOpenSeRomPath);
        otherRom[0x3fff] = char(otherRom.at(0x3fff) ^ 1);
        QVERIFY(writeFile(path(u"kit/48.rom"_qs), otherRom));
        QVERIFY(needsLoading(tape, &kit));
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
