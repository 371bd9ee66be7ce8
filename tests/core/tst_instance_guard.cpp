// One instance per program folder, and no lock outlives its process.
#include "core/InstanceGuard.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace tessel;

class TestInstanceGuard : public QObject
{
    Q_OBJECT

private slots:
    void secondInstanceOfTheSameKitIsRefused();
    void lockOfAKilledRunIsTakenOver();
};

void TestInstanceGuard::secondInstanceOfTheSameKitIsRefused()
{
    QTemporaryDir locks;
    LockFileInstanceGuard first("/kits/one", locks.path());
    LockFileInstanceGuard second("/kits/one/", locks.path());
    LockFileInstanceGuard otherKit("/kits/two", locks.path());
    QVERIFY(first.tryAcquire());
    QVERIFY(first.tryAcquire()); // asking again keeps it
    QCOMPARE(second.lockPath(), first.lockPath());
    QVERIFY(!second.tryAcquire());
    QVERIFY(otherKit.tryAcquire());
}

// A child holds the lock and is killed without a chance to clean up.
void TestInstanceGuard::lockOfAKilledRunIsTakenOver()
{
    if (qEnvironmentVariableIsSet("TESSEL_GUARD_CHILD")) {
        LockFileInstanceGuard guard(qEnvironmentVariable("TESSEL_GUARD_KIT"),
                                    qEnvironmentVariable("TESSEL_GUARD_DIR"));
        if (!guard.tryAcquire())
            ::_exit(3);
        QFile ready(qEnvironmentVariable("TESSEL_GUARD_DIR") + "/ready");
        ready.open(QIODevice::WriteOnly);
        ready.close();
        for (;;)
            QTest::qSleep(1000);
    }

    QTemporaryDir locks;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TESSEL_GUARD_CHILD", "1");
    env.insert("TESSEL_GUARD_KIT", "/kits/crashed");
    env.insert("TESSEL_GUARD_DIR", locks.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"lockOfAKilledRunIsTakenOver"});
    QVERIFY(child.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(locks.filePath("ready")), 10000);

    LockFileInstanceGuard whileAlive("/kits/crashed", locks.path());
    QVERIFY(!whileAlive.tryAcquire());

    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished());
    QVERIFY(QFile::exists(whileAlive.lockPath()));
    LockFileInstanceGuard next("/kits/crashed", locks.path());
    QVERIFY(next.tryAcquire());
}

QTEST_GUILESS_MAIN(TestInstanceGuard)
#include "tst_instance_guard.moc"
