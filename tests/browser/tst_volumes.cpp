// SPDX-License-Identifier: GPL-3.0-or-later
// The system's volumes while the program runs: mounts come and go. Run in a
// mount namespace of its own, so the test's mounts stay private to it.
#include "browser/Volumes.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <sched.h>
#include <sys/mount.h>

using namespace tessel;

class TestVolumes : public QObject
{
    Q_OBJECT

public:
    explicit TestVolumes(bool privateMounts)
        : m_privateMounts(privateMounts)
    { }

private slots:
    void mountsAndUnmountsAreFollowed();

private:
    bool m_privateMounts;
};

void TestVolumes::mountsAndUnmountsAreFollowed()
{
    if (!m_privateMounts)
        QSKIP("needs a mount namespace of its own, which takes root");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString card = dir.filePath("card");
    const QString kernel = dir.filePath("kernel");
    QVERIFY(QDir().mkpath(card) && QDir().mkpath(kernel));

    SystemVolumes volumes;
    QSignalSpy changed(&volumes, &VolumeSource::volumesChanged);
    auto listed = [&volumes](const QString& root) {
        const QList<Volume> all = volumes.volumes();
        return std::any_of(all.begin(), all.end(), [&](const Volume& v) { return v.root == root; });
    };
    QVERIFY(!listed(card));

    QCOMPARE(::mount("tessel-card", qPrintable(card), "tmpfs", 0, "size=1m"), 0);
    QTRY_COMPARE(changed.size(), 1);
    QVERIFY(listed(card));
    QCOMPARE(volumes.rootOf(card + "/games/x.sna"), card);

    // A mount the drive list leaves out changes nothing it shows.
    QCOMPARE(::mount("proc", qPrintable(kernel), "proc", 0, nullptr), 0);
    QTest::qWait(400);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(::umount(qPrintable(kernel)), 0);

    QCOMPARE(::umount(qPrintable(card)), 0);
    QTRY_COMPARE(changed.size(), 2);
    QVERIFY(!listed(card));
}

int main(int argc, char* argv[])
{
    const bool privateMounts = ::unshare(CLONE_NEWNS) == 0
                               && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    QCoreApplication app(argc, argv);
    TestVolumes test(privateMounts);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_volumes.moc"
