// SPDX-License-Identifier: GPL-3.0-or-later
// The Debian package, packed by cpack, unpacked into a throwaway root and
// run from there as an installed copy, with HOME in a temporary folder.
#include "../flash/FlashFixture.h"

#include "core/Settings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tessel;
using namespace tessel::test;

class TestDebPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void packageHoldsTheInstalledLayout();
    void flashWorksFromTheDataFolder();
    void windowStartsInTheDataFolder();
    void packagePassesTheLinters();

private:
    QProcessEnvironment environment() const;
    QString program(const char* name) const { return m_root + "/usr/bin/" + QLatin1String(name); }

    QTemporaryDir m_dir;
    QString m_package;
    QString m_root;
    QMap<QString, QByteArray> m_installed;
    std::unique_ptr<QTemporaryDir> m_home;
    QString m_data;
};

void TestDebPackage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString out = m_dir.filePath("packages");
    // Packing sanitizer builds on a busy machine takes minutes.
    const Run cpack = run(QStringLiteral(TESSEL_CPACK),
                          {"-G", "DEB", "--config", QStringLiteral(TESSEL_CPACK_CONFIG), "-B", out},
                          {}, QProcessEnvironment::systemEnvironment(), 10 * 60 * 1000);
    QVERIFY2(cpack.status == 0, qPrintable(cpack.out + cpack.err));
    const Run arch = run("dpkg", {"--print-architecture"});
    QCOMPARE(arch.status, 0);
    m_package =
        out + QStringLiteral("/tessel-zizerev_" TESSEL_VERSION "_%1.deb").arg(arch.out.trimmed());
    QVERIFY2(QFile::exists(m_package), qPrintable(QDir(out).entryList().join(QLatin1Char(' '))));

    m_root = m_dir.filePath("root");
    const Run unpack = run("dpkg", {"-x", m_package, m_root});
    QVERIFY2(unpack.status == 0, qPrintable(unpack.err));
    m_installed = treeContents(m_root);
}

void TestDebPackage::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_data = m_home->filePath(".local/share/tessel-zizerev");
}

void TestDebPackage::cleanup()
{
    // An installed copy writes only in the user's folders.
    QVERIFY(treeContents(m_root) == m_installed);
    m_home.reset();
}

QProcessEnvironment TestDebPackage::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", m_home->path());
    environment.remove("XDG_DATA_HOME");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    return environment;
}

void TestDebPackage::packageHoldsTheInstalledLayout()
{
    QStringList files;
    for (auto it = m_installed.cbegin(); it != m_installed.cend(); ++it) {
        if (!it.value().endsWith("<dir>"))
            files << it.key();
    }
    QStringList wanted{"usr/bin/tessel-flash",
                       "usr/bin/tessel-screen",
                       "usr/bin/tessel-zizerev",
                       "usr/share/applications/tessel-zizerev.desktop",
                       "usr/share/doc/tessel-zizerev/changelog.gz",
                       "usr/share/doc/tessel-zizerev/copyright",
                       "usr/share/icons/hicolor/scalable/apps/tessel-zizerev.svg",
                       "usr/share/man/man1/tessel-flash.1.gz",
                       "usr/share/man/man1/tessel-screen.1.gz",
                       "usr/share/man/man1/tessel-zizerev.1.gz",
                       QStringLiteral("usr/share/metainfo/" TESSEL_APP_ID ".metainfo.xml"),
                       "usr/share/tessel-zizerev/Aspectrum-0.1.8/aspectrum",
                       "usr/share/tessel-zizerev/help.txt",
                       "usr/share/tessel-zizerev/tessel.ini"};
    for (const char* size : {"48x48", "96x96", "256x256"})
        wanted << QString("usr/share/icons/hicolor/%1/apps/tessel-zizerev.png")
                      .arg(QLatin1String(size));
    wanted.sort();
    // Exact: no firmware, no demo snapshots, nothing of the build tree.
    QCOMPARE(files, wanted);

    // Dependencies come from the binaries, not from a hand-kept list.
    const Run depends = run("dpkg-deb", {"-f", m_package, "Depends"});
    QCOMPARE(depends.status, 0);
    for (const char* library : {"libqt6core6", "libqt6widgets6", "libc6", "libz80ex1"})
        QVERIFY2(depends.out.contains(QLatin1String(library)), qPrintable(depends.out));
    const Run recommends = run("dpkg-deb", {"-f", m_package, "Recommends"});
    for (const char* recommended : {"qt6-translations-l10n", "opense-basic"})
        QVERIFY2(recommends.out.contains(QLatin1String(recommended)), qPrintable(recommends.out));
    QVERIFY(readFile(m_root + "/usr/share/doc/tessel-zizerev/copyright")
                .contains("License: GPL-3.0-or-later"));
}

void TestDebPackage::flashWorksFromTheDataFolder()
{
    FlashKit snapshots;
    const QString out = m_home->filePath("cart.rom");
    const QStringList arguments = QStringList{"-o", out} + entryArguments(snapshots);

    // The first run makes the data folder from the packaged template (how it
    // is filled is the kit location's test) and asks for the firmware there.
    Run build = run(program("tessel-flash"), arguments, m_home->path(), environment());
    QCOMPARE(build.status, 1);
    QVERIFY2(build.err.contains("bank1.rom")
                 && build.err.contains(QLatin1Char('"') + m_data + QLatin1Char('"')),
             qPrintable(build.err));
    QVERIFY(!QFile::exists(out));
    // In Spanish on a Spanish system: the translation is in the program.
    QProcessEnvironment spanish = environment();
    spanish.remove("TESSEL_LANGUAGE");
    spanish.insert("LANG", "es_ES.UTF-8");
    build = run(program("tessel-flash"), arguments, m_home->path(), spanish);
    QVERIFY2(build.status == 1 && build.err.contains("Falta el archivo de banco"),
             qPrintable(build.err));

    // Banks and offsets in, as the help text says.
    for (const char* bank : {"bank1.rom", "bank32.rom"})
        QVERIFY(QFile::copy(snapshots.path(QLatin1String(bank)),
                            m_data + QLatin1Char('/') + QLatin1String(bank)));
    const QString ini = m_data + "/tessel.ini";
    QVERIFY(writeFile(ini, readFile(ini)
                               .replace("DireccionNombres=\n", "DireccionNombres=4096\n")
                               .replace("DireccionRegistros=\n", "DireccionRegistros=12288\n")));
    build = run(program("tessel-flash"), arguments, m_home->path(), environment());
    QVERIFY2(build.status == 0, qPrintable(build.err));
    const QByteArray wanted = snapshots.expected(4096, 12288);
    QVERIFY2(readFile(out) == wanted, firstDifference(readFile(out), wanted).constData());
}

void TestDebPackage::windowStartsInTheDataFolder()
{
    QProcess window;
    window.setProcessEnvironment(environment());
    window.setWorkingDirectory(m_home->path());
    window.start(program("tessel-zizerev"), QStringList());
    QVERIFY(window.waitForStarted());
    const QString ini = m_data + "/tessel.ini";
    // The working folder is the last of the first-run keys to be written.
    QTRY_COMPARE_WITH_TIMEOUT(Settings(ini).value(Settings::kWorkingFolder), m_data + "/flash",
                              15000);
    // Its own folder is hidden: the first start opens the home folder.
    QCOMPARE(Settings(ini).value(Settings::kSnapshotFolder), m_home->path());
    QCOMPARE(window.state(), QProcess::Running);
    window.kill();
    window.waitForFinished();
    QVERIFY(QFile::exists(m_data + "/help.txt"));
}

void TestDebPackage::packagePassesTheLinters()
{
    const QString desktop = m_root + "/usr/share/applications/tessel-zizerev.desktop";
    const QString metainfo =
        m_root + QStringLiteral("/usr/share/metainfo/" TESSEL_APP_ID ".metainfo.xml");
    struct Check
    {
        const char* tool;
        QStringList arguments;
    };
    const QList<Check> checks{
        {"desktop-file-validate", {desktop}},
        {"appstreamcli", {"validate", "--no-net", metainfo}},
        // Errors fail; the warnings and notes kept are listed in the README.
        {"lintian", {"--fail-on", "error", m_package}},
    };
    for (const Check& check : checks) {
        const QString tool = QStandardPaths::findExecutable(QLatin1String(check.tool));
        if (tool.isEmpty()) {
            qWarning("%s is not installed; not run", check.tool);
            continue;
        }
        const Run result = run(tool, check.arguments);
        QVERIFY2(result.status == 0, qPrintable(result.out + result.err));
    }
}

QTEST_GUILESS_MAIN(TestDebPackage)
#include "tst_deb_package.moc"
