// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Trainers...: trainers found beside a snapshot or opened, chosen with
// their values asked for, marked in the grid and kept in the compilation.
#include "core/Cartridge.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "ui/TrainersWindow.h"

#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <optional>

using namespace tessel;
using tessel::test::ScriptedPrompts;
using Kind = ScriptedPrompts::Kind;

class TestTrainers : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void chosenMarkedAndKeptInTheCompilation();
    void openedByHandRefusedOrCancelled();

private:
    QString kit(const QString& relative = {}) const { return m_fixture->kit(relative); }
    MainWindow& window() { return m_fixture->window(); }
    SnapshotList& list() { return window().session().list; }
    // Edit > Trainers... on the first row, and the window it opened.
    TrainersWindow* openTrainers();
    QTreeWidgetItem* item(TrainersWindow* trainers, int row)
    {
        return trainers->trainerList()->topLevelItem(row);
    }

    std::optional<test::WindowFixture> m_fixture;
    QString m_game;
};

void TestTrainers::init()
{
    m_fixture.emplace();
    m_game = kit("snaps/Game.sna");
    QVERIFY(QFile::copy(TESSEL_TEST_DATA "/sna/zasmops.sna", m_game));
    QVERIFY(m_fixture->start());
    QVERIFY(list().append({m_game, "Game"}));
}

void TestTrainers::cleanup()
{
    QVERIFY(m_fixture->prompts.allAnswered());
    m_fixture.reset();
}

TrainersWindow* TestTrainers::openTrainers()
{
    // The last one closed goes first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window().setCurrentRow(0);
    m_fixture->trigger("mnuTrainers");
    auto* trainers = window().findChild<TrainersWindow*>();
    return trainers && QTest::qWaitForWindowExposed(trainers) ? trainers : nullptr;
}

void TestTrainers::chosenMarkedAndKeptInTheCompilation()
{
    const QByteArray sna = test::readFile(m_game);
    const auto original = [&](int address) { return quint8(sna[27 + address - 0x4000]); };
    QDir().mkpath(kit("snaps/POKES"));
    QVERIFY(test::writeFile(kit("snaps/POKES/Game.pok"),
                            QStringLiteral("NLives\nM 8 36864 0 %1\nZ 8 40000 256 0\n"
                                           "NOther version\nZ 8 36865 1 %2\nNRom\nZ 8 100 0 0\nY\n")
                                .arg(original(36864))
                                .arg(original(36865) % 255 + 1)
                                .toLatin1()));
    TrainersWindow* trainers = openTrainers();
    QVERIFY(trainers);
    QCOMPARE(trainers->trainerList()->topLevelItemCount(), 3);
    QVERIFY(!item(trainers, 1)->text(1).isEmpty());
    QVERIFY(item(trainers, 1)->text(1).contains("another version"));
    QVERIFY(!item(trainers, 0)->text(1).contains("another version"));
    QVERIFY(!item(trainers, 2)->flags().testFlag(Qt::ItemIsEnabled));
    QVERIFY(item(trainers, 2)->text(1).contains("Line 7"));

    // A value out of range is refused and asked again.
    m_fixture->prompts.answerInput("300");
    m_fixture->prompts.answerMessage(Answer::Ok);
    m_fixture->prompts.answerInput("7");
    item(trainers, 0)->setCheckState(0, Qt::Checked);
    QCOMPARE(m_fixture->prompts.count(Kind::Input), 2);
    QVERIFY(m_fixture->prompts.calls().at(1).text.contains("\"300\""));
    item(trainers, 1)->setCheckState(0, Qt::Checked);
    trainers->accept();
    const QList<Trainer> both{{"Lives", {{36864, 0}, {40000, 7}}}, {"Other version", {{36865, 1}}}};
    QCOMPARE(list().entry(0).trainers, both);
    const QAbstractItemModel* grid = m_fixture->control<QTableView>("msgRom")->model();
    QVERIFY(!grid->index(0, 0).data(Qt::DecorationRole).isNull());
    QVERIFY(grid->index(1, 0).data(Qt::DecorationRole).isNull());
    QVERIFY(grid->index(0, 0).data(Qt::ToolTipRole).toString().contains("\"Lives\""));

    // Chosen ones come back checked, their asked values kept; one dropped goes.
    trainers = openTrainers();
    QVERIFY(trainers);
    QCOMPARE(item(trainers, 0)->checkState(0), Qt::Checked);
    item(trainers, 1)->setCheckState(0, Qt::Unchecked);
    trainers->accept();
    const QList<Trainer> lives{both[0]};
    QCOMPARE(list().entry(0).trainers, lives);

    // Saved, cleared, and read back from the file.
    m_fixture->prompts.answerSave(kit("games.tessel"));
    m_fixture->prompts.answerMessage(Answer::Ok);
    m_fixture->trigger("mnuGuardar");
    QVERIFY(test::readFile(kit("games.tessel")).contains("\nPOKE Lives=36864,0:40000,7\n"));
    window().setTrainers(0, {});
    QVERIFY(grid->index(0, 0).data(Qt::DecorationRole).isNull());
    m_fixture->prompts.answerOpen(kit("games.tessel"));
    m_fixture->prompts.answerMessage(Answer::Discard);
    m_fixture->trigger("mnuAbrir");
    QCOMPARE(list().entry(0).trainers, lives);
    QCOMPARE(test::readFile(m_game), sna);
}

void TestTrainers::openedByHandRefusedOrCancelled()
{
    window().setCurrentRow(5);
    QVERIFY(!m_fixture->control<QAction>("mnuTrainers")->isEnabled());

    TrainersWindow* trainers = openTrainers();
    QVERIFY(trainers);
    QCOMPARE(trainers->trainerList()->topLevelItemCount(), 0);
    QVERIFY(test::writeFile(kit("binary.pok"), QByteArray("N\0\1\2", 4)));
    m_fixture->prompts.answerOpen(kit("binary.pok"));
    m_fixture->prompts.answerMessage(Answer::Ok);
    trainers->openFile();
    QVERIFY(m_fixture->prompts.last().text.contains("not a text file"));

    QVERIFY(test::writeFile(kit("other.pok"), "NAsk\nZ 8 30000 256 0\nM 8 1 1 1\nY\n"));
    m_fixture->prompts.answerOpen(kit("other.pok"));
    trainers->openFile();
    QCOMPARE(trainers->trainerList()->topLevelItemCount(), 1);
    QVERIFY(trainers->findChild<QLabel*>("trainerProblems")->text().contains("Line 3"));
    m_fixture->prompts.answerInput(Answer::Cancel);
    item(trainers, 0)->setCheckState(0, Qt::Checked);
    QCOMPARE(item(trainers, 0)->checkState(0), Qt::Unchecked);
    QVERIFY(trainers->chosen().isEmpty());
    trainers->reject();
    QVERIFY(list().entry(0).trainers.isEmpty());
}

QTEST_MAIN(TestTrainers)
#include "tst_trainers.moc"
