// SPDX-License-Identifier: GPL-3.0-or-later
// A full disk, on a small tmpfs of our own: every writer says so and keeps
// the file that was there whole. None leaves an empty file, a cut one or a
// part of a set in its place, nor reports success.
#include "flash/FlashFixture.h"

#include "core/IniFile.h"
#include "core/KitLocation.h"
#include "flash/FlashBuild.h"

#include <QDir>
#include <QDirIterator>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

using namespace tessel;
using namespace tessel::test;

class TestFaultFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyWriterKeepsTheOldFile_data();
    void everyWriterKeepsTheOldFile();

private:
    QTemporaryDir m_mountPoint;
    QString m_disk;
};

void TestFaultFullDisk::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("a disk of our own to fill needs root, to mount a small tmpfs");
    m_disk = m_mountPoint.filePath("disk");
    QVERIFY(QDir().mkpath(m_disk));
    if (::mount("tmpfs", QFile::encodeName(m_disk).constData(), "tmpfs", 0, "size=256k") != 0)
        QSKIP(qPrintable("a small tmpfs cannot be mounted here: "
                         + QString::fromLocal8Bit(std::strerror(errno))));
}

void TestFaultFullDisk::cleanupTestCase()
{
    if (!m_disk.isEmpty())
        ::umount2(QFile::encodeName(m_disk).constData(), MNT_DETACH);
}

void TestFaultFullDisk::everyWriterKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("writer");
    for (const char* writer : {"settings", "build", "to-sna", "screen", "extract", "first start"})
        QTest::newRow(writer) << writer;
}

void TestFaultFullDisk::everyWriterKeepsTheOldFile()
{
    QFETCH(QString, writer);
    for (const QString& name : QDir(m_disk).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        QVERIFY(QFileInfo(m_disk + '/' + name).isDir()
                    ? QDir(m_disk + '/' + name).removeRecursively()
                    : QFile::remove(m_disk + '/' + name));
    FlashKit kit;
    const QString old = m_disk + "/old";
    const QByteArray oldBytes = "[tessel]\nstart=0\nDireccionNombres=8192\n";
    QVERIFY(writeFile(old, oldBytes));
    const QString folder = m_disk + "/folder";
    QVERIFY(QDir().mkpath(folder));
    if (writer == "extract") {
        QString error;
        QVERIFY2(build(kit.kit(), kit.entries, {kit.path("image.rom"), {}}, &error),
                 qPrintable(error));
    }
    // An installed copy's template, for a first start into the full disk.
    const QString bin = kit.path("root/bin");
    const QString share = kit.path("root/share/tessel-zizerev");
    QVERIFY(QDir().mkpath(bin) && QDir().mkpath(share));
    QVERIFY(writeFile(share + "/tessel.ini", oldBytes) && writeFile(share + "/help.txt", "help"));
    QFile filler(m_disk + "/filler"); // to the last byte
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'f')) == 4096 || filler.write("f", 1) == 1) { }

    QString error;
    Run result;
    if (writer == "settings") {
        result.status = writeProfileStringToFile(old, "tessel", "start", "1", &error) ? 0 : 1;
        result.err = error;
    } else if (writer == "build") {
        result = run(TESSEL_FLASH_EXE,
                     QStringList{"--kit", kit.path(""), "-o", old} + entryArguments(kit));
    } else if (writer == "to-sna") {
        result = run(TESSEL_FLASH_EXE, {"--to-sna", kit.entries[0].path, old});
    } else if (writer == "screen") {
        result = run(TESSEL_SCREEN_EXE, {kit.entries[0].path, old});
    } else if (writer == "extract") {
        result = run(TESSEL_FLASH_EXE,
                     {"--kit", kit.path(""), "--extract", kit.path("image.rom"), folder});
        QVERIFY2(!result.err.contains("--force"), qPrintable(result.err));
    } else {
        result.status = locateKit(QFile::encodeName(bin), folder + "/data", &error) ? 0 : 1;
        result.err = error;
    }
    QCOMPARE(result.status, 1);
    QVERIFY2(result.err.contains("No space left on device"), qPrintable(result.err));
    QCOMPARE(readFile(old), oldBytes);
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    QVERIFY2(!files.hasNext(), qPrintable(files.next()));
    QCOMPARE(QDir(m_disk).entryList(QDir::Files | QDir::Hidden | QDir::System),
             (QStringList{"filler", "old"}));
}

QTEST_GUILESS_MAIN(TestFaultFullDisk)
#include "tst_fault_full_disk.moc"
