// SPDX-License-Identifier: GPL-3.0-or-later
// One instance per program folder, and no lock outlives its process: only a
// live holder keeps the program from starting, whatever was left behind.
#include "core/InstanceGuard.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tessel;

namespace {

// Runs `job` in a forked child, which then creates `flag` and waits to be
// killed.
pid_t holdInChild(const QString& flag, const std::function<bool()>& job)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (!job())
            ::_exit(3);
        QFile(flag).open(QIODevice::WriteOnly);
        for (;;)
            ::pause();
    }
    return child;
}

void killAndReap(pid_t child)
{
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

} // namespace

class TestInstanceGuard : public QObject
{
    Q_OBJECT

private slots:
    void secondInstanceOfTheSameKitIsRefused();
    void lockOfAKilledRunIsTakenOver();
    void killedAtAnyMomentLeavesNoLock();
    void whateverTheFileHoldsIsIgnored_data();
    void whateverTheFileHoldsIsIgnored();
    void noLockToBeHadStillStarts_data();
    void noLockToBeHadStillStarts();
    void programsWeStartDoNotKeepTheLock();
};

void TestInstanceGuard::secondInstanceOfTheSameKitIsRefused()
{
    QTemporaryDir locks;
    LockFileInstanceGuard first("/kits/one", locks.path());
    LockFileInstanceGuard second("/kits/one/", locks.path());
    LockFileInstanceGuard otherKit("/kits/two", locks.path());
    QVERIFY(first.tryAcquire());
    QVERIFY(first.tryAcquire()); // asking again keeps it
    QVERIFY(first.holdsLock());
    QCOMPARE(second.lockPath(), first.lockPath());
    QVERIFY(!second.tryAcquire());
    QVERIFY(otherKit.tryAcquire());
}

// A separate process holds the lock and is killed without a chance to clean up.
void TestInstanceGuard::lockOfAKilledRunIsTakenOver()
{
    if (qEnvironmentVariableIsSet("TESSEL_GUARD_CHILD")) {
        LockFileInstanceGuard guard(qEnvironmentVariable("TESSEL_GUARD_KIT"),
                                    qEnvironmentVariable("TESSEL_GUARD_DIR"));
        if (!guard.tryAcquire() || !guard.holdsLock())
            ::_exit(3);
        test::writeFile(qEnvironmentVariable("TESSEL_GUARD_DIR") + "/ready", {});
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

    const qint64 pid = child.processId();
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    QVERIFY(child.waitForFinished());
    QCOMPARE(test::readFile(whileAlive.lockPath()), QByteArray::number(pid) + '\n');
    LockFileInstanceGuard next("/kits/crashed", locks.path());
    QVERIFY(next.tryAcquire());
    QVERIFY(next.holdsLock());
}

// Children killed at random points of taking the lock, most of them before,
// during or just after it: the next start must always get it.
void TestInstanceGuard::killedAtAnyMomentLeavesNoLock()
{
    QTemporaryDir locks;
    QRandomGenerator random(180);
    for (int round = 0; round < 200; ++round) {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            LockFileInstanceGuard guard("/kits/killed", locks.path());
            static_cast<void>(guard.tryAcquire());
            for (;;)
                ::pause();
        }
        ::usleep(random.bounded(400));
        killAndReap(child);
        LockFileInstanceGuard next("/kits/killed", locks.path());
        QVERIFY2(next.tryAcquire() && next.holdsLock(), qPrintable(QString::number(round)));
    }
}

void TestInstanceGuard::whateverTheFileHoldsIsIgnored_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("a live process")
        << QByteArray::number(QCoreApplication::applicationPid()) + "\nlocalhost\napp\n";
}

// A file left by a run that died while writing it, or a PID now reused: the
// lock is the kernel's, and what the file says never counts.
void TestInstanceGuard::whateverTheFileHoldsIsIgnored()
{
    QFETCH(QByteArray, content);
    QTemporaryDir locks;
    LockFileInstanceGuard guard("/kits/left", locks.path());
    QVERIFY(test::writeFile(guard.lockPath(), content));
    QVERIFY(guard.tryAcquire());
    QVERIFY(guard.holdsLock());
    LockFileInstanceGuard second("/kits/left", locks.path());
    QVERIFY(!second.tryAcquire());
}

void TestInstanceGuard::noLockToBeHadStillStarts_data()
{
    QTest::addColumn<QString>("lockFolder"); // under the test's folder
    QTest::addColumn<QString>("blocker"); // what lies at the lock's path
    QTest::addColumn<bool>("locks"); // whether a lock can still be had
    QTest::newRow("runtime folder missing") << "gone/deeper" << QString() << true;
    QTest::newRow("a file in place of the folder") << "file" << QString() << false;
    QTest::newRow("a folder at the lock's path") << "locks"
                                                 << "folder" << false;
    QTest::newRow("a link at the lock's path") << "locks"
                                               << "link" << false;
    QTest::newRow("a pipe at the lock's path") << "locks"
                                               << "pipe" << false;
}

// A kit that cannot be guarded runs unguarded, and nothing else is touched.
void TestInstanceGuard::noLockToBeHadStillStarts()
{
    QFETCH(QString, lockFolder);
    QFETCH(QString, blocker);
    QFETCH(bool, locks);
    QTemporaryDir dir;
    QVERIFY(test::writeFile(dir.filePath("file"), "a file"));
    QVERIFY(test::writeFile(dir.filePath("victim"), "not to be touched"));
    QVERIFY(QDir(dir.path()).mkpath("locks"));
    LockFileInstanceGuard guard("/kits/blocked", dir.filePath(lockFolder));
    const QByteArray path = QFile::encodeName(guard.lockPath());
    if (blocker == "folder")
        QVERIFY(QDir().mkpath(guard.lockPath()));
    if (blocker == "link")
        QVERIFY(QFile::link(dir.filePath("victim"), guard.lockPath()));
    if (blocker == "pipe")
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);

    QVERIFY(guard.tryAcquire());
    QCOMPARE(guard.holdsLock(), locks);
    LockFileInstanceGuard second("/kits/blocked", dir.filePath(lockFolder));
    QCOMPARE(second.tryAcquire(), !locks);
    QCOMPARE(test::readFile(dir.filePath("victim")), QByteArray("not to be touched"));
    QCOMPARE(test::readFile(dir.filePath("file")), QByteArray("a file"));
}

// An emulator started from the window must not keep the kit locked after
// the window has gone. Also: the owner's PID failing to land (no room for
// it) leaves the lock held.
void TestInstanceGuard::programsWeStartDoNotKeepTheLock()
{
    QTemporaryDir locks;
    QProcess emulator;
    {
        LockFileInstanceGuard guard("/kits/emulator", locks.path());
        QVERIFY(guard.tryAcquire());
        emulator.start("sleep", {"30"});
        QVERIFY(emulator.waitForStarted());
    }
    LockFileInstanceGuard next("/kits/emulator", locks.path());
    QVERIFY(next.tryAcquire());
    QVERIFY(next.holdsLock());
    emulator.kill();
    emulator.waitForFinished();

    QTemporaryDir full;
    const QString flag = full.filePath("ready");
    const pid_t child = holdInChild(flag, [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{0, 0};
        auto* guard = new LockFileInstanceGuard("/kits/full", full.path()); // held until killed
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 && guard->tryAcquire() && guard->holdsLock();
    });
    QVERIFY(child > 0);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(flag), 10000);
    LockFileInstanceGuard whileAlive("/kits/full", full.path());
    QVERIFY(!whileAlive.tryAcquire());
    QCOMPARE(test::readFile(whileAlive.lockPath()), QByteArray()); // the PID did not fit
    killAndReap(child);
    QVERIFY(whileAlive.tryAcquire());
}

QTEST_GUILESS_MAIN(TestInstanceGuard)
#include "tst_instance_guard.moc"
