// Where the program's files live: beside the executable (portable) or in the
// user's data folder, filled from the installed template.
#include "../flash/FlashFixture.h"

#include "core/KitLocation.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

using namespace tessel;
using namespace tessel::test;

namespace {

const QByteArray kTemplateIni = "[tessel]\nstart=0\nDireccionNombres=\nDireccionRegistros=\n";
const QByteArray kLauncher = "#!/bin/sh\nexit 0\n";

// For names Qt cannot hold.
bool writeBytes(const QByteArray& path, const QByteArray& bytes)
{
    FILE* file = std::fopen(path.constData(), "wb");
    if (!file)
        return false;
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
    return std::fclose(file) == 0 && written == size_t(bytes.size());
}

// QTemporaryDir cannot remove what it cannot name: give it a name first.
struct RenameBack
{
    QByteArray from;
    QByteArray to;
    ~RenameBack()
    {
        if (!from.isEmpty())
            ::rename(from.constData(), to.constData());
    }
};

// Every file below a folder with its bytes, to show that nothing changed.
QMap<QString, QByteArray> contents(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path),
                     QFileInfo(path).isDir() ? QByteArray("<dir>") : readFile(path));
    }
    return files;
}

// A package unpacked under a temporary root: root/bin and the template in
// root/share/tessel-zizerev.
struct Installed
{
    QTemporaryDir dir;
    QString bin = dir.filePath(QStringLiteral("root/bin"));
    QString share = dir.filePath(QStringLiteral("root/share/tessel-zizerev"));
    QString data = dir.filePath(QStringLiteral("home/.local/share/tessel-zizerev"));

    Installed()
    {
        QDir().mkpath(bin);
        QDir().mkpath(share + QStringLiteral("/Aspectrum-0.1.8"));
        writeFile(share + QStringLiteral("/tessel.ini"), kTemplateIni);
        writeFile(share + QStringLiteral("/help.txt"), "help\n");
        const QString launcher = share + QStringLiteral("/Aspectrum-0.1.8/aspectrum");
        writeFile(launcher, kLauncher);
        QFile::setPermissions(launcher, QFile::permissions(launcher) | QFile::ExeOwner
                                            | QFile::ExeGroup | QFile::ExeOther);
        // As a package installs it: not the user's to change.
        QFile::setPermissions(share + QStringLiteral("/tessel.ini"),
                              QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    std::optional<KitLocation> locate(QString* error = nullptr) const
    {
        return locateKit(QFile::encodeName(bin), data, error);
    }
};

} // namespace

class TestKitLocation : public QObject
{
    Q_OBJECT

private slots:
    void portableWhenSettingsBesideProgram();
    void installedFillsDataFolderFromTemplate();
    void laterStartsKeepTheUsersFiles();
    void refuses_data();
    void refuses();
    void flashRefusesFolderItCannotName();
};

void TestKitLocation::portableWhenSettingsBesideProgram()
{
    Installed root;
    QVERIFY(writeFile(root.bin + QStringLiteral("/tessel.ini"), "[tessel]\nstart=1\n"));
    const std::optional<KitLocation> location = root.locate();
    QVERIFY(location);
    QCOMPARE(location->mode, KitMode::Portable);
    QCOMPARE(location->programFolder, root.bin);
    // A portable kit leaves the user's data folder alone.
    QVERIFY(!QFileInfo::exists(root.data));

    QCOMPARE(executableFolder(), QFile::encodeName(QCoreApplication::applicationDirPath()));
}

void TestKitLocation::installedFillsDataFolderFromTemplate()
{
    Installed root;
    const auto before = contents(root.dir.filePath(QStringLiteral("root")));
    QString error;
    const std::optional<KitLocation> location = root.locate(&error);
    QVERIFY2(location, qPrintable(error));
    QCOMPARE(location->mode, KitMode::Installed);
    QCOMPARE(location->programFolder, root.data);

    QCOMPARE(readFile(root.data + QStringLiteral("/tessel.ini")), kTemplateIni);
    QCOMPARE(readFile(root.data + QStringLiteral("/help.txt")), QByteArray("help\n"));
    const QFileInfo launcher(root.data + QStringLiteral("/Aspectrum-0.1.8/aspectrum"));
    QCOMPARE(readFile(launcher.filePath()), kLauncher);
    QVERIFY(launcher.isExecutable());
    // The program writes its settings there.
    QVERIFY(QFileInfo(root.data + QStringLiteral("/tessel.ini")).permissions() & QFile::WriteOwner);
    QVERIFY(QFileInfo(root.data + QStringLiteral("/flash")).isDir());
    QCOMPARE(contents(root.dir.filePath(QStringLiteral("root"))), before);
}

void TestKitLocation::laterStartsKeepTheUsersFiles()
{
    Installed root;
    QVERIFY(root.locate());
    const QByteArray settings = "[tessel]\nstart=1\nDireccionNombres=4096\n";
    const QByteArray ownEmulator = "#!/bin/sh\nexec my-emulator \"$2\"\n";
    QVERIFY(writeFile(root.data + QStringLiteral("/tessel.ini"), settings));
    QVERIFY(writeFile(root.data + QStringLiteral("/Aspectrum-0.1.8/aspectrum"), ownEmulator));
    QVERIFY(QFile::remove(root.data + QStringLiteral("/help.txt")));
    QVERIFY(QDir(root.data + QStringLiteral("/flash")).removeRecursively());

    const std::optional<KitLocation> location = root.locate();
    QVERIFY(location);
    QCOMPARE(location->mode, KitMode::Installed);
    QCOMPARE(readFile(root.data + QStringLiteral("/tessel.ini")), settings);
    QCOMPARE(readFile(root.data + QStringLiteral("/Aspectrum-0.1.8/aspectrum")), ownEmulator);
    QCOMPARE(readFile(root.data + QStringLiteral("/help.txt")), QByteArray("help\n"));
    QVERIFY(QFileInfo(root.data + QStringLiteral("/flash")).isDir());
}

void TestKitLocation::refuses_data()
{
    QTest::addColumn<QString>("spoil");
    QTest::addColumn<QString>("culprit");
    QTest::newRow("no settings, no template") << "template"
                                              << "tessel.ini";
    QTest::newRow("data folder a file") << "data file"
                                        << "is a file";
    QTest::newRow("working folder blocked") << "flash file"
                                            << "flash";
    QTest::newRow("no data folder") << "no data"
                                    << "HOME";
    QTest::newRow("data folder not UTF-8") << "data name"
                                           << "UTF-8";
    QTest::newRow("program folder unknown") << "no exe"
                                            << "cannot be found";
    QTest::newRow("program folder not UTF-8") << "exe name"
                                              << "UTF-8";
}

void TestKitLocation::refuses()
{
    QFETCH(QString, spoil);
    QFETCH(QString, culprit);
    Installed root;
    QByteArray exe = QFile::encodeName(root.bin);
    QString data = root.data;
    RenameBack cleanUp;
    if (spoil == QStringLiteral("template")) {
        QVERIFY(QDir(root.share).removeRecursively());
    } else if (spoil == QStringLiteral("data file")) {
        QVERIFY(QDir().mkpath(QFileInfo(data).absolutePath()));
        QVERIFY(writeFile(data, "x"));
    } else if (spoil == QStringLiteral("flash file")) {
        QVERIFY(QDir().mkpath(data));
        QVERIFY(writeFile(data + QStringLiteral("/flash"), "x"));
    } else if (spoil == QStringLiteral("no data")) {
        data.clear();
    } else if (spoil == QStringLiteral("data name")) {
        data = QFile::decodeName(QFile::encodeName(data) + "\xff");
    } else if (spoil == QStringLiteral("no exe")) {
        exe.clear();
    } else if (spoil == QStringLiteral("exe name")) {
        // A kit really there, under a name Qt cannot hold.
        exe += "/kit-\xff";
        QCOMPARE(::mkdir(exe.constData(), 0755), 0);
        cleanUp.from = exe;
        cleanUp.to = QFile::encodeName(root.bin) + "/kit";
        QVERIFY(writeBytes(exe + "/tessel.ini", kTemplateIni));
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
    // The current folder holds a complete kit; the program lies in a folder
    // whose name is not UTF-8 and is started through a symbolic link. It used
    // to build from the current folder's banks.
    FlashKit current;
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/kit-\xe9";
    QCOMPARE(::mkdir(folder.constData(), 0755), 0);
    const RenameBack cleanUp{folder, QFile::encodeName(dir.path()) + "/kit"};
    const QByteArray program = readFile(QStringLiteral(TESSEL_FLASH_EXE));
    QVERIFY(!program.isEmpty());
    QVERIFY(writeBytes(folder + "/tessel-flash", program));
    QCOMPARE(::chmod((folder + "/tessel-flash").constData(), 0755), 0);
    QCOMPARE(::symlink((folder + "/tessel-flash").constData(),
                       QFile::encodeName(dir.filePath(QStringLiteral("link"))).constData()),
             0);
    QVERIFY(writeBytes(folder + "/tessel.ini", readFile(current.ini())));

    const QString out = current.path(QStringLiteral("built.rom"));
    const Run flash = run(dir.filePath(QStringLiteral("link")),
                          QStringList{QStringLiteral("-o"), out} + entryArguments(current),
                          current.path(QString()));
    QCOMPARE(flash.status, 1);
    QVERIFY2(flash.err.contains(QStringLiteral("UTF-8")), qPrintable(flash.err));
    QVERIFY(!QFile::exists(out));
}

QTEST_GUILESS_MAIN(TestKitLocation)
#include "tst_kit_location.moc"
