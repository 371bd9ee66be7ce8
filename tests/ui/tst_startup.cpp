// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up on each settings situation, on a temporary program folder.
#include "browser/FolderBrowser.h"
#include "commands/Session.h"
#include "core/Settings.h"
#include "support/Capabilities.h"
#include "support/FakeVolumes.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "ui/StartUp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#ifdef Q_OS_LINUX
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace tessel;
using tessel::test::ScriptedPrompts;

namespace {

// What the window holds for start-up: the session and the browser, wired.
struct Run
{
    Run(const Kit& kit, Prompts& prompts, const VolumeSource& volumes)
        : session(kit, prompts)
        , browser(kit, session.settings, volumes)
    {
        tellFolderProblems(browser, prompts);
    }

    Session session;
    FolderBrowser browser;
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunWritesTheDefaults_data();
    void firstRunWritesTheDefaults();
    void laterRunReopensTheRememberedFolder();
    void noSettingsFileEndsQuietly();
    void startThatIsNoNumberEndsQuietly_data();
    void startThatIsNoNumberEndsQuietly();
    void missingWorkingFolderIsCreatedAndShown();
    void deletedRememberedFolderGivesWayToWorkingFolder();
    void rememberedFolderOnAnotherDriveIsKept();
    void unreadableRememberedFolderGivesWayToWorkingFolder();
    void firstRunDefaultsLandTogether();
    void pathsOfAnyLengthAndSpellingComeBackWhole_data();
    void pathsOfAnyLengthAndSpellingComeBackWhole();

private:
    void start();
    void start(KitMode mode);
    QString setting(const QString& key) const { return Settings(m_ini).value(key); }

    QString m_cwd;
    QTemporaryDir* m_dir = nullptr;
    QString m_kit;
    QString m_ini;
    QString m_launch; // the folder the program was started from
    ScriptedPrompts m_prompts;
    test::FakeVolumes* m_volumes = nullptr;
    Run* m_run = nullptr;
};

void TestStartup::init()
{
    m_cwd = QDir::currentPath();
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_kit = m_dir->filePath("drive/kit");
    m_ini = m_kit + "/tessel.ini";
    m_launch = m_dir->filePath("drive/launch");
    QVERIFY(QDir().mkpath(m_kit + "/flash"));
    QVERIFY(QDir().mkpath(m_launch));
    QVERIFY(QDir().mkpath(m_dir->filePath("usb/games")));
    m_volumes = new test::FakeVolumes;
    m_volumes->add("/");
    m_volumes->add(m_dir->filePath("drive"));
    m_volumes->add(m_dir->filePath("usb"), "USB");
    m_prompts.clear();
}

void TestStartup::cleanup()
{
    delete m_run;
    m_run = nullptr;
    delete m_volumes;
    delete m_dir;
    QDir::setCurrent(m_cwd);
}

void TestStartup::start()
{
    start(KitMode::Portable);
}

void TestStartup::start(KitMode mode)
{
    QVERIFY(QDir::setCurrent(m_launch));
    m_run = new Run(Kit(m_kit, mode), m_prompts, *m_volumes);
    m_run->session.list.append({"left over", "left over"});
    startUp(m_run->session, m_run->browser);
    QCOMPARE(m_run->session.settings.filePath(), m_ini);
    QCOMPARE(m_run->session.list.count(), 0);
    QVERIFY(m_prompts.calls().isEmpty());
}

// The first start opens where snapshots are: the demo ones beside a
// portable kit, the home folder of an installed copy (its own is hidden).
void TestStartup::firstRunWritesTheDefaults_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("demo"); // the kit holds snapshots/
    QTest::addColumn<QString>("opened"); // below the temporary folder
    QTest::newRow("portable") << false << false << "drive/kit";
    QTest::newRow("portable with demo snapshots") << false << true << "drive/kit/snapshots";
    QTest::newRow("installed") << true << true << "drive/home";
}

void TestStartup::firstRunWritesTheDefaults()
{
    QFETCH(bool, installed);
    QFETCH(bool, demo);
    QFETCH(QString, opened);
    const QByteArray home = qgetenv("HOME");
    const QString folder = m_dir->filePath(opened);
    QVERIFY(QDir().mkpath(m_dir->filePath("drive/home")));
    qputenv("HOME", QFile::encodeName(m_dir->filePath("drive/home")));
    if (demo)
        QVERIFY(QDir().mkpath(m_kit + "/snapshots"));
    QVERIFY(test::writeFile(
        m_ini, "[tessel]\r\nstart=0\r\nDireccionNombres=8192\r\nDireccionRegistros=8448\r\n"));
    start(installed ? KitMode::Installed : KitMode::Portable);
    qputenv("HOME", home);
    QCOMPARE(setting(Settings::kStart), QStringLiteral("1"));
    QCOMPARE(setting(Settings::kSnapshotFolder), folder);
    QCOMPARE(setting(Settings::kWorkingFolder), m_kit + "/flash");
    QCOMPARE(setting(Settings::kNamesOffset), QStringLiteral("8192"));
    QCOMPARE(setting(Settings::kRegistersOffset), QStringLiteral("8448"));
    QCOMPARE(m_run->browser.path(), folder);
    QCOMPARE(m_run->browser.drive(), m_dir->filePath("drive"));
    QCOMPARE(QDir::currentPath(), m_kit + "/flash");
}

void TestStartup::laterRunReopensTheRememberedFolder()
{
    const QString games = m_dir->filePath("drive/games");
    QVERIFY(QDir().mkpath(games));
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=1\nDirectorioSnaps=" + games.toUtf8() + "\n"));
    const QByteArray before = test::readFile(m_ini);
    struct stat was;
    QCOMPARE(::stat(QFile::encodeName(m_ini).constData(), &was), 0);
    start();
    QCOMPARE(m_run->browser.path(), games);
    QTRY_VERIFY(m_run->browser.isFileListLoaded());
    QCOMPARE(test::readFile(m_ini), before);
    // Not even written again: the same file, never replaced.
    struct stat is;
    QCOMPARE(::stat(QFile::encodeName(m_ini).constData(), &is), 0);
    QCOMPARE(is.st_ino, was.st_ino);
}

void TestStartup::noSettingsFileEndsQuietly()
{
    start();
    QVERIFY(!QFile::exists(m_ini));
    QCOMPARE(m_run->browser.path(), m_launch);
    QCOMPARE(QDir::currentPath(), m_kit + "/flash");
}

void TestStartup::startThatIsNoNumberEndsQuietly_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::newRow("abc") << QByteArray("[tessel]\nstart=abc\nDirectorioSnaps=/\n");
    QTest::newRow("empty value") << QByteArray("[tessel]\nstart=\nDirectorioSnaps=/\n");
    QTest::newRow("no key") << QByteArray("[tessel]\nDirectorioSnaps=/\n");
}

void TestStartup::startThatIsNoNumberEndsQuietly()
{
    QFETCH(QByteArray, ini);
    QVERIFY(test::writeFile(m_ini, ini));
    start();
    QCOMPARE(test::readFile(m_ini), ini);
    QCOMPARE(m_run->browser.path(), m_launch);
}

void TestStartup::missingWorkingFolderIsCreatedAndShown()
{
    QVERIFY(QDir(m_kit + "/flash").removeRecursively());
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=0\n"));
    start();
    QVERIFY(QFileInfo(m_kit + "/flash").isDir());
    QCOMPARE(m_run->browser.path(), m_kit + "/flash");
    QTRY_COMPARE(setting(Settings::kSnapshotFolder), m_kit + "/flash");
    QCOMPARE(setting(Settings::kStart),
             QStringLiteral("0")); // the defaults wait for the next start
    QCOMPARE(QDir::currentPath(), m_launch);
}

void TestStartup::deletedRememberedFolderGivesWayToWorkingFolder()
{
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=1\nDirectorioSnaps="
                                       + m_dir->filePath("drive/gone").toUtf8() + "\n"));
    start();
    QCOMPARE(m_run->browser.path(), m_kit + "/flash");
    QTRY_COMPARE(setting(Settings::kSnapshotFolder), m_kit + "/flash");
}

void TestStartup::rememberedFolderOnAnotherDriveIsKept()
{
    const QString games = m_dir->filePath("usb/games");
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=1\nDirectorioSnaps=" + games.toUtf8() + "\n"));
    start();
    QCOMPARE(m_run->browser.drive(), m_dir->filePath("usb"));
    QCOMPARE(m_run->browser.path(), games);
    QTRY_COMPARE(setting(Settings::kSnapshotFolder), games);
}

// As the user might meet it: a folder the program may not read, here with
// root's power to read anything dropped in a child.
void TestStartup::unreadableRememberedFolderGivesWayToWorkingFolder()
{
#ifdef Q_OS_LINUX
    const QString locked = m_dir->filePath("drive/locked");
    QVERIFY(QDir().mkpath(locked));
    QCOMPARE(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=1\nDirectorioSnaps=" + locked.toUtf8() + "\n"));
    QVERIFY(QDir::setCurrent(m_launch));
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (!test::dropFileCapabilities()
            || ::access(QFile::encodeName(locked).constData(), R_OK) == 0)
            _exit(77);
        Run run(Kit(m_kit), m_prompts, *m_volumes);
        startUp(run.session, run.browser);
        const bool ok = m_prompts.calls().isEmpty() && run.browser.path() == m_kit + "/flash"
                        && run.browser.fileListPath() == m_kit + "/flash";
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    ::chmod(QFile::encodeName(locked).constData(), 0755);
    QVERIFY(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        QSKIP("cannot drop root's file capabilities here");
    QCOMPARE(WEXITSTATUS(status), 0);
#else
    QSKIP("needs Linux capabilities");
#endif
}

// A crash between the first run's writes must never leave start=1 alone.
void TestStartup::firstRunDefaultsLandTogether()
{
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=0\nDireccionNombres=8192\n"));
    Settings settings(m_ini);
    QVERIFY(settings.writeFirstRunDefaults(m_kit, m_kit + "/flash"));
    QCOMPARE(test::readFile(m_ini),
             "[tessel]\nstart=1\nDireccionNombres=8192\nDirectorioSnaps=" + m_kit.toUtf8()
                 + "\nDirectorioTrabajo=" + m_kit.toUtf8() + "/flash\n");

    // A folder the file cannot hold (a line break) stores nothing at all.
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=0\n"));
    QVERIFY(!settings.writeFirstRunDefaults("/bad\nfolder", "/w"));
    QCOMPARE(test::readFile(m_ini), QByteArray("[tessel]\nstart=0\n"));

    // With "DirectorioTrabajo" gone, the kit's own working folder stands in.
    QCOMPARE(Settings(Kit(m_kit)).workingFolder(), m_kit + "/flash");
}

void TestStartup::pathsOfAnyLengthAndSpellingComeBackWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("long and accented") << QString(100, u'é') + "/" + QString(100, u'ñ');
    QTest::newRow("trailing blank") << "games ";
    QTest::newRow("leading blanks") << "  games";
    QTest::newRow("in quotes") << "\"games\"";
    QTest::newRow("single quotes") << "'games'";
}

void TestStartup::pathsOfAnyLengthAndSpellingComeBackWhole()
{
    QFETCH(QString, name);
    const QString folder = m_dir->filePath("drive/" + name);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=0\n"));
    Settings settings(m_ini);
    QVERIFY(settings.writeFirstRunDefaults(folder, folder));
    QCOMPARE(settings.snapshotFolder(), folder);
    QCOMPARE(settings.workingFolder(), folder);
    QVERIFY(settings.setSnapshotFolder(folder + "/"));
    QCOMPARE(settings.snapshotFolder(), folder + "/");

    // And start-up finds it again.
    QVERIFY(settings.setSnapshotFolder(folder));
    start();
    QCOMPARE(m_run->browser.path(), folder);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
