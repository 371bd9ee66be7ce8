// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/SnapshotList.h"
#include "ui/GridRows.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTest>

using namespace tessel;

// The grid's ten rows over a list of real rows: every change of the list
// reaches the rows that show it, and a blank row stays a row.
class TestGridRows : public QObject
{
    Q_OBJECT

private slots:
    void tenRowsFollowTheList();
};

void TestGridRows::tenRowsFollowTheList()
{
    SnapshotList list;
    GridRows rows(list);
    new QAbstractItemModelTester(&rows, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                 &rows);
    QItemSelectionModel current(&rows);
    auto shown = [&rows](int row) { return rows.index(row, SnapshotList::NameColumn).data(); };
    QSignalSpy changed(&rows, &QAbstractItemModel::dataChanged);

    for (const char* name : {"A", "B", "C"})
        list.append({QStringLiteral("/%1.sna").arg(QLatin1String(name)), QLatin1String(name)});
    QCOMPARE(rows.rowCount(), kEntryCount);
    QCOMPARE(shown(2).toString(), "C");
    QVERIFY(!shown(3).isValid());

    // A blank row can be current, as on the cartridge's menu.
    current.setCurrentIndex(rows.index(5, 0), QItemSelectionModel::ClearAndSelect);
    changed.clear();
    list.removeAt(0);
    QCOMPARE(shown(0).toString(), "B");
    QVERIFY(!shown(2).isValid()); // the old last row goes blank
    QVERIFY(!changed.isEmpty());
    QCOMPARE(current.currentIndex().row(), 5);

    list.move(0, 1);
    QCOMPARE(shown(0).toString(), "C");
    QCOMPARE(shown(1).toString(), "B");
    QCOMPARE(rows.headerData(0, Qt::Vertical, Qt::DisplayRole).toInt(), 1);

    // A new list leaves no row current.
    list.setEntries({{"/D.sna", "D"}});
    QCOMPARE(shown(0).toString(), "D");
    QVERIFY(!current.currentIndex().isValid());
}

QTEST_GUILESS_MAIN(TestGridRows)
#include "tst_grid_rows.moc"
