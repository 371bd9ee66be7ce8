// SPDX-License-Identifier: GPL-3.0-or-later
// Folder listings and the two models over them, on real folders.
#include "browser/FileListModel.h"
#include "browser/FolderListing.h"
#include "browser/FolderListings.h"
#include "browser/FolderTreeModel.h"
#include "support/PoolBlocker.h"

#include <QAbstractItemModelTester>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tessel;

namespace {

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

// A file whose name is the given bytes, valid text or not.
void touchRaw(const QString& folder, const QByteArray& name)
{
    const QByteArray path = QFile::encodeName(folder) + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    QVERIFY2(fd >= 0, path.constData());
    ::close(fd);
}

QStringList names(const QList<FolderEntry>& entries)
{
    QStringList result;
    for (const FolderEntry& entry : entries)
        result << entry.name;
    return result;
}

QStringList rows(const QAbstractItemModel& model, const QModelIndex& parent = {})
{
    QStringList result;
    for (int row = 0; row < model.rowCount(parent); ++row)
        result << model.index(row, 0, parent).data().toString();
    return result;
}

const QStringList kSna{QStringLiteral("*.sna*")};

// The order a person reads names in: numbers by value, letters in any case.
QStringList byCollator(QStringList names)
{
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    return names;
}

} // namespace

class TestFolderListing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void filesMatchQDirAndSortByName();
    void patternsMatchAsQDirs_data();
    void patternsMatchAsQDirs();
    void namesThatAreNotTextAreFlagged();
    void folderVanishingWhileListedFails();
    void changesTurnOneListingIntoTheNext();
    void sortAgreesWithTheComparison_data();
    void sortAgreesWithTheComparison();

    void fileModelEmptiesAtOnceThenFills();
    void onlyTheLastOfQuickFolderChangesIsShown();
    void filesAddedOrRemovedOnDiskReachTheRows();
    void patternsMatchInAnyCase();
    void folderThatCannotBeListedIsSignalled();

    void treeReadsItsWayToAFolder();
    void treeFollowsFoldersMadeAndRemoved();
    void treeAndListShareOneReading_data();
    void treeAndListShareOneReading();

private:
    QString mkdir(const QString& relative);

    QTemporaryDir* m_dir = nullptr;
    FolderListings* m_listings = nullptr;
};

void TestFolderListing::initTestCase()
{
    // Numbers sort by value in a real locale; the C locale compares code points.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestFolderListing::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_listings = new FolderListings;
}

void TestFolderListing::cleanup()
{
    // Qt cannot remove names that are not valid text.
    std::filesystem::remove_all(QFile::encodeName(m_dir->path()).toStdString());
    delete m_listings;
    delete m_dir;
}

QString TestFolderListing::mkdir(const QString& relative)
{
    QString path = m_dir->filePath(relative);
    if (!QDir().mkpath(path))
        qFatal("cannot make %s", qPrintable(path));
    return path;
}

void TestFolderListing::filesMatchQDirAndSortByName()
{
    const QString folder = mkdir("mixed");
    for (const char* name : {"b.SNA", "A.sna", "a.sna", "game 10.sna", "game 9.sna", "c.Sna2",
                             "x.txt", ".hidden.sna", "sna"})
        touch(folder + '/' + QLatin1String(name));
    QVERIFY(QDir().mkpath(folder + "/dir.sna"));
    QVERIFY(QFile::link(folder + "/b.SNA", folder + "/link.sna"));
    QVERIFY(QFile::link(folder + "/nowhere", folder + "/broken.sna"));
    QVERIFY(QFile::link(folder + "/dir.sna", folder + "/dirlink.sna"));
    QCOMPARE(::mkfifo(QFile::encodeName(folder + "/pipe.sna").constData(), 0644), 0);

    const FolderContents listing = readFolder(folder, kSna);
    QVERIFY2(listing.ok, qPrintable(listing.error));
    QStringList byQDir = QDir(folder, "*.sna*", QDir::NoSort, QDir::Files).entryList();
    QStringList ours = names(listing.files);
    QStringList sortedOurs = ours;
    sortedOurs.sort();
    byQDir.sort();
    QCOMPARE(sortedOurs, byQDir);
    // Case alike, numbers by value; names equal but for case in a fixed order.
    QCOMPARE(ours, (QStringList{"A.sna", "a.sna", "b.SNA", "c.Sna2", "game 9.sna", "game 10.sna",
                                "link.sna"}));
    QCOMPARE(names(listing.folders), (QStringList{"dir.sna", "dirlink.sna"}));
    QVERIFY(readFolder(folder, {}).files.isEmpty());
}

void TestFolderListing::patternsMatchAsQDirs_data()
{
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    const QStringList snapshots{"*.sna*", "*.z80"};
    QTest::newRow("suffix, other case") << snapshots << "GAME.Z80" << true;
    QTest::newRow("piece inside") << snapshots << "game.sna.bak" << true;
    QTest::newRow("piece too late") << snapshots << "game.z80.bak" << false;
    QTest::newRow("no piece") << snapshots << "game.tap" << false;
    QTest::newRow("accented name")
        << snapshots << QString::fromUtf8("Ca\xc3\xb1\xc3\xb3n.SNA") << true;
    QTest::newRow("pieces in order") << QStringList{"a*b*c"} << "axxbyyc" << true;
    QTest::newRow("pieces out of order") << QStringList{"a*b*c"} << "axxcyyb" << false;
    QTest::newRow("pieces overlapping") << QStringList{"*ab*ba*"} << "xaba" << false;
    QTest::newRow("no star: whole name") << QStringList{"Game.sna"} << "game.SNA" << true;
    QTest::newRow("no star: longer name") << QStringList{"game.sna"} << "game.sna2" << false;
    QTest::newRow("question mark") << QStringList{"g?me.sna"} << "GAME.sna" << true;
    QTest::newRow("accented pattern")
        << QStringList{QString::fromUtf8("*.\xc3\xb1")} << QString::fromUtf8("x.\xc3\x91") << true;
}

void TestFolderListing::patternsMatchAsQDirs()
{
    QFETCH(QStringList, patterns);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    const NameMatcher matcher(patterns);
    QCOMPARE(matcher(name), matches);
    QCOMPARE(matcher.matchesBytes(QFile::encodeName(name)).value_or(matches), matches);
    QCOMPARE(QDir::match(patterns, name), matches);
}

void TestFolderListing::namesThatAreNotTextAreFlagged()
{
    const QString folder = mkdir("bytes");
    touchRaw(folder, "caf\xe9.sna"); // Latin-1, not UTF-8
    touchRaw(folder, "ok.sna");
    QList<FolderEntry> listing = readFolder(folder, kSna).files;
    QCOMPARE(listing.size(), 2);
    QCOMPARE(listing.at(0).name, QString::fromUtf8("caf\xef\xbf\xbd.sna"));
    QVERIFY(!listing.at(0).exactName);
    QVERIFY(listing.at(1).exactName);

    // A real U+FFFD reads the same as the bad byte, but leads to its file.
    touchRaw(folder, "caf\xef\xbf\xbd.sna");
    listing = readFolder(folder, kSna).files;
    QCOMPARE(listing.size(), 3);
    QCOMPARE(listing.at(0).name, listing.at(1).name);
    QVERIFY(listing.at(0).exactName != listing.at(1).exactName);
}

void TestFolderListing::folderVanishingWhileListedFails()
{
    const QString folder = mkdir("vanishing");
    for (int i = 0; i < 300; ++i)
        touch(folder + QStringLiteral("/g%1.sna").arg(i));
    bool removed = false;
    const FolderContents listing = readFolder(folder, kSna, [&] {
        if (!removed)
            removed = QDir(folder).removeRecursively();
        return false;
    });
    QVERIFY(removed);
    QVERIFY(!listing.ok);
    QVERIFY(listing.files.isEmpty());
    QVERIFY2(listing.error.contains(QDir::toNativeSeparators(folder)), qPrintable(listing.error));

    const QString many = mkdir("many");
    for (int i = 0; i < 300; ++i)
        touch(many + QStringLiteral("/g%1.sna").arg(i));
    const FolderContents cancelled = readFolder(many, kSna, [] { return true; });
    QVERIFY(!cancelled.ok && cancelled.error.isEmpty());
    QVERIFY(!readFolder(m_dir->filePath("none"), kSna).ok);
}

// Random listings: applying the steps to the first must give the second.
void TestFolderListing::changesTurnOneListingIntoTheNext()
{
    const NameOrder order;
    QRandomGenerator random(20240611);
    auto randomListing = [&] {
        QList<FolderEntry> list;
        for (int n = 0; n < 40; ++n) {
            if (random.bounded(2) == 0)
                list.append(
                    {(random.bounded(2) ? "G" : "g") + QString::number(n), random.bounded(8) != 0});
        }
        std::sort(list.begin(), list.end(), std::cref(order));
        return list;
    };
    for (int round = 0; round < 300; ++round) {
        QList<FolderEntry> before = randomListing();
        const QList<FolderEntry> after = randomListing();
        for (const ListingChange& change : diffListings(before, after, order)) {
            QVERIFY(change.row >= 0 && change.row <= before.size());
            QVERIFY((change.removed > 0) != !change.inserted.isEmpty());
            before.remove(change.row, change.removed);
            for (qsizetype i = 0; i < change.inserted.size(); ++i)
                before.insert(change.row + i, change.inserted[i]);
        }
        QCOMPARE(before, after);
    }
}

void TestFolderListing::sortAgreesWithTheComparison_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qsizetype>("budget"); // names merged per step
    const qsizetype whole = std::numeric_limits<qsizetype>::max();
    QTest::newRow("C") << QLocale::c() << whole;
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << whole;
    QTest::newRow("Spanish") << QLocale(QLocale::Spanish, QLocale::Spain) << whole;
    QTest::newRow("English, in small steps")
        << QLocale(QLocale::English, QLocale::UnitedStates) << qsizetype(77);
}

// The sort by keys must give the order the comparison gives, which the
// file list's steps on disk changes rely on.
void TestFolderListing::sortAgreesWithTheComparison()
{
    QFETCH(QLocale, locale);
    QFETCH(qsizetype, budget);
    QLocale::setDefault(locale);
    const QString letters = QString::fromUtf8("aAbB eE\xc3\xa9\xc3\x89\xc3\x9f"
                                              "09._-");
    QRandomGenerator random(locale.language());
    QList<FolderEntry> entries;
    for (int i = 0; i < 10001; ++i) { // several runs of keys, merged, one left over
        QString name;
        for (int n = 1 + random.bounded(8); n > 0; --n)
            name += letters.at(random.bounded(letters.size()));
        entries.append({name, true});
    }
    const NameOrder order;
    QList<FolderEntry> compared = entries;
    std::stable_sort(compared.begin(), compared.end(), order);
    SortInSteps steps(entries);
    while (steps.step(order, budget)) { }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(names(entries), names(compared));
}

void TestFolderListing::fileModelEmptiesAtOnceThenFills()
{
    const QString one = mkdir("one");
    const QString two = mkdir("two");
    touch(one + "/a.sna");
    touch(two + "/b.sna");
    touch(two + "/c.sna");
    FileListModel model(*m_listings);
    QAbstractItemModelTester tester(&model);
    QSignalSpy loaded(&model, &FileListModel::folderLoaded);
    model.setNameFilters(kSna);
    model.setFolder(one);
    QTRY_COMPARE(loaded.size(), 1);
    QCOMPARE(rows(model), QStringList{"a.sna"});

    model.setFolder(two);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.isLoaded());
    QTRY_VERIFY(model.isLoaded());
    QCOMPARE(rows(model), (QStringList{"b.sna", "c.sna"}));
    QCOMPARE(loaded.last().first().toString(), two);
    QVERIFY(model.hasExactName(0));
}

// The listings of the folders passed over are dropped: no row of theirs is
// ever shown and only the last folder counts as loaded.
void TestFolderListing::onlyTheLastOfQuickFolderChangesIsShown()
{
    const QString big = mkdir("big");
    for (int i = 0; i < 300; ++i)
        touch(big + QStringLiteral("/big%1.sna").arg(i));
    const QString middle = mkdir("middle");
    touch(middle + "/middle.sna");
    const QString last = mkdir("last");
    touch(last + "/last.sna");

    FileListModel model(*m_listings);
    QAbstractItemModelTester tester(&model);
    model.setNameFilters(kSna);
    QSignalSpy loaded(&model, &FileListModel::folderLoaded);
    QStringList seen;
    auto record = [&] { seen << rows(model); };
    connect(&model, &QAbstractItemModel::modelReset, this, record);
    connect(&model, &QAbstractItemModel::rowsInserted, this, record);
    {
        test::PoolBlocker blocker;
        model.setFolder(big);
        model.setFolder(middle);
        model.setFolder(last);
    }
    QTRY_VERIFY(model.isLoaded());
    QTest::qWait(50);
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(loaded.first().first().toString(), last);
    seen.removeDuplicates();
    QCOMPARE(seen, QStringList{"last.sna"});
}

void TestFolderListing::filesAddedOrRemovedOnDiskReachTheRows()
{
    const QString folder = mkdir("live");
    touch(folder + "/b.sna");
    touch(folder + "/d.sna");
    FileListModel model(*m_listings);
    QAbstractItemModelTester tester(&model);
    model.setNameFilters(kSna);
    model.setFolder(folder);
    QTRY_VERIFY(model.isLoaded());
    const QPersistentModelIndex d = model.index(1);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    touch(folder + "/a.sna");
    touch(folder + "/c.sna");
    touch(folder + "/c.txt");
    QTRY_COMPARE(rows(model), (QStringList{"a.sna", "b.sna", "c.sna", "d.sna"}));
    QVERIFY(QFile::remove(folder + "/b.sna"));
    QTRY_COMPARE(rows(model), (QStringList{"a.sna", "c.sna", "d.sna"}));
    // Row by row: what stayed keeps its index.
    QCOMPARE(resets.size(), 0);
    QCOMPARE(d.data().toString(), QStringLiteral("d.sna"));

    QVERIFY(QDir(folder).removeRecursively());
    QTRY_COMPARE(model.rowCount(), 0);
}

void TestFolderListing::patternsMatchInAnyCase()
{
    const QString folder = mkdir("kinds");
    for (const char* name : {"a.SNA", "b.z80", "c.Z80", "d.szx", "e.tap"})
        touch(folder + '/' + QLatin1String(name));
    FileListModel model(*m_listings);
    model.setNameFilters({"*.sna*", "*.Z80", "*.szx"});
    model.setFolder(folder);
    QTRY_VERIFY(model.isLoaded());
    QCOMPARE(rows(model), (QStringList{"a.SNA", "b.z80", "c.Z80", "d.szx"}));
    model.setNameFilters({"*.tap"});
    QTRY_VERIFY(model.isLoaded());
    QCOMPARE(rows(model), QStringList{"e.tap"});
}

void TestFolderListing::folderThatCannotBeListedIsSignalled()
{
    FileListModel model(*m_listings);
    model.setNameFilters(kSna);
    QSignalSpy failed(&model, &FileListModel::folderFailed);
    const QString gone = m_dir->filePath("gone");
    model.setFolder(gone);
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(failed.first().first().toString(), gone);
    QVERIFY(failed.first().at(1).toString().contains(QDir::toNativeSeparators(gone)));
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.isLoaded());
}

void TestFolderListing::treeReadsItsWayToAFolder()
{
    const QString root = mkdir("drive");
    mkdir("drive/b/deep/est");
    mkdir("drive/A");
    mkdir("drive/.c");
    touch(root + "/b/file.sna");
    QVERIFY(QFile::link(root + "/A", root + "/c")); // a link to a folder is a folder
    QVERIFY(::mkdir(QFile::encodeName(root + "/b/caf\xc3\xa9").constData(), 0755) == 0);
    FolderTreeModel model(*m_listings);
    QAbstractItemModelTester tester(&model);
    QSignalSpy loaded(&model, &FolderTreeModel::pathLoaded);
    model.setRootPath(root);
    model.loadPath(root + "/b/deep");
    QTRY_COMPARE(loaded.size(), 1);
    QCOMPARE(loaded.first().first().toString(), root + "/b/deep");

    const QModelIndex deep = model.index(root + "/b/deep");
    QVERIFY(deep.isValid());
    QCOMPARE(model.filePath(deep), root + "/b/deep");
    QCOMPARE(rows(model), (QStringList{"A", "b", "c"}));
    const QModelIndex b = model.index(root + "/b");
    QCOMPARE(deep.parent(), b);
    QCOMPARE(rows(model, b), (QStringList{QString::fromUtf8("caf\xc3\xa9"), "deep"}));
    QVERIFY(model.flags(model.index(0, 0, b)) & Qt::ItemIsEnabled);
    QVERIFY(model.hasChildren(deep));
    QVERIFY(!model.index(root).isValid());

    // A folder of the root needs no reading; one outside it never loads.
    model.loadPath(root);
    QCOMPARE(loaded.size(), 2);
    model.loadPath(m_dir->filePath("elsewhere"));
    QTest::qWait(50);
    QCOMPARE(loaded.size(), 2);
}

void TestFolderListing::treeFollowsFoldersMadeAndRemoved()
{
    const QString root = mkdir("live");
    mkdir("live/m");
    FolderTreeModel model(*m_listings);
    QAbstractItemModelTester tester(&model);
    model.setRootPath(root);
    QTRY_COMPARE(rows(model), QStringList{"m"});
    const QPersistentModelIndex m = model.index(0, 0);
    mkdir("live/a");
    mkdir("live/z");
    QTRY_COMPARE(rows(model), (QStringList{"a", "m", "z"}));
    QCOMPARE(m.row(), 1);
    QVERIFY(QDir(root + "/a").removeRecursively());
    QTRY_COMPARE(rows(model), (QStringList{"m", "z"}));

    // A folder whose name is not valid text shows, but cannot be picked.
    QVERIFY(::mkdir((QFile::encodeName(root) + "/bad\xe9").constData(), 0755) == 0);
    QTRY_COMPARE(model.rowCount(), 3);
    const QModelIndex bad = model.index(0, 0);
    QVERIFY(model.fileName(bad).contains(QChar::ReplacementCharacter));
    QCOMPARE(model.flags(bad), Qt::NoItemFlags);
}

void TestFolderListing::treeAndListShareOneReading_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* kind :
         {"plain", "links", "broken link", "FIFO", "names not valid text", "folder removed",
          "changed while a reading is held", "left and held again at once"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

// The tree and the file list on one folder share one reading, each taking
// its part, in the order QDir's names take by the collator; when both move
// on, the reading of the folder they left is dropped.
void TestFolderListing::treeAndListShareOneReading()
{
    QFETCH(QString, kind);
    const QString left = mkdir("left");
    touch(left + "/left.sna");
    const QString folder = mkdir("shared");
    for (const char* name : {"b.SNA", "A.sna", "game 10.sna", "game 9.sna", "x.txt", ".h.sna"})
        touch(folder + '/' + QLatin1String(name));
    for (const char* name : {"sub 10", "sub 9", "Sub", "dir.sna", ".hidden"})
        mkdir("shared/" + QLatin1String(name));
    QStringList unlistedFiles;
    QStringList unlistedFolders;
    if (kind == "links") {
        QVERIFY(QFile::link(folder + "/b.SNA", folder + "/link.sna"));
        QVERIFY(QFile::link(folder + "/sub 9", folder + "/sublink"));
    } else if (kind == "broken link") {
        QVERIFY(QFile::link(folder + "/nowhere", folder + "/broken.sna"));
    } else if (kind == "FIFO") {
        QCOMPARE(::mkfifo(QFile::encodeName(folder + "/pipe.sna").constData(), 0644), 0);
    } else if (kind == "names not valid text") {
        touchRaw(folder, "caf\xe9.sna");
        QCOMPARE(::mkdir((QFile::encodeName(folder) + "/bad\xe9").constData(), 0755), 0);
        // QDir passes over them; we show them.
        unlistedFiles << QFile::decodeName("caf\xe9.sna");
        unlistedFolders << QFile::decodeName("bad\xe9");
    }
    auto files = [&] {
        return byCollator(QDir(folder, "*.sna*", QDir::NoSort, QDir::Files).entryList()
                          + unlistedFiles);
    };
    auto folders = [&] {
        return byCollator(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                          + unlistedFolders);
    };

    FileListModel list(*m_listings);
    FolderTreeModel tree(*m_listings);
    QAbstractItemModelTester listTester(&list);
    QAbstractItemModelTester treeTester(&tree);
    list.setNameFilters(kSna);
    QSignalSpy failed(&list, &FileListModel::folderFailed);
    QStringList seen;
    connect(&list, &QAbstractItemModel::modelReset, this, [&] { seen << rows(list); });
    {
        test::PoolBlocker blocker;
        list.setFolder(left);
        tree.setRootPath(left);
        list.setFolder(folder);
        tree.setRootPath(folder);
        if (kind == "left and held again at once") {
            // Before the folder is watched: its watch is asked for again.
            list.setFolder(left);
            tree.setRootPath(left);
            list.setFolder(folder);
            tree.setRootPath(folder);
        }
        QCOMPARE(m_listings->readingsUnderWay(), 1);
        if (kind == "changed while a reading is held") {
            touch(folder + "/c.sna");
            QVERIFY(QFile::remove(folder + "/A.sna"));
            mkdir("shared/new");
            QTest::qWait(150); // the watcher tells of the change meanwhile
        }
    }
    QTRY_VERIFY(list.isLoaded());
    QTRY_COMPARE(rows(tree), folders());
    QCOMPARE(rows(list), files());
    QVERIFY(!seen.contains("left.sna"));

    if (kind == "folder removed") {
        // Gone while it shows: both empty, and the list says so.
        QVERIFY(QDir(folder).removeRecursively());
        QTRY_COMPARE(failed.size(), 1);
        QVERIFY(!list.isLoaded());
        QCOMPARE(list.rowCount(), 0);
        QTRY_COMPARE(tree.rowCount(), 0);
        return;
    }
    // A change on disk reaches both from one reading again.
    touch(folder + "/d.sna");
    mkdir("shared/more");
    QTRY_COMPARE(rows(list), files());
    QTRY_COMPARE(rows(tree), folders());
    QTRY_COMPARE(m_listings->readingsUnderWay(), 0);
    QCOMPARE(failed.size(), 0);
}

QTEST_GUILESS_MAIN(TestFolderListing)
#include "tst_folder_listing.moc"
