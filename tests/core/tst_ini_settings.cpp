// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file read and written on real files, including writes that fail.
#include "core/IniFile.h"
#include "core/Settings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#endif

using namespace tessel;

namespace {

QByteArray bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

// Every entry under the folder with its bytes, to show a failed write changed
// nothing and left no temporary file behind.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(path, it.fileInfo().isDir() ? QByteArray("<folder>") : bytes(path));
    }
    return entries;
}

} // namespace

class TestIniSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void firstWriteCreatesTheFile();
    void valuesReadBackAsWritten_data();
    void valuesReadBackAsWritten();
    void longValuesReadBackCut();
    void rewritesKeepEveryOtherByte();
    void bytesInvalidInTheLocaleSurvive();
    void failedWritesChangeNothing_data();
    void failedWritesChangeNothing();
    void writeFailingPartWayKeepsTheOldFile();
    void pipeInPlaceOfTheFileNeverBlocks();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_ini;
};

void TestIniSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_ini = m_dir->filePath(QStringLiteral("tessel.ini"));
}

void TestIniSettings::firstWriteCreatesTheFile()
{
    QCOMPARE(Settings(m_ini).value(Settings::kStart), QString());
    QVERIFY2(!QFile::exists(m_ini), "a read created the file");
    Settings(m_ini).setValue(Settings::kStart, QStringLiteral("1"));
    QCOMPARE(bytes(m_ini), QByteArray("[tessel]\r\nstart=1\r\n"));
}

void TestIniSettings::valuesReadBackAsWritten_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("value");
    QTest::newRow("spaces") << QStringLiteral("My Kit") << QStringLiteral("/home/u/My Snaps/Vol 1");
    QTest::newRow("non-ascii") << QStringLiteral("Kït Ñandú")
                               << QStringLiteral("/srv/Spiele/Ñandú – Été");
    QTest::newRow("windows path") << QStringLiteral("kit")
                                  << QStringLiteral("C:\\Program Files\\Tessel\\");
    QTest::newRow("empty") << QStringLiteral("kit") << QString();
    QTest::newRow("leading U+FEFF") << QStringLiteral("kit") << QStringLiteral("\uFEFF/snaps");
}

void TestIniSettings::valuesReadBackAsWritten()
{
    QFETCH(QString, folder);
    QFETCH(QString, value);
    QVERIFY(QDir(m_dir->path()).mkdir(folder));
    const QString ini = m_dir->filePath(folder + QStringLiteral("/tessel.ini"));

    Settings(ini).setValue(Settings::kSnapshotFolder, QStringLiteral("first"));
    Settings(ini).setValue(Settings::kWorkingFolder, value + QStringLiteral("flash"));
    Settings(ini).setValue(Settings::kSnapshotFolder, value);
    QCOMPARE(Settings(ini).value(Settings::kSnapshotFolder), value);
    QCOMPARE(Settings(ini).value(Settings::kWorkingFolder), value + QStringLiteral("flash"));
    QVERIFY2(bytes(ini).contains(value.toLocal8Bit()), "not stored in the locale's encoding");
}

void TestIniSettings::longValuesReadBackCut()
{
    const QString longValue = QString(300, u'x');
    Settings(m_ini).setValue(Settings::kSnapshotFolder, longValue);
    QCOMPARE(Settings(m_ini).value(Settings::kSnapshotFolder), longValue.left(254));
    QVERIFY2(bytes(m_ini).contains(longValue.toLatin1()), "the file lost part of the value");

    // A two-byte character split by the cut is dropped, not garbled.
    if (QStringLiteral("é").toLocal8Bit().size() != 2)
        QSKIP("the rest needs a locale encoding where é takes two bytes");
    Settings(m_ini).setValue(Settings::kWorkingFolder, QString(253, u'a') + QStringLiteral("éé"));
    QCOMPARE(Settings(m_ini).value(Settings::kWorkingFolder), QString(253, u'a'));
}

void TestIniSettings::rewritesKeepEveryOtherByte()
{
    // Hand-made the way the kit ships it: its own line breaks, spacing and comments.
    writeBytes(m_ini, "; firmware offsets, do not edit\n"
                      "[Tessel]\n"
                      "  start = 0\n"
                      "DireccionNombres=  123456 \n"
                      "DireccionRegistros=654321\n"
                      "\n"
                      "[other]\n"
                      "start=9\n");
    Settings(m_ini).setValue(Settings::kStart, QStringLiteral("1"));
    Settings(m_ini).setValue(Settings::kSnapshotFolder, QStringLiteral("/a"));
    Settings(m_ini).setValue(Settings::kSnapshotFolder, QStringLiteral("/b"));
    QCOMPARE(bytes(m_ini), QByteArray("; firmware offsets, do not edit\n"
                                      "[Tessel]\n"
                                      "start=1\n"
                                      "DireccionNombres=  123456 \n"
                                      "DireccionRegistros=654321\n"
                                      "DirectorioSnaps=/b\n"
                                      "\n"
                                      "[other]\n"
                                      "start=9\n"));
    QCOMPARE(Settings(m_ini).value(QStringLiteral("direccionnombres"), QStringLiteral("TESSEL")),
             QStringLiteral("123456"));
}

void TestIniSettings::bytesInvalidInTheLocaleSurvive()
{
    const QByteArray content("[tessel]\r\nDirectorioSnaps=/mnt/\xFF\xFE\xC3(\r\n"
                             "DireccionNombres=49152\r\n");
    writeBytes(m_ini, content);
    QCOMPARE(Settings(m_ini).value(Settings::kNamesOffset), QStringLiteral("49152"));
    QVERIFY(Settings(m_ini).value(Settings::kSnapshotFolder).startsWith(QStringLiteral("/mnt/")));
    Settings(m_ini).setValue(Settings::kStart, QStringLiteral("1"));
    QCOMPARE(bytes(m_ini), content + "start=1\r\n");
}

void TestIniSettings::failedWritesChangeNothing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readAfter");
    const QString ok = QStringLiteral("/snaps");
    QTest::newRow("missing folder") << QStringLiteral("gone/tessel.ini") << ok << QString();
    QTest::newRow("folder at the path") << QStringLiteral("tessel.ini") << ok << QString();
    QTest::newRow("line break in value")
        << QStringLiteral("kit.ini") << QStringLiteral("/x\nDireccionNombres=0")
        << QStringLiteral("/old");
}

void TestIniSettings::failedWritesChangeNothing()
{
    QFETCH(QString, file);
    QFETCH(QString, value);
    QFETCH(QString, readAfter);
    writeBytes(m_dir->filePath(QStringLiteral("kit.ini")), "[tessel]\r\nDirectorioSnaps=/old\r\n");
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("tessel.ini/inside")));
    const auto before = snapshot(m_dir->path());

    const QString ini = m_dir->filePath(file);
    Settings(ini).setValue(Settings::kSnapshotFolder, value);
    QVERIFY(!writeProfileStringToFile(ini, "tessel", "DirectorioSnaps", value.toLocal8Bit()));
    QCOMPARE(snapshot(m_dir->path()), before);
    QCOMPARE(Settings(ini).value(Settings::kSnapshotFolder), readAfter);
}

void TestIniSettings::writeFailingPartWayKeepsTheOldFile()
{
#ifndef Q_OS_UNIX
    QSKIP("needs fork and setrlimit");
#else
    const QByteArray old("[tessel]\r\nstart=1\r\nDireccionNombres=49152\r\n");
    writeBytes(m_ini, old);
    const auto before = snapshot(m_dir->path());
    const QByteArray big(qsizetype(64) * 1024, 'p');

    // Files may not grow past 4 KiB in the child, so the new content is cut short.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(2);
        _exit(writeProfileStringToFile(m_ini, "tessel", "DirectorioSnaps", big) ? 1 : 0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0); // 1: the write claimed success
    QCOMPARE(snapshot(m_dir->path()), before);

    // Without the limit the same write goes through.
    QVERIFY(writeProfileStringToFile(m_ini, "tessel", "DirectorioSnaps", big));
    QCOMPARE(bytes(m_ini), old + "DirectorioSnaps=" + big + "\r\n");
#endif
}

// A pipe nobody writes to would block a plain read for ever.
void TestIniSettings::pipeInPlaceOfTheFileNeverBlocks()
{
#ifdef Q_OS_UNIX
    const QString ini = m_dir->filePath(QStringLiteral("tessel.ini"));
    QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
    QCOMPARE(Settings(ini).value(Settings::kStart), QString());
    QVERIFY(!writeProfileStringToFile(ini, "tessel", "start", "1"));
    QVERIFY(!QFileInfo(ini).isFile()); // still the pipe
#else
    QSKIP("pipes are a Unix matter here");
#endif
}

QTEST_GUILESS_MAIN(TestIniSettings)
#include "tst_ini_settings.moc"
