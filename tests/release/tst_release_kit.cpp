// SPDX-License-Identifier: GPL-3.0-or-later
// The release archive, packed by cpack and unpacked the way a user would.
#include "../flash/FlashFixture.h"

#include "core/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <memory>

using namespace tessel;
using namespace tessel::test;

namespace {

// "Key=Value" lines of a desktop entry's main group.
QMap<QString, QString> desktopKeys(const QString& path)
{
    QMap<QString, QString> keys;
    const QStringList lines = QString::fromUtf8(readFile(path)).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

const QString kMetainfo = QStringLiteral("share/metainfo/" TESSEL_APP_ID ".metainfo.xml");
const QString kDesktop = QStringLiteral("share/applications/tessel-zizerev.desktop");

} // namespace

class TestReleaseKit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void archiveHoldsTheKitOnly();
    void programsRunFromTheUnpackedKit();
    void templateWaitsForTheFirmware();
    void buildsOnceTheFirmwareIsIn();
    void menuEntryFitsIconsAndVersion();
    void readmeMenuCommandsWork();
    void desktopEntryValidates();
    void metainfoValidates();

private:
    QTemporaryDir m_packages;
    QString m_archive;
    // Each test gets a fresh unpacked kit, in a path with a space.
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_kit;
};

void TestReleaseKit::initTestCase()
{
    QVERIFY(m_packages.isValid());
    const Run cpack =
        run(QStringLiteral(TESSEL_CPACK),
            {QStringLiteral("-G"), QStringLiteral("TGZ"), QStringLiteral("--config"),
             QStringLiteral(TESSEL_CPACK_CONFIG), QStringLiteral("-B"), m_packages.path()});
    QVERIFY2(cpack.status == 0, qPrintable(cpack.out + cpack.err));
    const QStringList archives =
        QDir(m_packages.path()).entryList({QStringLiteral("*.tar.gz")}, QDir::Files);
    QCOMPARE(archives.size(), 1);
    const QString& name = archives.first();
    QVERIFY2(name.startsWith(QStringLiteral("tessel-zizerev-" TESSEL_VERSION "-linux-")),
             qPrintable(name));
    if (QSysInfo::currentCpuArchitecture() == QStringLiteral("x86_64"))
        QCOMPARE(name, QStringLiteral("tessel-zizerev-" TESSEL_VERSION "-linux-x86_64.tar.gz"));
    m_archive = m_packages.filePath(name);
}

void TestReleaseKit::init()
{
    m_dir =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/release kit-XXXXXX"));
    QVERIFY(m_dir->isValid());
    const Run tar = run(QStringLiteral("tar"),
                        {QStringLiteral("-xzf"), m_archive, QStringLiteral("-C"), m_dir->path()});
    QVERIFY2(tar.status == 0, qPrintable(tar.err));
    m_kit = m_dir->filePath(QStringLiteral(TESSEL_RELEASE_FOLDER));
}

void TestReleaseKit::cleanup()
{
    m_dir.reset();
}

void TestReleaseKit::archiveHoldsTheKitOnly()
{
    const Run list = run(QStringLiteral("tar"), {QStringLiteral("-tzf"), m_archive});
    QCOMPARE(list.status, 0);
    const QString top = QStringLiteral(TESSEL_RELEASE_FOLDER "/");
    QStringList files;
    QStringList folders;
    for (const QString& entry : list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QVERIFY2(entry.startsWith(top), qPrintable(entry));
        (entry.endsWith(QLatin1Char('/')) ? folders : files) << entry.mid(top.size());
    }
    files.sort();
    // Exact: no placeholder banks, no demo snapshots, nothing of Qt.
    QStringList wanted{QStringLiteral("Aspectrum-0.1.8/aspectrum"),
                       QStringLiteral("README"),
                       QStringLiteral("help.txt"),
                       kMetainfo,
                       kDesktop,
                       QStringLiteral("tessel-flash"),
                       QStringLiteral("tessel-screen"),
                       QStringLiteral("tessel-zizerev"),
                       QStringLiteral("tessel.ini")};
    for (const char* size : {"48x48", "96x96", "256x256"})
        wanted << QStringLiteral("share/icons/hicolor/%1/apps/tessel-zizerev.png")
                      .arg(QLatin1String(size));
    wanted.sort();
    QCOMPARE(files.join(QLatin1Char(' ')), wanted.join(QLatin1Char(' ')));
    QVERIFY(folders.contains(QStringLiteral("flash/")));
}

void TestReleaseKit::programsRunFromTheUnpackedKit()
{
    const QString kit = m_kit;
    for (const char* name :
         {"tessel-zizerev", "tessel-flash", "tessel-screen", "Aspectrum-0.1.8/aspectrum"})
        QVERIFY2(QFileInfo(kit + QLatin1Char('/') + QLatin1String(name)).isExecutable(), name);
    for (const char* name : {"README", "help.txt", "tessel.ini"})
        QVERIFY2(!QFileInfo(kit + QLatin1Char('/') + QLatin1String(name)).isExecutable(), name);

    const Run version = run(kit + QStringLiteral("/tessel-flash"), {QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out.trimmed(), QStringLiteral("tessel-flash " TESSEL_VERSION));
    // Spanish ships inside the programs: no file beside them to lose.
    QProcessEnvironment spanish = QProcessEnvironment::systemEnvironment();
    spanish.remove(QStringLiteral("TESSEL_LANGUAGE"));
    spanish.insert(QStringLiteral("LANG"), QStringLiteral("es_ES.UTF-8"));
    const Run flash =
        run(kit + QStringLiteral("/tessel-flash"), {QStringLiteral("--force")}, kit, spanish);
    QVERIFY2(flash.err.contains(QStringLiteral("--force solo va con --extract.")),
             qPrintable(flash.err));
    const Run screen = run(kit + QStringLiteral("/tessel-screen"), {}, kit, spanish);
    QVERIFY2(screen.err.contains(QStringLiteral("Indique una instantánea")),
             qPrintable(screen.err));

    // The window starts from the kit and does its first run, leaving the
    // firmware's offsets to the user.
    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    window.setProcessEnvironment(environment);
    window.start(kit + QStringLiteral("/tessel-zizerev"), QStringList());
    QVERIFY(window.waitForStarted());
    const QString ini = kit + QStringLiteral("/tessel.ini");
    // The working folder is the last of the first-run keys to be written.
    QTRY_COMPARE_WITH_TIMEOUT(Settings(ini).value(Settings::kWorkingFolder),
                              QFileInfo(kit).canonicalFilePath() + QStringLiteral("/flash"), 15000);
    QCOMPARE(Settings(ini).value(Settings::kStart), QStringLiteral("1"));
    QCOMPARE(Settings(ini).value(Settings::kNamesOffset), QString());
    QCOMPARE(window.state(), QProcess::Running);
    window.kill();
    window.waitForFinished();

    // Qt must come from the system: every library resolves, and no search
    // path leads back into the build tree (or anywhere else).
    for (const char* name : {"tessel-zizerev", "tessel-flash", "tessel-screen"}) {
        const QString program = kit + QLatin1Char('/') + QLatin1String(name);
        const Run ldd = run(QStringLiteral("ldd"), {program});
        QVERIFY2(ldd.status == 0 && !ldd.out.contains(QStringLiteral("not found")),
                 qPrintable(ldd.out + ldd.err));
        const Run dynamic = run(QStringLiteral("readelf"), {QStringLiteral("-d"), program});
        if (dynamic.status == -1)
            QSKIP("readelf is not installed");
        QCOMPARE(dynamic.status, 0);
        QVERIFY2(!dynamic.out.contains(QStringLiteral("RPATH"))
                     && !dynamic.out.contains(QStringLiteral("RUNPATH")),
                 qPrintable(dynamic.out));
    }
}

void TestReleaseKit::templateWaitsForTheFirmware()
{
    const QString kit = m_kit;
    const QString ini = kit + QStringLiteral("/tessel.ini");
    const QString text = QString::fromUtf8(readFile(ini));
    QCOMPARE(Settings(ini).value(Settings::kStart), QStringLiteral("0"));
    // Present, so the user sees what to fill in; empty, since only the firmware knows.
    for (const QString& key : {Settings::kNamesOffset, Settings::kRegistersOffset}) {
        const QRegularExpression line(QStringLiteral("^%1=[ \\t]*$").arg(key),
                                      QRegularExpression::MultilineOption);
        QVERIFY2(text.contains(line), qPrintable(text));
    }
    const QString readme = QString::fromUtf8(readFile(kit + QStringLiteral("/README")));
    for (const QString& firmware : {QStringLiteral("bank1.rom"), QStringLiteral("bank32.rom"),
                                    Settings::kNamesOffset, Settings::kRegistersOffset})
        QVERIFY2(readme.contains(firmware), qPrintable(firmware));

    // Until the firmware is in, a build fails and writes nothing.
    FlashKit snapshots;
    const QString out = m_dir->filePath(QStringLiteral("cart.rom"));
    const QStringList arguments =
        QStringList{QStringLiteral("-o"), out} + entryArguments(snapshots);
    Run build = run(kit + QStringLiteral("/tessel-flash"), arguments);
    QCOMPARE(build.status, 1);
    QVERIFY2(build.err.contains(QStringLiteral("bank1.rom")), qPrintable(build.err));
    QVERIFY(!QFile::exists(out));

    for (const char* bank : {"bank1.rom", "bank32.rom"})
        QVERIFY(QFile::copy(snapshots.path(QLatin1String(bank)),
                            kit + QLatin1Char('/') + QLatin1String(bank)));
    build = run(kit + QStringLiteral("/tessel-flash"), arguments);
    QCOMPARE(build.status, 1);
    QVERIFY2(build.err.contains(Settings::kNamesOffset), qPrintable(build.err));
    QVERIFY(!QFile::exists(out));
}

void TestReleaseKit::buildsOnceTheFirmwareIsIn()
{
    const QString kit = m_kit;
    FlashKit snapshots;
    for (const char* bank : {"bank1.rom", "bank32.rom"})
        QVERIFY(QFile::copy(snapshots.path(QLatin1String(bank)),
                            kit + QLatin1Char('/') + QLatin1String(bank)));
    // As a user fills them in with a text editor.
    const QString ini = kit + QStringLiteral("/tessel.ini");
    QVERIFY(writeFile(ini, readFile(ini)
                               .replace("DireccionNombres=\n", "DireccionNombres=4096\n")
                               .replace("DireccionRegistros=\n", "DireccionRegistros=12288\n")));
    QCOMPARE(Settings(ini).value(Settings::kNamesOffset), QStringLiteral("4096"));
    QCOMPARE(Settings(ini).value(Settings::kRegistersOffset), QStringLiteral("12288"));

    const QString program = kit + QStringLiteral("/tessel-flash");
    const QString own = m_dir->filePath(QStringLiteral("own.rom"));
    Run build = run(program, QStringList{QStringLiteral("-o"), own} + entryArguments(snapshots));
    QVERIFY2(build.status == 0, qPrintable(build.err));
    const QByteArray wanted = snapshots.expected(4096, 12288);
    QVERIFY2(readFile(own) == wanted, firstDifference(readFile(own), wanted).constData());

    const QString given = m_dir->filePath(QStringLiteral("given.rom"));
    build = run(program,
                QStringList{QStringLiteral("--kit"), kit, QStringLiteral("-o"), given}
                    + entryArguments(snapshots),
                snapshots.path(QString()));
    QVERIFY2(build.status == 0, qPrintable(build.err));
    QVERIFY(readFile(given) == wanted);
}

void TestReleaseKit::menuEntryFitsIconsAndVersion()
{
    const QString kit = m_kit;
    const QMap<QString, QString> desktop = desktopKeys(kit + QLatin1Char('/') + kDesktop);
    QCOMPARE(desktop.value(QStringLiteral("Exec")), QStringLiteral("tessel-zizerev"));
    const QString icon = desktop.value(QStringLiteral("Icon"));
    for (int size : {48, 96, 256}) {
        const QImage image(
            kit + QStringLiteral("/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(icon));
        QCOMPARE(image.size(), QSize(size, size));
    }

    QFile metainfo(kit + QLatin1Char('/') + kMetainfo);
    QVERIFY(metainfo.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&metainfo);
    QMap<QString, QString> found;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString element = xml.name().toString();
        if (element == QStringLiteral("release"))
            found.insert(element, xml.attributes().value(QStringLiteral("version")).toString());
        else if (element == QStringLiteral("id") || element == QStringLiteral("launchable"))
            found.insert(element, xml.readElementText());
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(found.value(QStringLiteral("id")), QStringLiteral(TESSEL_APP_ID));
    QCOMPARE(found.value(QStringLiteral("launchable")), QFileInfo(kDesktop).fileName());
    QCOMPARE(found.value(QStringLiteral("release")), QStringLiteral(TESSEL_VERSION));
}

void TestReleaseKit::readmeMenuCommandsWork()
{
    // The space in the kit's path: the Exec line must quote it.
    const QString kit = m_kit;
    const QString readme = QString::fromUtf8(readFile(kit + QStringLiteral("/README")));
    const qsizetype section = readme.indexOf(QStringLiteral("application menu\n"));
    QVERIFY(section > 0);
    QStringList commands;
    const qsizetype end = readme.indexOf(QStringLiteral("\n\n\n"), section);
    for (const QString& line : readme.mid(section, end - section).split(QLatin1Char('\n'))) {
        static const QRegularExpression command(QStringLiteral("^  (mkdir|sed|cp) "));
        if (line.contains(command))
            commands << line.trimmed();
    }
    QCOMPARE(commands.size(), 3);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString home = m_dir->filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(home));
    environment.insert(QStringLiteral("HOME"), home);
    const Run shell =
        run(QStringLiteral("sh"), {QStringLiteral("-ec"), commands.join(QLatin1Char('\n'))}, kit,
            environment);
    QVERIFY2(shell.status == 0, qPrintable(shell.err));

    const QString entry =
        home + QStringLiteral("/.local/share/applications/tessel-zizerev.desktop");
    const QString program = QFileInfo(kit + QStringLiteral("/tessel-zizerev")).canonicalFilePath();
    QCOMPARE(desktopKeys(entry).value(QStringLiteral("Exec")),
             QLatin1Char('"') + program + QLatin1Char('"'));
    QVERIFY(QFile::exists(
        home + QStringLiteral("/.local/share/icons/hicolor/256x256/apps/tessel-zizerev.png")));
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (package desktop-file-utils)");
    const Run check = run(validator, {entry});
    QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
}

void TestReleaseKit::desktopEntryValidates()
{
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (package desktop-file-utils)");
    const Run check = run(validator, {m_kit + QLatin1Char('/') + kDesktop});
    QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
}

void TestReleaseKit::metainfoValidates()
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (validator.isEmpty())
        QSKIP("appstreamcli is not installed (package appstream)");
    const Run check = run(validator, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                      m_kit + QLatin1Char('/') + kMetainfo});
    QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
}

QTEST_GUILESS_MAIN(TestReleaseKit)
#include "tst_release_kit.moc"
