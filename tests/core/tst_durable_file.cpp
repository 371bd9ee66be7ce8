// SPDX-License-Identifier: GPL-3.0-or-later
// A durable commit is still a commit: whole new file on success, the old one
// untouched and a reason on failure.
#include "core/DurableFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tessel;

class TestDurableFile : public QObject
{
    Q_OBJECT

private slots:
    void replacesTheFileWhole();
    void failedCommitKeepsTheOldFile();
};

void TestDurableFile::replacesTheFileWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("image.rom");
    QVERIFY(test::writeFile(path, "old"));
    const QByteArray data(qsizetype(512) * 1024, 'n');
    QSaveFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
    QString error;
    QVERIFY2(commitDurably(file, &error), qPrintable(error));
    QCOMPARE(test::readFile(path), data);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"image.rom"});
}

void TestDurableFile::failedCommitKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("tessel.ini");
    QVERIFY(test::writeFile(path, "old"));
    QSaveFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write("new"), 3);
    file.cancelWriting(); // as a failed write would
    QString error;
    QVERIFY(!commitDurably(file, &error));
    QVERIFY2(error.contains('"' + QDir::toNativeSeparators(path) + '"'), qPrintable(error));
    QVERIFY(!commitDurably(file, nullptr)); // no error wanted: still no crash
    QCOMPARE(test::readFile(path), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"tessel.ini"});
}

QTEST_GUILESS_MAIN(TestDurableFile)
#include "tst_durable_file.moc"
