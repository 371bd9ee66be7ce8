// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's files live: beside the executable (portable) or in the
// user's data folder, filled from the installed template.
#include "../flash/FlashFixture.h"

#include "core/KitLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessel;
using namespace tessel::test;

namespace {

const QByteArray kTemplateIni = "[tessel]\nstart=0\nDireccionNombres=\nDireccionRegistros=\n";

// For names Qt cannot hold.
bool writeBytes(const QByteArray& path, const QByteArray& bytes)
{
    FILE* file = std::fopen(path.constData(), "wb");
    if (!file)
        return false;
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
    return std::fclose(file) == 0 && written == size_t(bytes.size());
}

// A package unpacked under a temporary root: root/bin, and the template in
// root/share/tessel-zizerev as a package installs it, read-only.
struct Installed
{
    QTemporaryDir dir;
    QString bin = dir.filePath("root/bin");
    QString share = dir.filePath("root/share/tessel-zizerev");
    QString data = dir.filePath("home/.local/share/tessel-zizerev");

    Installed()
    {
        QDir().mkpath(bin);
        QDir().mkpath(share + "/Aspectrum-0.1.8");
        writeFile(share + "/tessel.ini", kTemplateIni);
        writeFile(share + "/help.txt", "help\n");
        writeFile(share + "/Aspectrum-0.1.8/aspectrum", "#!/bin/sh\n");
        QFile::setPermissions(share + "/Aspectrum-0.1.8/aspectrum",
                              QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                  | QFile::ExeOther);
        QFile::setPermissions(share + "/tessel.ini", QFile::ReadOwner | QFile::ReadOther);
    }
    std::optional<KitLocation> locate() const
    {
        QString error;
        std::optional<KitLocation> location = locateKit(QFile::encodeName(bin), data, &error);
        if (!location)
            qWarning("%s", qPrintable(error));
        return location;
    }
};

} // namespace

class TestKitLocation : public QObject
{
    Q_OBJECT

private slots:
    void portableWhenSettingsBesideProgram();
    void installedLivesInDataFolder();
    void refuses_data();
    void refuses();
    void flashRefusesFolderItCannotName();
    void dataFolderWithoutHome_data();
    void dataFolderWithoutHome();
};

void TestKitLocation::portableWhenSettingsBesideProgram()
{
    Installed root;
    QVERIFY(writeFile(root.bin + "/tessel.ini", "[tessel]\nstart=1\n"));
    const std::optional<KitLocation> location = root.locate();
    QVERIFY(location);
    QCOMPARE(location->mode, KitMode::Portable);
    QCOMPARE(location->programFolder, root.bin);
    QVERIFY(!QFileInfo::exists(root.data));

    QCOMPARE(executableFolder(), QFile::encodeName(QCoreApplication::applicationDirPath()));
}

void TestKitLocation::installedLivesInDataFolder()
{
    Installed root;
    const auto installed = treeContents(root.dir.filePath("root"));
    std::optional<KitLocation> location = root.locate();
    QVERIFY(location);
    QCOMPARE(location->mode, KitMode::Installed);
    QCOMPARE(location->programFolder, root.data);
    for (const char* file : {"tessel.ini", "help.txt", "Aspectrum-0.1.8/aspectrum"})
        QCOMPARE(readFile(root.data + QLatin1Char('/') + QLatin1String(file)),
                 readFile(root.share + QLatin1Char('/') + QLatin1String(file)));
    QVERIFY(QFileInfo(root.data + "/Aspectrum-0.1.8/aspectrum").isExecutable());
    // The program writes its settings there.
    QVERIFY(QFileInfo(root.data + "/tessel.ini").permissions() & QFile::WriteOwner);
    QVERIFY(QFileInfo(root.data + "/flash").isDir());
    QCOMPARE(treeContents(root.dir.filePath("root")), installed);

    // Later starts bring back what is missing and keep what the user changed.
    const QByteArray settings = "[tessel]\nstart=1\nDireccionNombres=4096\n";
    const QByteArray ownEmulator = "#!/bin/sh\nexec my-emulator \"$2\"\n";
    QVERIFY(writeFile(root.data + "/tessel.ini", settings));
    QVERIFY(writeFile(root.data + "/Aspectrum-0.1.8/aspectrum", ownEmulator));
    QVERIFY(QFile::remove(root.data + "/help.txt"));
    QVERIFY(QDir(root.data + "/flash").removeRecursively());
    location = root.locate();
    QVERIFY(location);
    QCOMPARE(readFile(root.data + "/tessel.ini"), settings);
    QCOMPARE(readFile(root.data + "/Aspectrum-0.1.8/aspectrum"), ownEmulator);
    QCOMPARE(readFile(root.data + "/help.txt"), QByteArray("help\n"));
    QVERIFY(QFileInfo(root.data + "/flash").isDir());
}

// Each row's name says what is wrong.
void TestKitLocation::refuses_data()
{
    QTest::addColumn<QString>("culprit");
    QTest::newRow("no settings, no template") << "tessel.ini";
    QTest::newRow("data folder a file") << "is a file";
    QTest::newRow("data folder not UTF-8") << "UTF-8";
    QTest::newRow("program folder not UTF-8") << "UTF-8";
    QTest::newRow("program folder unknown") << "cannot be found";
}

void TestKitLocation::refuses()
{
    QFETCH(QString, culprit);
    const QByteArray spoil = QTest::currentDataTag();
    Installed root;
    QByteArray exe = QFile::encodeName(root.bin);
    QString data = root.data;
    if (spoil == "no settings, no template") {
        QVERIFY(QDir(root.share).removeRecursively());
    } else if (spoil == "data folder a file") {
        QVERIFY(QDir().mkpath(QFileInfo(data).absolutePath()));
        QVERIFY(writeFile(data, "x"));
    } else if (spoil == "data folder not UTF-8") {
        data = QFile::decodeName(QFile::encodeName(data) + "\xff");
    } else if (spoil == "program folder not UTF-8") {
        exe += "/kit-\xff"; // need not exist: the name alone is refused
    } else if (spoil == "program folder unknown") {
        exe.clear();
    }

    // Nothing may land in the current folder, the old fallback.
    QTemporaryDir current;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    QString error;
    const std::optional<KitLocation> location = locateKit(exe, data, &error);
    const bool nothingHere = QDir(current.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot);
    QDir::setCurrent(before);
    QVERIFY(!location);
    QVERIFY2(error.contains(culprit), qPrintable(error));
    QVERIFY(nothingHere);
    QVERIFY(!locateKit(exe, data, nullptr));
}

void TestKitLocation::flashRefusesFolderItCannotName()
{
    // The current folder holds a complete kit; the program lies with its
    // settings in a folder whose name is not UTF-8 and is started through a
    // symbolic link. It used to build from the current folder's banks.
    FlashKit current;
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/kit-\xe9";
    const QByteArray program = folder + "/tessel-flash";
    QCOMPARE(::mkdir(folder.constData(), 0755), 0);
    // QTemporaryDir cannot remove what it cannot name.
    const auto renameBack = qScopeGuard([&] {
        ::rename(folder.constData(), (QFile::encodeName(dir.path()) + "/kit").constData());
    });
    QVERIFY(writeBytes(program, readFile(QStringLiteral(TESSEL_FLASH_EXE))));
    QVERIFY(writeBytes(folder + "/tessel.ini", readFile(current.ini())));
    QCOMPARE(::chmod(program.constData(), 0755), 0);
    const QString link = dir.filePath("link");
    QCOMPARE(::symlink(program.constData(), QFile::encodeName(link).constData()), 0);

    const QString out = current.path("built.rom");
    const Run flash =
        run(link, QStringList{"-o", out} + entryArguments(current), current.path(QString()));
    QCOMPARE(flash.status, 1);
    QVERIFY2(flash.err.contains("UTF-8"), qPrintable(flash.err));
    QVERIFY(!QFile::exists(out));
}

// cron, env -i and services start programs without HOME; a relative
// XDG_DATA_HOME is to be ignored. Neither may put the kit in "/" or in
// whatever the current folder is.
void TestKitLocation::dataFolderWithoutHome_data()
{
    QTest::addColumn<bool>("cache"); // the cache folder rather than the data folder
    QTest::addColumn<QByteArray>("home"); // "-" for unset
    QTest::addColumn<QByteArray>("xdg");
    QTest::addColumn<QString>("base"); // "" for the password database's home
    QTest::newRow("neither set") << false << QByteArray("-") << QByteArray("-") << QString();
    QTest::newRow("home empty") << false << QByteArray() << QByteArray("-") << QString();
    QTest::newRow("home relative") << false << QByteArray("me") << QByteArray("-") << QString();
    QTest::newRow("xdg relative") << false << QByteArray("/h") << QByteArray("share")
                                  << "/h/.local/share";
    QTest::newRow("xdg absolute") << false << QByteArray("-") << QByteArray("/x/") << "/x";
    QTest::newRow("cache, neither set") << true << QByteArray("-") << QByteArray("-") << QString();
    QTest::newRow("cache, xdg relative")
        << true << QByteArray("/h") << QByteArray("c") << "/h/.cache";
}

void TestKitLocation::dataFolderWithoutHome()
{
    QFETCH(bool, cache);
    QFETCH(QByteArray, home);
    QFETCH(QByteArray, xdg);
    QFETCH(QString, base);
    const char* variable = cache ? "XDG_CACHE_HOME" : "XDG_DATA_HOME";
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldXdg = qgetenv(variable);
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        oldXdg.isNull() ? qunsetenv(variable) : qputenv(variable, oldXdg);
    });
    home == "-" ? qunsetenv("HOME") : qputenv("HOME", home);
    xdg == "-" ? qunsetenv(variable) : qputenv(variable, xdg);
    if (base.isEmpty())
        base = QFile::decodeName(::getpwuid(::getuid())->pw_dir)
               + (cache ? "/.cache" : "/.local/share");
    QCOMPARE(cache ? userCacheFolder() : userDataFolder(),
             QDir::cleanPath(base) + "/tessel-zizerev");
}

QTEST_GUILESS_MAIN(TestKitLocation)
#include "tst_kit_location.moc"
