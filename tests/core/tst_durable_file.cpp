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
    void aSetIsReplacedWholeOrNotAtAll_data();
    void aSetIsReplacedWholeOrNotAtAll();
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

void TestDurableFile::aSetIsReplacedWholeOrNotAtAll_data()
{
    QTest::addColumn<int>("taken"); // the file whose name a folder takes meanwhile; -1 none
    QTest::newRow("every name free") << -1;
    QTest::newRow("first refused") << 0;
    QTest::newRow("last refused, after a new file") << 3;
}

// Even root cannot put a file where a folder stands: the set's last replace
// fails after the others have happened, and they must be undone.
void TestDurableFile::aSetIsReplacedWholeOrNotAtAll()
{
    QFETCH(int, taken);
    QTemporaryDir dir;
    const QStringList names{"a.sna", "new.sna", "b.sna", "list.tessel"};
    QStringList before;
    for (const QString& name : names) {
        if (name != "new.sna") {
            QVERIFY(test::writeFile(dir.filePath(name), "old " + name.toUtf8()));
            before << name;
        }
    }
    QString error;
    std::vector<std::unique_ptr<DurableFile>> files;
    for (const QString& name : names) {
        files.push_back(std::make_unique<DurableFile>(dir.filePath(name)));
        QVERIFY2(files.back()->open(&error) && files.back()->write("new " + name.toUtf8(), &error),
                 qPrintable(error));
    }
    if (taken >= 0) {
        QVERIFY(QFile::remove(dir.filePath(names[taken])));
        QVERIFY(QDir().mkpath(dir.filePath(names[taken] + "/inside")));
    }
    QCOMPARE(DurableFile::commitAll(files, &error), taken < 0);
    files.clear();

    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    if (taken < 0) {
        for (const QString& name : names)
            QCOMPARE(test::readFile(dir.filePath(name)), "new " + name.toUtf8());
        QCOMPARE(left, (QStringList{"a.sna", "b.sna", "list.tessel", "new.sna"}));
        return;
    }
    QVERIFY2(error.contains("None of the files was changed"), qPrintable(error));
    before.removeOne(names[taken]);
    QCOMPARE(left, before);
    for (const QString& name : std::as_const(before))
        QCOMPARE(test::readFile(dir.filePath(name)), "old " + name.toUtf8());
}

QTEST_GUILESS_MAIN(TestDurableFile)
#include "tst_durable_file.moc"
