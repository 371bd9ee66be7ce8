// The snapshot browser on real folders, with staged drives.
#include "core/Kit.h"
#include "core/Settings.h"
#include "snapshots/FolderBrowser.h"
#include "support/FakeVolumes.h"
#include "support/ScriptedPrompts.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tessel;
using tessel::test::ScriptedPrompts;

namespace {

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

QStringList listed(const FolderBrowser& browser)
{
    QStringList names;
    for (int i = 0; i < browser.listCount(); ++i)
        names << browser.list(i);
    names.sort(Qt::CaseInsensitive);
    return names;
}

} // namespace

class TestFolderBrowser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fileListMatchesSnapshotNamesInAnyCase();
    void fileListKeepsItsFolderWhileFoldersRefresh();
    void folderListShowsFoldersOnly();
    void everyFolderShownIsRemembered();
    void newDriveShowsItsRoot();
    void driveWithoutMediumFallsBackToProgramDrive();
    void folderGoneBeforeOpeningIsReported();
    void sameFolderAgainChangesNothing();
    void systemVolumesHoldFiles();

private:
    QString snapsSetting() const { return Settings(m_ini).snapshotFolder(); }

    QTemporaryDir* m_dir = nullptr;
    QString m_home; // the program folder's drive
    QString m_other; // a second drive
    QString m_ini;
    ScriptedPrompts* m_prompts = nullptr;
    test::FakeVolumes* m_volumes = nullptr;
    FolderBrowser* m_browser = nullptr;
};

void TestFolderBrowser::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_home = m_dir->filePath("home");
    m_other = m_dir->filePath("other");
    QVERIFY(QDir().mkpath(m_home + "/kit"));
    QVERIFY(QDir().mkpath(m_other + "/games"));
    m_ini = m_home + "/kit/tessel.ini";
    m_prompts = new ScriptedPrompts;
    m_volumes = new test::FakeVolumes;
    m_volumes->add("/");
    m_volumes->add(m_home, "HOME");
    m_volumes->add(m_other);
    m_browser = new FolderBrowser(Kit(m_home + "/kit"), Settings(m_ini), *m_prompts, *m_volumes);
}

void TestFolderBrowser::cleanup()
{
    delete m_browser;
    delete m_volumes;
    delete m_prompts;
    delete m_dir;
}

void TestFolderBrowser::fileListMatchesSnapshotNamesInAnyCase()
{
    const QString folder = m_home + "/mixed";
    QVERIFY(QDir().mkpath(folder + "/folder.sna"));
    for (const char* name : {"A.SNA", "b.sna2", "c.Sna", "d.txt", "e.sn", ".hidden.sna",
                             "snafu.z80", "G.Z80", "h.szx", "i.z80.txt", "j.tap"})
        touch(folder + '/' + QLatin1String(name));
    new QAbstractItemModelTester(m_browser->fileModel(), m_browser);

    QCOMPARE(m_browser->setPath(folder), BrowserError::None);
    QTRY_COMPARE(listed(*m_browser),
                 (QStringList{"A.SNA", "b.sna2", "c.Sna", "G.Z80", "h.szx", "snafu.z80"}));
    QCOMPARE(m_browser->fileListPath(), folder);
}

// The model re-reads the folders above the listed one in the background;
// the list must stay on its folder all the while.
void TestFolderBrowser::fileListKeepsItsFolderWhileFoldersRefresh()
{
    QVERIFY(QDir().mkpath(m_home + "/a/b/c"));
    touch(m_home + "/a/b/game.sna");
    QCOMPARE(m_browser->setPath(m_home + "/a"), BrowserError::None);
    QCOMPARE(m_browser->setPath(m_home + "/a/b"), BrowserError::None);
    const QPersistentModelIndex root = m_browser->fileListRoot();
    QTRY_COMPARE(m_browser->listCount(), 1);
    touch(m_home + "/a/new.sna"); // makes the model read the folder above again
    QTest::qWait(200);
    QVERIFY(root.isValid());
    QCOMPARE(QModelIndex(root), m_browser->fileListRoot());
    QCOMPARE(m_browser->list(0), QStringLiteral("game.sna"));
}

void TestFolderBrowser::folderListShowsFoldersOnly()
{
    QVERIFY(QDir().mkpath(m_home + "/tree/one"));
    QVERIFY(QDir().mkpath(m_home + "/tree/two"));
    QVERIFY(QDir().mkpath(m_home + "/tree/.secret"));
    touch(m_home + "/tree/game.sna");
    QCOMPARE(m_browser->setPath(m_home + "/tree"), BrowserError::None);

    QFileSystemModel* folders = m_browser->folderModel();
    const QModelIndex tree = folders->index(m_home + "/tree");
    QVERIFY(tree.isValid());
    folders->fetchMore(tree);
    QTRY_COMPARE(folders->rowCount(tree), 2);
    QStringList names{folders->fileName(folders->index(0, 0, tree)),
                      folders->fileName(folders->index(1, 0, tree))};
    names.sort();
    QCOMPARE(names, (QStringList{"one", "two"}));
}

void TestFolderBrowser::everyFolderShownIsRemembered()
{
    const QString empty = m_home + "/empty";
    QVERIFY(QDir().mkpath(empty));
    QCOMPARE(m_browser->setPath(empty), BrowserError::None);
    QCOMPARE(snapsSetting(), empty);
    QTRY_COMPARE(m_browser->fileListPath(), empty);
    QCOMPARE(m_browser->listCount(), 0);

    m_browser->openFolder(m_other + "/games");
    QCOMPARE(m_browser->path(), m_other + "/games");
    QCOMPARE(snapsSetting(), m_other + "/games");
    QVERIFY(m_prompts->calls().isEmpty());
}

void TestFolderBrowser::newDriveShowsItsRoot()
{
    QStringList shown;
    connect(m_browser, &FolderBrowser::pathChanged, this, [&](const QString& p) { shown << p; });
    m_browser->setDrive(m_other);
    QCOMPARE(m_browser->drive(), m_other);
    QCOMPARE(m_browser->path(), m_other);
    QCOMPARE(shown, QStringList{m_other});
    QCOMPARE(snapsSetting(), m_other);
    QVERIFY(m_prompts->calls().isEmpty());
    QCOMPARE(m_browser->rootOf(m_other + "/games/x.sna"), m_other);
    QCOMPARE(m_browser->rootOf(m_other + "wise/x"),
             QStringLiteral("/")); // a name prefix is no volume
}

void TestFolderBrowser::driveWithoutMediumFallsBackToProgramDrive()
{
    m_volumes->eject(m_other);
    QStringList drives;
    connect(m_browser, &FolderBrowser::driveChanged, this, [&](const QString& d) { drives << d; });
    m_prompts->answerMessage(Answer::Ok);
    m_browser->setDrive(m_other);

    QCOMPARE(m_prompts->calls().size(), 1);
    const auto warning = m_prompts->last();
    QCOMPARE(warning.text, QStringLiteral("There is not a disk in the selected unit. Insert a disk "
                                          "or change the unit."));
    QCOMPARE(warning.title, QStringLiteral("Tessel Zizerev"));
    QCOMPARE(warning.icon, Icon::Exclamation);
    QCOMPARE(warning.buttons, Buttons::Ok);
    QCOMPARE(drives, (QStringList{m_other, m_home}));
    QCOMPARE(m_browser->drive(), m_home);
    QCOMPARE(m_browser->path(), m_home);
    QCOMPARE(snapsSetting(), m_home);
}

void TestFolderBrowser::folderGoneBeforeOpeningIsReported()
{
    const QString start = m_home + "/start";
    const QString gone = m_home + "/gone";
    QVERIFY(QDir().mkpath(start));
    QCOMPARE(m_browser->setPath(start), BrowserError::None);
    QFile ini(m_ini);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    ini.close();

    m_prompts->answerMessage(Answer::Ok);
    m_browser->openFolder(gone);
    QCOMPARE(m_prompts->calls().size(), 1);
    QVERIFY(m_prompts->last().text.contains(gone));
    QCOMPARE(m_prompts->last().icon, Icon::Exclamation);
    QCOMPARE(m_browser->path(), start);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), before);

    QCOMPARE(m_browser->setPath(gone), BrowserError::PathNotFound);
    QCOMPARE(m_prompts->calls().size(), 1); // start-up handles it without a word
}

void TestFolderBrowser::sameFolderAgainChangesNothing()
{
    QCOMPARE(m_browser->setPath(m_home), BrowserError::None);
    QVERIFY(QFile::remove(m_ini));
    QCOMPARE(m_browser->setPath(m_home + "/"), BrowserError::None);
    QVERIFY(!QFile::exists(m_ini));
}

void TestFolderBrowser::systemVolumesHoldFiles()
{
    const QList<Volume> volumes = SystemVolumes().volumes();
    QVERIFY(!volumes.isEmpty());
    for (const Volume& volume : volumes) {
        QVERIFY2(!volume.root.startsWith("/proc") && !volume.root.startsWith("/sys")
                     && !volume.root.startsWith("/dev"),
                 qPrintable(volume.root));
    }
    QVERIFY(!SystemVolumes().rootOf(QDir::currentPath()).isEmpty());
}

QTEST_GUILESS_MAIN(TestFolderBrowser)
#include "tst_folder_browser.moc"
