// SPDX-License-Identifier: GPL-3.0-or-later
// A later start of a kit gives way to the running one and tells it so.
#include "core/KitInstance.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using namespace tessel;

class TestKitInstance : public QObject
{
    Q_OBJECT

private slots:
    void laterStartGivesWayAndTellsTheHolder();
};

void TestKitInstance::laterStartGivesWayAndTellsTheHolder()
{
    QTemporaryDir dir;
    const QString kit = dir.filePath("kit");
    const QString locks = dir.filePath("run");
    QVERIFY(QDir().mkpath(kit) && test::writeFile(kit + "/tessel.ini", "[tessel]\nstart=1\n"));
    const auto before = test::treeContents(kit);

    KitInstance first(kit, locks);
    // A request left by a run that crashed is nobody's.
    QVERIFY(QDir().mkpath(locks) && test::writeFile(first.requestPath(), "show\n"));
    QVERIFY(first.tryAcquire());
    QVERIFY(first.isWatching());
    int told = 0;
    first.onStartedAgain([&] { ++told; });
    QTest::qWait(50);
    QCOMPARE(told, 0);

    // The later start blocks as a process of its own would, without an event loop.
    bool laterRuns = true;
    std::thread later([&] { laterRuns = KitInstance(kit, locks).tryAcquire(); });
    QTRY_COMPARE(told, 1);
    later.join();
    QVERIFY(!laterRuns);

    // A request file taken away is made again, and heard.
    QVERIFY(QFile::remove(first.requestPath()));
    QTRY_VERIFY(QFile::exists(first.requestPath()) && first.isWatching());
    QVERIFY(!KitInstance(kit, locks).tryAcquire());
    QTRY_COMPARE(told, 2);

    // Another kit is another instance.
    KitInstance other(dir.filePath("other"), locks);
    QVERIFY(other.tryAcquire());
    QCOMPARE(told, 2);
    QCOMPARE(test::treeContents(kit), before);
}

QTEST_GUILESS_MAIN(TestKitInstance)
#include "tst_kit_instance.moc"
