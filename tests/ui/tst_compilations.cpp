// SPDX-License-Identifier: GPL-3.0-or-later
// Compilations through the window: saved, reopened after a restart and
// changed; opened with a bad line; taken back out of an image; dropped.
#include "core/Cartridge.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "ui/ItemViews.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include <optional>

using namespace tessel;
using tessel::test::ScriptedPrompts;
using Kind = ScriptedPrompts::Kind;

class TestCompilations : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveRestartReopenAndSwap();
    void openingChecksFirstAndAsksBeforeReplacing();
    void flashImageComesBackAsSnapshotsAndList();
    void filesDroppedOnEitherList();

private:
    QString kit(const QString& relative = {}) const { return m_fixture->kit(relative); }
    void trigger(const char* name) { m_fixture->trigger(name); }
    MainWindow& window() { return m_fixture->window(); }
    // A drag of the files entering the view's viewport, then dropped there.
    static bool drop(QAbstractItemView* view, const QStringList& files);

    std::optional<test::WindowFixture> m_fixture;
    QStringList m_snaps; // eleven real snapshots
};

void TestCompilations::init()
{
    m_fixture.emplace();
    QVERIFY(test::writeFile(kit("bank1.rom"), QByteArray(kBankSize, '1')));
    QVERIFY(test::writeFile(kit("bank32.rom"), QByteArray(kBankSize, '3')));
    m_snaps.clear();
    const QDir data(TESSEL_TEST_DATA "/sna");
    for (const QString& name : data.entryList({"*.sna"}, QDir::Files).mid(0, 11)) {
        m_snaps << kit("snaps/" + name);
        QVERIFY(QFile::copy(data.filePath(name), m_snaps.last()));
    }
    QVERIFY(m_fixture->start());
}

void TestCompilations::cleanup()
{
    QVERIFY(m_fixture->prompts.allAnswered());
    m_fixture.reset();
}

bool TestCompilations::drop(QAbstractItemView* view, const QStringList& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    const QPoint at = view->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &enter);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &dropped);
    return view->viewport()->acceptDrops() && enter.isAccepted() && dropped.isAccepted();
}

void TestCompilations::saveRestartReopenAndSwap()
{
    SnapshotEntries ten;
    for (int i = 0; i < kEntryCount; ++i)
        ten.append({m_snaps[i], QString("Game %1").arg(i)});
    QVERIFY(window().session().list.setEntries(ten));
    m_fixture->prompts.answerSave(m_snaps[2]); // never over a snapshot of the list
    m_fixture->prompts.answerMessage(Answer::Ok);
    m_fixture->prompts.answerSave(kit("snaps/games"));
    m_fixture->prompts.answerMessage(Answer::Ok);
    trigger("mnuGuardar");
    QCOMPARE(m_fixture->prompts.calls().at(0).save.defaultExtension, QString("tessel"));
    QVERIFY(m_fixture->prompts.calls().at(1).text.contains("is one of the listed snapshots"));
    QCOMPARE(test::readFile(m_snaps[2]).size(), kSnaFileSize);
    QVERIFY(test::readFile(kit("snaps/games.tessel"))
                .startsWith("Game 0\t" + QFileInfo(m_snaps[0]).fileName().toUtf8()));

    // Saving again asks before replacing; No offers the dialog again.
    m_fixture->prompts.answerSave(kit("snaps/games.tessel"));
    m_fixture->prompts.answerMessage(Answer::No);
    m_fixture->prompts.cancelSave();
    trigger("mnuGuardar");
    QCOMPARE(m_fixture->prompts.count(Kind::Save), 4);

    QVERIFY(m_fixture->start()); // a restart: the list starts empty, the recent list does not
    QCOMPARE(window().session().list.count(), 0);
    trigger("mnuReciente1");
    QCOMPARE(window().session().list.entries(), ten);

    m_fixture->prompts.answerMessage(Answer::Ok);
    window().setCurrentRow(3);
    window().removeCurrent();
    m_fixture->prompts.answerInput("Swapped in");
    QVERIFY(drop(window().findChild<GridView*>("msgRom"), {m_snaps[10]}));
    // What is built from the list is the builder's tests' concern.
    QTRY_COMPARE(window().session().list.count(), kEntryCount);
    QCOMPARE(window().session().list.entry(9), (SnapshotEntry{m_snaps[10], "Swapped in"}));
}

void TestCompilations::openingChecksFirstAndAsksBeforeReplacing()
{
    QByteArray lines;
    for (int i = 0; i < kEntryCount; ++i)
        lines += QString("Game %1\t%2\n").arg(i).arg(QFileInfo(m_snaps[i]).fileName()).toUtf8();
    QVERIFY(test::writeFile(kit("snaps/good.tessel"), lines));
    QVERIFY(test::writeFile(kit("snaps/bad.tessel"), QByteArray(lines).replace("Game 6", "")));
    window().session().list.append({m_snaps[0], "Mine"});

    m_fixture->prompts.answerOpen(kit("snaps/bad.tessel"));
    m_fixture->prompts.answerMessage(Answer::Ok);
    trigger("mnuAbrir");
    QVERIFY(m_fixture->prompts.calls().at(0).open.filters.join(' ').contains("*.tessel"));
    // One bad line among ten: nothing is loaded and the message names it.
    QVERIFY2(
        m_fixture->prompts.last().text.contains("\rLine 7: the menu name \"\" has 0 characters"),
        qPrintable(m_fixture->prompts.last().text));
    QCOMPARE(window().session().list.count(), 1);

    // "Mine" was never saved: the question offers to save it.
    m_fixture->prompts.answerOpen(kit("snaps/good.tessel"));
    m_fixture->prompts.answerMessage(Answer::Cancel);
    trigger("mnuAbrir");
    QCOMPARE(m_fixture->prompts.last().buttons, Buttons::SaveDiscardCancel);
    QCOMPARE(window().session().list.entry(0).name, QString("Mine"));
    QCOMPARE(window().session().list.count(), 1);

    m_fixture->prompts.answerOpen(kit("snaps/good.tessel"));
    m_fixture->prompts.answerMessage(Answer::Discard);
    trigger("mnuAbrir");
    QCOMPARE(window().session().list.count(), kEntryCount);
    QCOMPARE(window().session().list.entry(9).path, m_snaps[9]);

    // A recent compilation that is gone is said so and leaves the menu.
    QVERIFY(QFile::remove(kit("snaps/good.tessel")));
    m_fixture->prompts.answerMessage(Answer::Ok);
    trigger("mnuReciente1");
    QTRY_VERIFY(!window().findChild<QAction*>("mnuRecientes")->isEnabled());
}

void TestCompilations::flashImageComesBackAsSnapshotsAndList()
{
    SnapshotEntries ten;
    for (int i = 0; i < kEntryCount; ++i)
        ten.append({m_snaps[i], QString::fromUtf8("Jogo n\u00ba %1").arg(i)});
    QVERIFY(window().session().list.setEntries(ten));
    m_fixture->prompts.answerSave(kit("made.rom"));
    m_fixture->prompts.answerMessage(Answer::Ok);
    trigger("mnuCreate");

    QVERIFY(QDir().mkpath(kit("taken")) && QDir().mkpath(kit("free")));
    QVERIFY(test::writeFile(kit("taken/made.tessel"), "mine"));
    m_fixture->prompts.clear();
    m_fixture->prompts.answerOpen(kit("made.rom"));
    m_fixture->prompts.answerMessage(Answer::Yes); // replace the list
    m_fixture->prompts.answerFolder(kit("taken"));
    m_fixture->prompts.answerMessage(Answer::No); // keep the file there
    m_fixture->prompts.answerFolder(kit("free"));
    m_fixture->prompts.answerMessage(Answer::Ok);
    trigger("mnuImagen");
    QVERIFY2(m_fixture->prompts.calls().at(3).text.contains("made.tessel"),
             qPrintable(m_fixture->prompts.calls().at(3).text));
    QCOMPARE(test::readFile(kit("taken/made.tessel")), QByteArray("mine"));
    QCOMPARE(m_fixture->prompts.last().icon, Icon::Information);

    const Session& session = window().session();
    for (int i = 0; i < kEntryCount; ++i) {
        QCOMPARE(session.list.entry(i).name, ten[i].name);
        QCOMPARE(session.list.entry(i).path, kit("free/" + ten[i].name + ".sna"));
        QCOMPARE(test::readFile(session.list.entry(i).path), test::readFile(m_snaps[i]));
    }
    QVERIFY(window().findChild<QAction*>("mnuReciente1")->text().endsWith("made.tessel"));
}

void TestCompilations::filesDroppedOnEitherList()
{
    auto* files = window().findChild<FileListView*>("fleSelecciona");
    m_fixture->prompts.answerInput("Dropped");
    QVERIFY(drop(files, {m_snaps[4]}));
    QTRY_COMPARE(window().session().list.entry(0), (SnapshotEntry{m_snaps[4], "Dropped"}));

    // Anything but local files is not taken at all.
    QMimeData text;
    text.setText("Game\t/x.sna");
    QDragEnterEvent enter({1, 1}, Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(files->viewport(), &enter);
    QVERIFY(!enter.isAccepted());
}

QTEST_MAIN(TestCompilations)
#include "tst_compilations.moc"
