// SPDX-License-Identifier: GPL-3.0-or-later
// The one writer: a whole new file on success; on any failure the old file
// untouched, a reason, and nothing left beside it.
#include "core/DurableFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tessel;

namespace {

QStringList entriesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                  | QDir::NoDotAndDotDot);
}

} // namespace

class TestDurableFile : public QObject
{
    Q_OBJECT

private slots:
    void replacesTheFileWhole();
    void failuresKeepTheOldFile_data();
    void failuresKeepTheOldFile();
};

void TestDurableFile::replacesTheFileWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("image.rom");
    QVERIFY(test::writeFile(path, "old"));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
    const QByteArray data(qsizetype(512) * 1024, 'n');
    QString error;
    QVERIFY2(writeDurably(path, data, {}, &error), qPrintable(error));
    QCOMPARE(test::readFile(path), data);
    QCOMPARE(entriesIn(dir.path()), QStringList{"image.rom"});
    struct stat info = {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
    QCOMPARE(info.st_mode & 07777, 0640u); // the old file's permissions stay
    // A new file takes its name at once.
    QVERIFY2(writeDurably(dir.filePath("new.rom"), "new", {}, &error), qPrintable(error));
    QCOMPARE(test::readFile(dir.filePath("new.rom")), QByteArray("new"));
}

void TestDurableFile::failuresKeepTheOldFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");
    QTest::newRow("size limit reached") << "limit"
                                        << "File too large";
    QTest::newRow("never committed") << "abandon" << QString();
    QTest::newRow("committed twice") << "twice"
                                     << "not opened";
}

void TestDurableFile::failuresKeepTheOldFile()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("tessel.ini");
    QVERIFY(test::writeFile(path, "old"));
    const QByteArray data(4096, 'x');
    if (how == "limit") {
        // A size limit is a full disk root cannot get round; only in a child.
        const pid_t child = ::fork();
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1000, 1000};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            QString error;
            const bool failed = !writeDurably(path, data, {}, &error);
            const bool said =
                error.contains(QDir::toNativeSeparators(path)) && error.contains(reason);
            if (!failed || !said)
                qWarning("child: %s", qPrintable(error));
            ::_exit(failed && said ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    } else {
        DurableFile file(path);
        QString error;
        QVERIFY2(file.open(&error) && file.write(data, &error), qPrintable(error));
        if (how == "twice") {
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0600) == 0);
            QVERIFY2(file.commit(&error), qPrintable(error));
            QVERIFY(test::writeFile(path, "old"));
            QVERIFY(!file.commit(&error));
            QVERIFY2(error.contains(reason), qPrintable(error));
        }
    }
    QCOMPARE(test::readFile(path), QByteArray("old"));
    QCOMPARE(entriesIn(dir.path()), QStringList{"tessel.ini"});
}

QTEST_GUILESS_MAIN(TestDurableFile)
#include "tst_durable_file.moc"
