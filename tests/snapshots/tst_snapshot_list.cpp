// The snapshot list: the table and its grid, New, adding and removing.
#include "core/Kit.h"
#include "snapshots/AddSnapshot.h"
#include "snapshots/FolderBrowser.h"
#include "snapshots/RemoveSnapshot.h"
#include "snapshots/SnapshotGrid.h"
#include "snapshots/SnapshotTable.h"
#include "support/FakeVolumes.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace tessel;
using tessel::test::ScriptedPrompts;
using Kind = ScriptedPrompts::Kind;

namespace {

void writeFile(const QString& path, qint64 size)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(QByteArray(size, '\x5a')), size);
}

// A table of n entries "P<i>" / "N<i>", shown in the grid as adding leaves it.
void fill(SnapshotTable& table, SnapshotGrid& grid, int n)
{
    for (int i = 0; i < n; ++i) {
        table.TablaSnaps[i] = {QStringLiteral("P%1").arg(i), QStringLiteral("N%1").arg(i)};
        grid.setTextMatrix(i + 1, 0, table.TablaSnaps[i][0]);
        grid.setTextMatrix(i + 1, 1, table.TablaSnaps[i][1]);
    }
    table.NumSnaps = static_cast<qint16>(n);
}

QStringList names(const SnapshotTable& table)
{
    QStringList result;
    for (int i = 0; i <= kMaxSnaps; ++i)
        result << table.TablaSnaps[i][1];
    return result;
}

// Grid rows 1..10 must equal table rows 0..9, and row 10 must stay blank.
void verifyMirrored(const SnapshotTable& table, const SnapshotGrid& grid)
{
    for (int i = 0; i < kMaxSnaps; ++i) {
        for (int c = 0; c < 2; ++c)
            QCOMPARE(grid.textMatrix(i + 1, c), table.TablaSnaps[i][c]);
    }
    QVERIFY(table.TablaSnaps[kMaxSnaps][0].isEmpty());
    QVERIFY(table.TablaSnaps[kMaxSnaps][1].isEmpty());
    for (int i = 0; i < kMaxSnaps; ++i)
        QCOMPARE(table.TablaSnaps[i][0].isEmpty(), i >= table.NumSnaps);
}

} // namespace

class TestSnapshotList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gridShowsTableRowByRow();
    void newAsksEvenWhenEmptyAndOnlyYesErases();

    void acceptsOnlyTheExactSnapshotSize_data();
    void acceptsOnlyTheExactSnapshotSize();
    void namingLoopOffersDefaultsAndShortensLongAnswers();
    void namesCountCharactersNotCodeUnits();
    void fullListRefusesAnyFile();
    void ninthAndTenthFillTheList();
    void noSelectionAddsNothing();
    void fileGoneSinceListingIsReportedByName();
    void nameThatIsNotTextIsRefusedNotMistaken();

    void deleteKeyActsOnlyOnFilledRows();
    void removalMovesLaterEntriesUp_data();
    void removalMovesLaterEntriesUp();
    void cancelKeepsEverything();
    void nextDefaultNumberFollowsTheCount();

private:
    void addFile(const QString& name);

    QTemporaryDir* m_dir = nullptr;
    QString m_rutaIni;
    ScriptedPrompts* m_prompts = nullptr;
    test::FakeVolumes m_volumes;
    FolderBrowser* m_browser = nullptr;
    SnapshotTable m_table;
    SnapshotGrid* m_grid = nullptr;
};

void TestSnapshotList::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_rutaIni = m_dir->filePath(QStringLiteral("tessel.ini"));
    m_prompts = new ScriptedPrompts;
    m_volumes.clear();
    m_volumes.add(QStringLiteral("/"));
    m_browser = new FolderBrowser(Kit(m_dir->path()), m_rutaIni, *m_prompts, m_volumes);
    m_table = {};
    m_grid = new SnapshotGrid;

    const QString folder = m_dir->filePath(QStringLiteral("snaps"));
    QVERIFY(QDir().mkpath(folder));
    writeFile(folder + QStringLiteral("/good.sna"), kSnapshotSize);
    writeFile(folder + QStringLiteral("/short.sna"), kSnapshotSize - 1);
    writeFile(folder + QStringLiteral("/long.sna"), kSnapshotSize + 1);
    QCOMPARE(m_browser->setPath(folder), BrowserError::None);
    QTRY_COMPARE(m_browser->listCount(), 3);
}

void TestSnapshotList::cleanup()
{
    delete m_grid;
    delete m_browser;
    delete m_prompts;
    delete m_dir;
}

void TestSnapshotList::addFile(const QString& name)
{
    for (int i = 0; i < m_browser->listCount(); ++i) {
        if (m_browser->list(i) == name)
            m_browser->setSelected(i, true);
    }
    AgregarSnaps(*m_browser, m_table, *m_grid, *m_prompts);
}

void TestSnapshotList::gridShowsTableRowByRow()
{
    QCOMPARE(m_grid->textMatrix(0, 0), QStringLiteral("SNAPSHOT"));
    QCOMPARE(m_grid->textMatrix(0, 1), QStringLiteral("NAME"));
    for (int r = 1; r <= kMaxSnaps; ++r) {
        m_grid->setTextMatrix(r, 0, QStringLiteral("stale"));
        m_grid->setTextMatrix(r, 1, QStringLiteral("stale"));
    }
    for (int i = 0; i < 3; ++i)
        m_table.TablaSnaps[i] = {QStringLiteral("P%1").arg(i), QStringLiteral("N%1").arg(i)};
    m_table.NumSnaps = 3;
    MostrarTabla(m_table, *m_grid);
    verifyMirrored(m_table, *m_grid);

    m_grid->setRow(2);
    LimpiarRejilla(*m_grid);
    for (int r = 1; r <= kMaxSnaps; ++r)
        QVERIFY(m_grid->textMatrix(r, 0).isEmpty() && m_grid->textMatrix(r, 1).isEmpty());
    QCOMPARE(m_grid->textMatrix(0, 0), QStringLiteral("SNAPSHOT"));
    QCOMPARE(m_grid->row(), 2);

    VaciarTabla(m_table);
    QCOMPARE(m_table.NumSnaps, 3); // the count is the caller's to reset
    for (int i = 0; i <= kMaxSnaps; ++i)
        QVERIFY(m_table.TablaSnaps[i][0].isEmpty() && m_table.TablaSnaps[i][1].isEmpty());
}

void TestSnapshotList::newAsksEvenWhenEmptyAndOnlyYesErases()
{
    fill(m_table, *m_grid, 4);
    m_grid->setRow(3);
    m_prompts->answerMessage(Answer::No);
    newList(*m_prompts, m_table, *m_grid);
    QCOMPARE(m_table.NumSnaps, 4);
    QCOMPARE(m_grid->textMatrix(4, 1), QStringLiteral("N3"));
    const auto question = m_prompts->last();
    QCOMPARE(question.text,
             QStringLiteral("Are you sure? The actual list of SNAs will be erased."));
    QCOMPARE(question.title, QStringLiteral("Tessel Zizerev"));
    QCOMPARE(question.icon, Icon::Critical);
    QCOMPARE(question.buttons, Buttons::YesNo);

    m_prompts->answerMessage(Answer::Yes);
    newList(*m_prompts, m_table, *m_grid);
    QCOMPARE(m_table.NumSnaps, 0);
    verifyMirrored(m_table, *m_grid);
    QCOMPARE(m_grid->row(), 3);

    m_prompts->answerMessage(Answer::Yes);
    newList(*m_prompts, m_table, *m_grid);
    QCOMPARE(m_prompts->count(Kind::Message), 3);

    m_prompts->answerInput(QStringLiteral("after"));
    addFile(QStringLiteral("good.sna"));
    QCOMPARE(m_table.TablaSnaps[0][1], QStringLiteral("after"));
    QCOMPARE(m_grid->textMatrix(1, 1), QStringLiteral("after"));
}

void TestSnapshotList::acceptsOnlyTheExactSnapshotSize_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("49179 bytes") << "good.sna" << true;
    QTest::newRow("one byte short") << "short.sna" << false;
    QTest::newRow("one byte long") << "long.sna" << false;
}

void TestSnapshotList::acceptsOnlyTheExactSnapshotSize()
{
    QFETCH(QString, file);
    QFETCH(bool, accepted);
    if (accepted)
        m_prompts->answerInput(QStringLiteral("Game"));
    else
        m_prompts->answerMessage(Answer::Ok);
    addFile(file);

    QCOMPARE(m_table.NumSnaps, accepted ? 1 : 0);
    const QString path = QDir::toNativeSeparators(m_browser->path() + QLatin1Char('/') + file);
    if (accepted) {
        QCOMPARE(m_table.TablaSnaps[0][0], path);
        const auto asked = m_prompts->last();
        QCOMPARE(asked.kind, Kind::Input);
        QCOMPARE(asked.text, QStringLiteral("Type the name for the menu (Max. 20 chars) ") + path);
        QCOMPARE(asked.title, QStringLiteral("Tessel Zizerev"));
        QCOMPARE(asked.defaultText, QStringLiteral("Snapshot  1"));
    } else {
        const auto warning = m_prompts->last();
        QCOMPARE(warning.text, QStringLiteral("The selected file is not a valid SNA snapshot."));
        QCOMPARE(warning.icon, Icon::Exclamation);
        QCOMPARE(warning.buttons, Buttons::Ok);
    }
    verifyMirrored(m_table, *m_grid);
    for (int i = 0; i < m_browser->listCount(); ++i)
        QVERIFY(!m_browser->isSelected(i));
}

void TestSnapshotList::namingLoopOffersDefaultsAndShortensLongAnswers()
{
    const QString twenty = QStringLiteral(" twenty characters! ");
    QCOMPARE(twenty.size(), 20);
    const QString longAnswer = QStringLiteral("ABCDEFGHIJKLMNOPQRSTU");
    m_prompts->answerInput(QString()); // Cancel
    m_prompts->answerInput(longAnswer); // 21 characters
    m_prompts->answerInput(QString()); // empty after a long one
    m_prompts->answerInput(longAnswer);
    m_prompts->answerInput(longAnswer.left(20)); // the shortened default, confirmed
    addFile(QStringLiteral("good.sna"));

    QStringList offered;
    for (const auto& call : m_prompts->calls())
        offered << call.defaultText;
    QCOMPARE(offered, (QStringList{QStringLiteral("Snapshot  1"), QStringLiteral("Snapshot  1"),
                                   longAnswer.left(20), QStringLiteral("Snapshot  1"),
                                   longAnswer.left(20)}));
    QCOMPARE(m_table.TablaSnaps[0][1], longAnswer.left(20));

    m_prompts->answerInput(twenty);
    addFile(QStringLiteral("good.sna"));
    QCOMPARE(m_table.NumSnaps, 2);
    QCOMPARE(m_prompts->last().defaultText, QStringLiteral("Snapshot  2"));
    QCOMPARE(m_table.TablaSnaps[1][1], twenty); // blanks kept and counted
    QCOMPARE(m_table.TablaSnaps[1][0], m_table.TablaSnaps[0][0]); // the same file twice
    verifyMirrored(m_table, *m_grid);
}

void TestSnapshotList::namesCountCharactersNotCodeUnits()
{
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    const QString nineteenAndClef = QStringLiteral("nineteen characters") + clef;
    QCOMPARE(nameLength(nineteenAndClef), 20);
    QCOMPARE(nameLeft(nineteenAndClef + QStringLiteral("x"), 20), nineteenAndClef);
    QCOMPARE(nameLeft(QStringLiteral("abc") + clef, 4), QStringLiteral("abc") + clef);

    m_prompts->answerInput(nineteenAndClef);
    addFile(QStringLiteral("good.sna"));
    QCOMPARE(m_table.TablaSnaps[0][1], nineteenAndClef);
}

void TestSnapshotList::fullListRefusesAnyFile()
{
    fill(m_table, *m_grid, kMaxSnaps);
    for (const char* file : {"good.sna", "short.sna"}) {
        m_prompts->answerMessage(Answer::Ok);
        addFile(QString::fromLatin1(file));
        const auto warning = m_prompts->last();
        QCOMPARE(
            warning.text,
            QStringLiteral("The compilation is complete. It's not posible to add more SNA's."));
        QCOMPARE(warning.icon, Icon::Exclamation);
    }
    QCOMPARE(m_prompts->calls().size(), 2);
    QCOMPARE(m_table.NumSnaps, kMaxSnaps);
    int selected = 0;
    for (int i = 0; i < m_browser->listCount(); ++i)
        selected += m_browser->isSelected(i) ? 1 : 0;
    QCOMPARE(selected, 2); // the list-full warning leaves the selection alone
}

void TestSnapshotList::ninthAndTenthFillTheList()
{
    fill(m_table, *m_grid, 8);
    m_prompts->answerInput(QStringLiteral("nine"));
    addFile(QStringLiteral("good.sna"));
    m_prompts->answerInput(QString());
    m_prompts->answerInput(QStringLiteral("ten"));
    addFile(QStringLiteral("good.sna"));
    QCOMPARE(m_prompts->calls().at(1).defaultText, QStringLiteral("Snapshot  10"));
    QCOMPARE(m_table.NumSnaps, kMaxSnaps);
    QCOMPARE(m_grid->textMatrix(10, 1), QStringLiteral("ten"));
    verifyMirrored(m_table, *m_grid);
}

void TestSnapshotList::noSelectionAddsNothing()
{
    AgregarSnaps(*m_browser, m_table, *m_grid, *m_prompts);
    QVERIFY(m_prompts->calls().isEmpty());
    QCOMPARE(m_table.NumSnaps, 0);
}

void TestSnapshotList::fileGoneSinceListingIsReportedByName()
{
    for (int i = 0; i < m_browser->listCount(); ++i) {
        if (m_browser->list(i) == QLatin1String("good.sna"))
            m_browser->setSelected(i, true);
    }
    const QString path = m_browser->path() + QStringLiteral("/good.sna");
    QVERIFY(QFile::remove(path));
    m_prompts->answerMessage(Answer::Ok);
    AgregarSnaps(*m_browser, m_table, *m_grid, *m_prompts);
    QCOMPARE(m_table.NumSnaps, 0);
    QCOMPARE(m_prompts->calls().size(), 1);
    QVERIFY2(m_prompts->last().text.contains(QDir::toNativeSeparators(path)),
             qPrintable(m_prompts->last().text));
    QCOMPARE(m_prompts->last().icon, Icon::Exclamation);
}

// A name with bytes that are not valid text shows with U+FFFD, which names
// another file: the look-alike beside it must not be added in its place.
void TestSnapshotList::nameThatIsNotTextIsRefusedNotMistaken()
{
    const QByteArray folder = QFile::encodeName(m_browser->path());
    const QByteArray badName = folder + "/bad\xe9.sna";
    const int fd = ::open(badName.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    QVERIFY(fd >= 0);
    const QByteArray bytes(kSnapshotSize, 'b');
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
    const QString lookAlike = m_browser->path() + QString::fromUtf8("/bad\xef\xbf\xbd.sna");
    writeFile(lookAlike, kSnapshotSize);
    QTRY_COMPARE(m_browser->listCount(), 5);

    for (int i = 0; i < m_browser->listCount(); ++i)
        m_browser->setSelected(i, !m_browser->fileModel()->hasExactName(i));
    m_prompts->answerMessage(Answer::Ok);
    AgregarSnaps(*m_browser, m_table, *m_grid, *m_prompts);
    QCOMPARE(m_table.NumSnaps, 0);
    QCOMPARE(m_prompts->calls().size(), 1);
    QCOMPARE(m_prompts->last().text,
             "The file \"" + QDir::toNativeSeparators(lookAlike)
                 + "\" cannot be opened: its name is not valid text on this system. Rename the "
                   "file and choose it again.");

    m_prompts->answerInput(QStringLiteral("Real"));
    for (int i = 0; i < m_browser->listCount(); ++i)
        m_browser->setSelected(i, m_browser->list(i).startsWith(QLatin1String("bad"))
                                      && m_browser->fileModel()->hasExactName(i));
    AgregarSnaps(*m_browser, m_table, *m_grid, *m_prompts);
    QCOMPARE(m_table.NumSnaps, 1);
    QCOMPARE(m_table.TablaSnaps[0][0], QDir::toNativeSeparators(lookAlike));
    QCOMPARE(::unlink(badName.constData()), 0); // beyond Qt's reach
}

void TestSnapshotList::deleteKeyActsOnlyOnFilledRows()
{
    fill(m_table, *m_grid, 3);
    for (int row : {0, 4, 10}) {
        m_grid->setRow(row);
        removeCurrentRow(m_table, *m_grid, *m_prompts);
    }
    QVERIFY(m_prompts->calls().isEmpty());
    QCOMPARE(m_table.NumSnaps, 3);
}

void TestSnapshotList::removalMovesLaterEntriesUp_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("first of three") << 3 << 1 << QStringList{"N1", "N2"} << 0;
    QTest::newRow("middle of ten")
        << 10 << 5 << QStringList{"N0", "N1", "N2", "N3", "N5", "N6", "N7", "N8", "N9"} << 0;
    QTest::newRow("last of ten") << 10 << 10 << QStringList{"N0", "N1", "N2", "N3", "N4",
                                                            "N5", "N6", "N7", "N8"}
                                 << 10;
    QTest::newRow("last of three") << 3 << 3 << QStringList{"N0", "N1"} << 0;
}

void TestSnapshotList::removalMovesLaterEntriesUp()
{
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(QStringList, remaining);
    QFETCH(int, currentAfter);
    fill(m_table, *m_grid, count);
    m_table.TablaSnaps[row - 1][1] = QStringLiteral(" spaced  name ");
    m_grid->setRow(row);
    m_prompts->answerMessage(Answer::Ok);
    removeCurrentRow(m_table, *m_grid, *m_prompts);

    const auto question = m_prompts->last();
    QCOMPARE(question.text, QStringLiteral("Delete from the list  spaced  name ?"));
    QCOMPARE(question.icon, Icon::Exclamation);
    QCOMPARE(question.buttons, Buttons::OkCancel);
    QCOMPARE(m_table.NumSnaps, count - 1);
    QCOMPARE(names(m_table).mid(0, remaining.size()), remaining);
    verifyMirrored(m_table, *m_grid);
    QCOMPARE(m_grid->row(), currentAfter);

    // The current row is now blank or the header: Delete does nothing more.
    removeCurrentRow(m_table, *m_grid, *m_prompts);
    QCOMPARE(m_prompts->calls().size(), 1);
}

void TestSnapshotList::cancelKeepsEverything()
{
    fill(m_table, *m_grid, 5);
    m_grid->setRow(2);
    m_prompts->answerMessage(Answer::Cancel);
    removeCurrentRow(m_table, *m_grid, *m_prompts);
    QCOMPARE(m_table.NumSnaps, 5);
    QCOMPARE(names(m_table).mid(0, 5), (QStringList{"N0", "N1", "N2", "N3", "N4"}));
    verifyMirrored(m_table, *m_grid);
    QCOMPARE(m_grid->row(), 2);
}

void TestSnapshotList::nextDefaultNumberFollowsTheCount()
{
    m_prompts->answerInput(QStringLiteral("one"));
    addFile(QStringLiteral("good.sna"));
    m_prompts->answerInput(QStringLiteral("two"));
    addFile(QStringLiteral("good.sna"));
    m_grid->setRow(1);
    m_prompts->answerMessage(Answer::Ok);
    removeCurrentRow(m_table, *m_grid, *m_prompts);
    m_prompts->answerInput(QStringLiteral("three"));
    addFile(QStringLiteral("good.sna"));
    QCOMPARE(m_prompts->last().defaultText, QStringLiteral("Snapshot  2"));
    QCOMPARE(names(m_table).mid(0, 2), (QStringList{"two", "three"}));
    verifyMirrored(m_table, *m_grid);
}

QTEST_GUILESS_MAIN(TestSnapshotList)
#include "tst_snapshot_list.moc"
