// SPDX-License-Identifier: GPL-3.0-or-later
// A later start of a kit gives way to the running one and tells it so.
#include "instance/KitInstance.h"
#include "support/TestFiles.h"

#include <QDir>
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
    // What a run that crashed left there is no reason not to listen.
    QVERIFY(QDir().mkpath(locks) && test::writeFile(first.serverName(), "left over"));
    QVERIFY(first.tryAcquire());
    QVERIFY(first.isListening());
    int told = 0;
    first.onStartedAgain([&] { ++told; });

    // The later start blocks as a process of its own would, without an event loop.
    bool laterRuns = true;
    std::thread later([&] { laterRuns = KitInstance(kit, locks).tryAcquire(); });
    QTRY_COMPARE(told, 1);
    later.join();
    QVERIFY(!laterRuns);

    // Another kit is another instance.
    KitInstance other(dir.filePath("other"), locks);
    QVERIFY(other.tryAcquire());
    QCOMPARE(told, 1);
    QCOMPARE(test::treeContents(kit), before);
}

QTEST_GUILESS_MAIN(TestKitInstance)
#include "tst_kit_instance.moc"
