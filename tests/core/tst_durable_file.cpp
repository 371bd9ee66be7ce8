// SPDX-License-Identifier: GPL-3.0-or-later
// The one writer: a whole new file on success, with the old file's
// permissions; unfinished, the old file untouched and nothing beside it.
// (A full disk: tst_fault_full_disk.)
#include "core/DurableFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tessel;

class TestDurableFile : public QObject
{
    Q_OBJECT

private slots:
    void replacesTheFileWhole();
};

void TestDurableFile::replacesTheFileWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("image.rom");
    QVERIFY(test::writeFile(path, "old"));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
    const QByteArray data(qsizetype(512) * 1024, 'n');
    QString error;
    {
        DurableFile abandoned(path);
        QVERIFY2(abandoned.open(&error) && abandoned.write(data, &error), qPrintable(error));
    }
    QCOMPARE(test::readFile(path), QByteArray("old"));
    QVERIFY2(writeDurably(path, data, {}, &error), qPrintable(error));
    QCOMPARE(test::readFile(path), data);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"image.rom"});
    struct stat info = {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
    QCOMPARE(info.st_mode & 07777, 0640u);
}

QTEST_GUILESS_MAIN(TestDurableFile)
#include "tst_durable_file.moc"
