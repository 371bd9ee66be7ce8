// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/SnapshotList.h"
#include "ui/GridRows.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace tessel;

// The grid's ten rows over a list of real rows: every change of the list
// reaches the rows that show it, and a blank row stays a row.
class TestGridRows : public QObject
{
    Q_OBJECT

private slots:
    void tenRowsFollowTheList();
    void draggedEntryMovesWithinTheEntries();
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

// The grid's drags in the window are tst_editing's; here what the model
// alone decides: a drop on a blank row, and whose drags it takes.
void TestGridRows::draggedEntryMovesWithinTheEntries()
{
    SnapshotList list;
    GridRows rows(list);
    list.setEntries({{"/A.sna", "A"}, {"/B.sna", "B"}, {"/C.sna", "C"}});
    QVERIFY(!rows.flags(rows.index(3, 0)).testFlag(Qt::ItemIsDragEnabled));
    const std::unique_ptr<QMimeData> data(rows.mimeData({rows.index(0, 1)}));
    QVERIFY(rows.dropMimeData(data.get(), Qt::MoveAction, -1, -1, rows.index(7, 0)));
    QCOMPARE(list.entry(2).name, "A");

    SnapshotList other;
    other.setEntries(list.entries());
    const std::unique_ptr<QMimeData> foreign(other.mimeData({other.index(0, 0)}));
    QVERIFY(!rows.canDropMimeData(foreign.get(), Qt::MoveAction, 2, 0, {}));
    QVERIFY(!rows.dropMimeData(data.get(), Qt::CopyAction, 2, 0, {}));
}

QTEST_GUILESS_MAIN(TestGridRows)
#include "tst_grid_rows.moc"
