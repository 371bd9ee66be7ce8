// SPDX-License-Identifier: GPL-3.0-or-later
// The snapshot browser on real folders, with staged drives.
#include "browser/FolderBrowser.h"
#include "core/Kit.h"
#include "core/Settings.h"
#include "support/FakeVolumes.h"
#include "support/PoolBlocker.h"
#include "support/ScriptedPrompts.h"
#include "ui/StartUp.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

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
    void onlyTheLastOfQuickFolderChangesIsRecorded();
    void folderGoneBeforeItsListIsReportedNotRecorded();
    void drivesFollowMountsAndKeepTheCurrentOne();
    void systemVolumesHoldFiles();
    void nameThatIsNotTextIsRefusedNotMistaken();

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
    m_browser = new FolderBrowser(Kit(m_home + "/kit"), Settings(m_ini), *m_volumes);
    tellFolderProblems(*m_browser, *m_prompts);
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
    for (const char* name :
         {"A.SNA", "b.sna2", "c.Sna", "d.txt", "e.sn", ".hidden.sna", "snafu.z80", "G.Z80", "h.szx",
          "i.z80.txt", "j.tap", "K.TZX", "l.tap.txt"})
        touch(folder + '/' + QLatin1String(name));
    new QAbstractItemModelTester(m_browser->fileModel(), m_browser);

    QCOMPARE(m_browser->setPath(folder), BrowserError::None);
    QTRY_COMPARE(listed(*m_browser), (QStringList{"A.SNA", "b.sna2", "c.Sna", "G.Z80", "h.szx",
                                                  "j.tap", "K.TZX", "snafu.z80"}));
    QCOMPARE(m_browser->fileListPath(), folder);
}

// Changes beside the listed folder leave the list alone.
void TestFolderBrowser::fileListKeepsItsFolderWhileFoldersRefresh()
{
    QVERIFY(QDir().mkpath(m_home + "/a/b/c"));
    touch(m_home + "/a/b/game.sna");
    QCOMPARE(m_browser->setPath(m_home + "/a"), BrowserError::None);
    QCOMPARE(m_browser->setPath(m_home + "/a/b"), BrowserError::None);
    QTRY_COMPARE(m_browser->listCount(), 1);
    touch(m_home + "/a/new.sna");
    QVERIFY(QDir().mkpath(m_home + "/a/d"));
    QTest::qWait(300);
    QCOMPARE(m_browser->fileListPath(), m_home + "/a/b");
    QCOMPARE(listed(*m_browser), QStringList{"game.sna"});
}

void TestFolderBrowser::folderListShowsFoldersOnly()
{
    QVERIFY(QDir().mkpath(m_home + "/tree/one"));
    QVERIFY(QDir().mkpath(m_home + "/tree/Two"));
    QVERIFY(QDir().mkpath(m_home + "/tree/.secret"));
    touch(m_home + "/tree/game.sna");
    QCOMPARE(m_browser->setPath(m_home + "/tree"), BrowserError::None);

    FolderTreeModel* folders = m_browser->folderModel();
    new QAbstractItemModelTester(folders, m_browser);
    QTRY_VERIFY(folders->index(m_home + "/tree").isValid());
    const QModelIndex tree = folders->index(m_home + "/tree");
    QCOMPARE(folders->filePath(tree), m_home + "/tree");
    folders->fetchMore(tree);
    QTRY_COMPARE(folders->rowCount(tree), 2);
    QCOMPARE(folders->fileName(folders->index(0, 0, tree)), QStringLiteral("one"));
    QCOMPARE(folders->fileName(folders->index(1, 0, tree)), QStringLiteral("Two"));
    QVERIFY(!folders->canFetchMore(tree));
}

void TestFolderBrowser::everyFolderShownIsRemembered()
{
    const QString empty = m_home + "/empty";
    QVERIFY(QDir().mkpath(empty));
    QCOMPARE(m_browser->setPath(empty), BrowserError::None);
    QTRY_COMPARE(snapsSetting(), empty);
    QCOMPARE(m_browser->fileListPath(), empty);
    QVERIFY(m_browser->isFileListLoaded());
    QCOMPARE(m_browser->listCount(), 0);

    m_browser->openFolder(m_other + "/games");
    QCOMPARE(m_browser->path(), m_other + "/games");
    QTRY_COMPARE(snapsSetting(), m_other + "/games");
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
    QTRY_COMPARE(snapsSetting(), m_other);
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
    QTRY_COMPARE(snapsSetting(), m_home);
}

void TestFolderBrowser::folderGoneBeforeOpeningIsReported()
{
    const QString start = m_home + "/start";
    const QString gone = m_home + "/gone";
    QVERIFY(QDir().mkpath(start));
    QCOMPARE(m_browser->setPath(start), BrowserError::None);
    QTRY_COMPARE(snapsSetting(), start);
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
    QTRY_COMPARE(snapsSetting(), m_home);
    QVERIFY(QFile::remove(m_ini));
    QCOMPARE(m_browser->setPath(m_home + "/"), BrowserError::None);
    QTest::qWait(100);
    QVERIFY(!QFile::exists(m_ini));
}

// Folders passed over before their files were listed are never recorded.
void TestFolderBrowser::onlyTheLastOfQuickFolderChangesIsRecorded()
{
    QVERIFY(QDir().mkpath(m_home + "/a"));
    QVERIFY(QDir().mkpath(m_home + "/b"));
    touch(m_home + "/a/a.sna");
    touch(m_home + "/b/b.sna");
    QSignalSpy shown(m_browser, &FolderBrowser::fileListChanged);
    {
        test::PoolBlocker blocker;
        QCOMPARE(m_browser->setPath(m_home + "/a"), BrowserError::None);
        QCOMPARE(m_browser->setPath(m_home + "/b"), BrowserError::None);
        QCOMPARE(m_browser->listCount(), 0);
        QVERIFY(snapsSetting().isEmpty());
    }
    QTRY_COMPARE(shown.size(), 1);
    QCOMPARE(shown.first().first().toString(), m_home + "/b");
    QCOMPARE(snapsSetting(), m_home + "/b");
    QCOMPARE(listed(*m_browser), QStringList{"b.sna"});
}

// The list must not keep the last folder's files under the new folder's name,
// and the setting keeps the last folder that was shown.
void TestFolderBrowser::folderGoneBeforeItsListIsReportedNotRecorded()
{
    QVERIFY(QDir().mkpath(m_home + "/shown"));
    QVERIFY(QDir().mkpath(m_home + "/going"));
    touch(m_home + "/shown/game.sna");
    QCOMPARE(m_browser->setPath(m_home + "/shown"), BrowserError::None);
    QTRY_COMPARE(m_browser->listCount(), 1);
    QTRY_COMPARE(snapsSetting(), m_home + "/shown");

    m_prompts->answerMessage(Answer::Ok);
    {
        test::PoolBlocker blocker;
        QCOMPARE(m_browser->setPath(m_home + "/going"), BrowserError::None);
        QVERIFY(QDir(m_home + "/going").removeRecursively());
    }
    QTRY_COMPARE(m_prompts->calls().size(), 1);
    QCOMPARE(m_prompts->last().text,
             "The files of the folder " + m_home + "/going cannot be listed: it cannot be read.");
    QCOMPARE(m_prompts->last().icon, Icon::Exclamation);
    QCOMPARE(m_browser->listCount(), 0);
    QVERIFY(!m_browser->isFileListLoaded());
    QCOMPARE(snapsSetting(), m_home + "/shown");
}

void TestFolderBrowser::drivesFollowMountsAndKeepTheCurrentOne()
{
    QStandardItemModel* drives = m_browser->driveModel();
    auto roots = [drives] {
        QStringList result;
        for (int row = 0; row < drives->rowCount(); ++row)
            result << drives->item(row)->data(FolderBrowser::kRootRole).toString();
        return result;
    };
    m_browser->setDrive(m_other);
    const QPersistentModelIndex current = drives->index(2, 0);
    QCOMPARE(current.data(FolderBrowser::kRootRole).toString(), m_other);

    const QString card = m_dir->filePath("card");
    m_volumes->add(card, "CARD", 0);
    m_volumes->remove("/");
    m_volumes->announce();
    QCOMPARE(roots(), (QStringList{card, m_home, m_other}));
    QCOMPARE(drives->item(0)->text(), card + "  [CARD]");
    QCOMPARE(current.row(), 2); // the same row, only moved
    QCOMPARE(m_browser->drive(), m_other);

    // The current drive unmounted: back to the program's drive.
    m_volumes->remove(m_other);
    m_volumes->announce();
    QCOMPARE(roots(), (QStringList{card, m_home}));
    QCOMPARE(m_browser->drive(), m_home);
    QCOMPARE(m_browser->path(), m_home);
    QVERIFY(m_prompts->calls().isEmpty());
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

// A name with bytes that are not valid text shows with U+FFFD, which names
// another file: the look-alike beside it must never be taken in its place.
void TestFolderBrowser::nameThatIsNotTextIsRefusedNotMistaken()
{
#ifdef Q_OS_UNIX
    const QString folder = m_home + "/odd";
    QVERIFY(QDir().mkpath(folder));
    const QByteArray badName = QFile::encodeName(folder) + "/bad\xe9.sna";
    QFile bad;
    QVERIFY(bad.open(::fopen(badName.constData(), "w"), QIODevice::WriteOnly,
                     QFileDevice::AutoCloseHandle));
    bad.close();
    const QString lookAlike = folder + QString::fromUtf8("/bad\xef\xbf\xbd.sna");
    touch(lookAlike);
    QCOMPARE(m_browser->setPath(folder), BrowserError::None);
    QTRY_COMPARE(m_browser->listCount(), 2);

    int refused = 0;
    for (int i = 0; i < m_browser->listCount(); ++i) {
        QString error;
        const std::optional<QString> path = m_browser->filePath(i, &error);
        if (m_browser->fileModel()->hasExactName(i)) {
            QCOMPARE(path.value_or(QString()), QDir::toNativeSeparators(lookAlike));
        } else {
            ++refused;
            QVERIFY(!path);
            QVERIFY2(error.contains("Rename the file"), qPrintable(error));
        }
    }
    QCOMPARE(refused, 1);
    QVERIFY(QFile::remove(QFile::decodeName(badName)) || ::unlink(badName.constData()) == 0);
#else
    QSKIP("file names are UTF-16 here");
#endif
}

QTEST_GUILESS_MAIN(TestFolderBrowser)
#include "tst_folder_browser.moc"
