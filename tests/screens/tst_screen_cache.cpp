// SPDX-License-Identifier: GPL-3.0-or-later
// Loading screens made off the window's thread and kept by path, size and
// modification time.
#include "screens/ScreenCache.h"
#include "support/TapeWriter.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tessel;
using namespace tessel::test;

namespace {

const QString kSna = QStringLiteral(TESSEL_TEST_DATA "/sna/zasmops.sna");

// A snapshot of a blank screen, black on white without FLASH, but for one
// byte of screen memory.
QString snapshotWith(const QString& path, int offset, char value)
{
    QByteArray bytes(49179, '\0');
    bytes.replace(27 + 6144, 768, QByteArray(768, '\x38'));
    bytes[27 + offset] = value;
    return writeFile(path, bytes) ? path : QString();
}

void setModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

} // namespace

class TestScreenCache : public QObject
{
    Q_OBJECT

private slots:
    void madeOnTheWorkerAndAgainWhenChanged();
    void filesGivingNoPictureAreUnavailable();
    void tapesShowTheScreenTheyCarryUnloaded();
    void newestRequestsGoFirstAndOldOnesDrop();
    void capacityBoundsWhatIsKept();
};

void TestScreenCache::madeOnTheWorkerAndAgainWhenChanged()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("game.sna");
    QVERIFY(QFile::copy(kSna, path));
    const QDateTime first = QDateTime::currentDateTime().addSecs(-60);
    setModified(path, first);

    ScreenCache cache;
    QSignalSpy ready(&cache, &ScreenCache::ready);
    cache.request(path);
    QVERIFY(!cache.cached(path)); // made on the worker, never on the caller's thread
    QVERIFY(ready.wait());
    QCOMPARE(ready.takeFirst().at(0).toString(), path);
    const LoadingScreen before = cache.cached(path).value();
    QCOMPARE(before.image, readLoadingScreen(kSna, nullptr)->image);
    QVERIFY(before.flashes());

    // Asked again unchanged, the same picture is ready again.
    cache.request(path);
    QVERIFY(ready.wait());
    QCOMPARE(cache.cached(path)->image, before.image);

    // The same size, a new time: the new contents show.
    QVERIFY(!snapshotWith(path, 0, '\xFF').isEmpty());
    setModified(path, first.addSecs(10));
    cache.request(path);
    QVERIFY(ready.wait());
    QCOMPARE(cache.cached(path)->image, readLoadingScreen(path, nullptr)->image);
    QVERIFY(cache.cached(path)->image != before.image);
}

void TestScreenCache::filesGivingNoPictureAreUnavailable()
{
    QTemporaryDir dir;
    const QString kept = snapshotWith(dir.filePath("kept.sna"), 0, '\0');
    const QString shortFile = dir.filePath("short.sna");
    QVERIFY(writeFile(shortFile, QByteArray(49178, '\0')));
    const QString folder = dir.filePath("folder.sna");
    QVERIFY(QDir().mkpath(folder));
    QStringList paths = {shortFile, folder, dir.filePath("missing.sna")};
#ifdef Q_OS_UNIX
    // A pipe is never opened: opening it would wait for a writer for ever.
    const QString pipe = dir.filePath("pipe.sna");
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    paths << pipe;
#endif

    ScreenCache cache;
    QSignalSpy ready(&cache, &ScreenCache::ready);
    QSignalSpy unavailable(&cache, &ScreenCache::unavailable);
    for (const QString& path : paths) {
        cache.request(path);
        QVERIFY2(unavailable.wait(), qPrintable(path));
        QCOMPARE(unavailable.takeFirst().at(0).toString(), path);
        QVERIFY(!cache.cached(path));
    }

    // A file that was a snapshot and is gone takes its picture with it.
    cache.request(kept);
    QVERIFY(ready.wait());
    QVERIFY(QFile::remove(kept));
    cache.request(kept);
    QVERIFY(unavailable.wait());
    QVERIFY(!cache.cached(kept));
}

void TestScreenCache::tapesShowTheScreenTheyCarryUnloaded()
{
    QTemporaryDir dir;
    qputenv("XDG_CACHE_HOME", dir.filePath("cache").toUtf8());
    QByteArray screen(6912, '\x38');
    screen[100] = '\x5a';
    const QString withScreen = dir.filePath("screen.tzx");
    QVERIFY(writeFile(withScreen, TapeWriter().loader(25000).code(16384, screen).tzx()));
    const QString without = dir.filePath("game.tap");
    QVERIFY(writeFile(without, romTape().tap()));

    ScreenCache cache;
    QSignalSpy ready(&cache, &ScreenCache::ready);
    QSignalSpy unavailable(&cache, &ScreenCache::unavailable);
    cache.request(withScreen);
    QVERIFY(ready.wait());
    QCOMPARE(cache.cached(withScreen)->image, renderScreen(screen));
    cache.request(without);
    QVERIFY(unavailable.wait());
    QVERIFY(!QFileInfo::exists(dir.filePath("cache")));
}

void TestScreenCache::newestRequestsGoFirstAndOldOnesDrop()
{
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 12; ++i)
        paths << snapshotWith(dir.filePath(QString("%1.sna").arg(i)), i, '\x01');

    // Twelve asked at once, as when the pointer sweeps down a list: the first
    // is already on the worker, the eight newest wait, the rest are dropped.
    ScreenCache cache;
    QSignalSpy ready(&cache, &ScreenCache::ready);
    for (const QString& path : paths)
        cache.request(path);
    QTRY_COMPARE(ready.size(), 9);
    QStringList served;
    for (const QList<QVariant>& signal : ready)
        served << signal.at(0).toString();
    QStringList expected = {paths.first()};
    for (int i = 11; i >= 4; --i)
        expected << paths.at(i);
    QCOMPARE(served, expected);
    QTest::qWait(50);
    QCOMPARE(ready.size(), 9);
}

void TestScreenCache::capacityBoundsWhatIsKept()
{
    QTemporaryDir dir;
    ScreenCache cache;
    // Room for two screens without FLASH.
    cache.setCapacity(2 * 256 * 192 + 100);
    QSignalSpy ready(&cache, &ScreenCache::ready);
    QStringList paths;
    for (int i = 0; i < 4; ++i) {
        paths << snapshotWith(dir.filePath(QString("%1.sna").arg(i)), 0, '\x01');
        cache.request(paths.last());
        QVERIFY(ready.wait());
    }
    int kept = 0;
    for (const QString& path : paths)
        kept += cache.cached(path) ? 1 : 0;
    QCOMPARE(kept, 2);
    QVERIFY(cache.cached(paths.last()));
}

QTEST_GUILESS_MAIN(TestScreenCache)
#include "tst_screen_cache.moc"
