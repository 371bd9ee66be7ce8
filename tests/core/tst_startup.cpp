// Start-up on each settings situation, on a temporary program folder.
#include "core/Session.h"
#include "core/Settings.h"
#include "support/FakeVolumes.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tessel;
using tessel::test::ScriptedPrompts;

namespace { } // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunWritesTheDefaults();
    void laterRunReopensTheRememberedFolder();
    void noSettingsFileEndsQuietly();
    void startThatIsNoNumberEndsQuietly_data();
    void startThatIsNoNumberEndsQuietly();
    void missingWorkingFolderIsCreatedAndShown();
    void deletedRememberedFolderGivesWayToWorkingFolder();
    void rememberedFolderOnAnotherDriveIsKept();

private:
    void start();
    QString setting(const QString& key) const { return LeerIni(m_ini, kSection, key); }

    QString m_cwd;
    QTemporaryDir* m_dir = nullptr;
    QString m_kit;
    QString m_ini;
    QString m_launch; // the folder the program was started from
    ScriptedPrompts m_prompts;
    test::FakeVolumes* m_volumes = nullptr;
    Session* m_session = nullptr;
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
    delete m_session;
    m_session = nullptr;
    delete m_volumes;
    delete m_dir;
    QDir::setCurrent(m_cwd);
}

void TestStartup::start()
{
    QVERIFY(QDir::setCurrent(m_launch));
    m_session = new Session(Kit(m_kit), m_prompts, *m_volumes);
    m_session->table.NumSnaps = 3;
    m_session->table.TablaSnaps[0][0] = "left over";
    startUp(*m_session);
    QCOMPARE(m_session->RutaIni, m_ini);
    QCOMPARE(m_session->table.NumSnaps, 0);
    QVERIFY(m_session->table.TablaSnaps[0][0].isEmpty());
    QVERIFY(m_prompts.calls().isEmpty());
}

void TestStartup::firstRunWritesTheDefaults()
{
    QVERIFY(test::writeFile(
        m_ini, "[tessel]\r\nstart=0\r\nDireccionNombres=8192\r\nDireccionRegistros=8448\r\n"));
    start();
    QCOMPARE(setting(kKeyStart), QStringLiteral("1"));
    QCOMPARE(setting(kKeySnapsFolder), m_kit);
    QCOMPARE(setting(kKeyWorkFolder), m_kit + "/flash");
    QCOMPARE(setting(kKeyNamesOffset), QStringLiteral("8192"));
    QCOMPARE(setting(kKeyRegistersOffset), QStringLiteral("8448"));
    QCOMPARE(m_session->browser.path(), m_kit);
    QCOMPARE(m_session->browser.drive(), m_dir->filePath("drive"));
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
    QCOMPARE(m_session->browser.path(), games);
    QTRY_VERIFY(m_session->browser.isFileListLoaded());
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
    QCOMPARE(m_session->browser.path(), m_launch);
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
    QCOMPARE(m_session->browser.path(), m_launch);
}

void TestStartup::missingWorkingFolderIsCreatedAndShown()
{
    QVERIFY(QDir(m_kit + "/flash").removeRecursively());
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=0\n"));
    start();
    QVERIFY(QFileInfo(m_kit + "/flash").isDir());
    QCOMPARE(m_session->browser.path(), m_kit + "/flash");
    QTRY_COMPARE(setting(kKeySnapsFolder), m_kit + "/flash");
    QCOMPARE(setting(kKeyStart), QStringLiteral("0")); // the defaults wait for the next start
    QCOMPARE(QDir::currentPath(), m_launch);
}

void TestStartup::deletedRememberedFolderGivesWayToWorkingFolder()
{
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=1\nDirectorioSnaps="
                                       + m_dir->filePath("drive/gone").toUtf8() + "\n"));
    start();
    QCOMPARE(m_session->browser.path(), m_kit + "/flash");
    QTRY_COMPARE(setting(kKeySnapsFolder), m_kit + "/flash");
}

void TestStartup::rememberedFolderOnAnotherDriveIsKept()
{
    const QString games = m_dir->filePath("usb/games");
    QVERIFY(test::writeFile(m_ini, "[tessel]\nstart=1\nDirectorioSnaps=" + games.toUtf8() + "\n"));
    start();
    QCOMPARE(m_session->browser.drive(), m_dir->filePath("usb"));
    QCOMPARE(m_session->browser.path(), games);
    QCOMPARE(setting(kKeySnapsFolder), games);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
