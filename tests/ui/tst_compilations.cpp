// SPDX-License-Identifier: GPL-3.0-or-later
// Compilations through the window: saved, reopened after a restart and
// changed; opened with a bad line; taken back out of an image; dropped.
#include "core/Cartridge.h"
#include "support/FakeVolumes.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/WindowTesting.h"
#include "ui/ItemViews.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

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
    std::unique_ptr<MainWindow> start();
    QString kit(const QString& relative = {}) const { return m_dir->filePath("kit/" + relative); }
    void trigger(const char* name) { m_window->findChild<QAction*>(name)->trigger(); }
    // A drag of the files entering the view's viewport, then dropped there.
    static bool drop(QAbstractItemView* view, const QStringList& files);

    QString m_cwd;
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_snaps; // eleven real snapshots
    ScriptedPrompts m_prompts;
    test::RecordingLauncher m_launcher;
    test::FakeVolumes m_volumes;
    test::FixedGuard m_guard;
    std::unique_ptr<MainWindow> m_window;
};

void TestCompilations::init()
{
    m_cwd = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(kit("flash")) && QDir().mkpath(kit("snaps")));
    QVERIFY(test::writeFile(kit("tessel.ini"), "[tessel]\nstart=0\nDireccionNombres=8192\n"
                                               "DireccionRegistros=8448\n"));
    QVERIFY(test::writeFile(kit("bank1.rom"), QByteArray(kBankSize, '1')));
    QVERIFY(test::writeFile(kit("bank32.rom"), QByteArray(kBankSize, '3')));
    m_snaps.clear();
    const QDir data(TESSEL_TEST_DATA "/sna");
    for (const QString& name : data.entryList({"*.sna"}, QDir::Files).mid(0, 11)) {
        m_snaps << kit("snaps/" + name);
        QVERIFY(QFile::copy(data.filePath(name), m_snaps.last()));
    }
    if (m_volumes.volumes().isEmpty())
        m_volumes.add("/");
    m_prompts.clear();
    m_window = start();
}

void TestCompilations::cleanup()
{
    QVERIFY(m_prompts.allAnswered());
    m_window.reset();
    test::deleteAllWindows();
    QDir::setCurrent(m_cwd);
}

std::unique_ptr<MainWindow> TestCompilations::start()
{
    auto window =
        std::make_unique<MainWindow>(Kit(kit()), m_prompts, m_guard, m_launcher, m_volumes);
    window->startUp();
    window->show();
    return window;
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
    QVERIFY(m_window->session().list.setEntries(ten));
    m_prompts.answerSave(m_snaps[2]); // never over a snapshot of the list
    m_prompts.answerMessage(Answer::Ok);
    m_prompts.answerSave(kit("snaps/games"));
    m_prompts.answerMessage(Answer::Ok);
    trigger("mnuGuardar");
    QCOMPARE(m_prompts.calls().at(0).save.defaultExtension, QString("tessel"));
    QVERIFY(m_prompts.calls().at(1).text.contains("is one of the listed snapshots"));
    QCOMPARE(test::readFile(m_snaps[2]).size(), kSnaFileSize);
    QVERIFY(test::readFile(kit("snaps/games.tessel"))
                .startsWith("Game 0\t" + QFileInfo(m_snaps[0]).fileName().toUtf8()));

    // Saving again asks before replacing; No offers the dialog again.
    m_prompts.answerSave(kit("snaps/games.tessel"));
    m_prompts.answerMessage(Answer::No);
    m_prompts.cancelSave();
    trigger("mnuGuardar");
    QCOMPARE(m_prompts.count(Kind::Save), 4);

    m_window.reset(); // a restart: the list starts empty, the recent list does not
    m_window = start();
    QCOMPARE(m_window->session().list.count(), 0);
    trigger("mnuReciente1");
    QCOMPARE(m_window->session().list.entries(), ten);

    m_prompts.answerMessage(Answer::Ok);
    m_window->setCurrentRow(3);
    m_window->removeCurrent();
    m_prompts.answerInput("Swapped in");
    QVERIFY(drop(m_window->findChild<GridView*>("msgRom"), {m_snaps[10]}));
    // What is built from the list is the builder's tests' concern.
    QTRY_COMPARE(m_window->session().list.count(), kEntryCount);
    QCOMPARE(m_window->session().list.entry(9), (SnapshotEntry{m_snaps[10], "Swapped in"}));
}

void TestCompilations::openingChecksFirstAndAsksBeforeReplacing()
{
    QByteArray lines;
    for (int i = 0; i < kEntryCount; ++i)
        lines += QString("Game %1\t%2\n").arg(i).arg(QFileInfo(m_snaps[i]).fileName()).toUtf8();
    QVERIFY(test::writeFile(kit("snaps/good.tessel"), lines));
    QVERIFY(test::writeFile(kit("snaps/bad.tessel"), QByteArray(lines).replace("Game 6", "")));
    m_window->session().list.append({m_snaps[0], "Mine"});

    m_prompts.answerOpen(kit("snaps/bad.tessel"));
    m_prompts.answerMessage(Answer::Ok);
    trigger("mnuAbrir");
    QVERIFY(m_prompts.calls().at(0).open.filters.join(' ').contains("*.tessel"));
    // One bad line among ten: nothing is loaded and the message names it.
    QVERIFY2(m_prompts.last().text.contains("\rline 7: the menu name \"\" has 0 characters"),
             qPrintable(m_prompts.last().text));
    QCOMPARE(m_window->session().list.count(), 1);

    m_prompts.answerOpen(kit("snaps/good.tessel"));
    m_prompts.answerMessage(Answer::No);
    trigger("mnuAbrir");
    QCOMPARE(m_window->session().list.entry(0).name, QString("Mine"));
    QCOMPARE(m_window->session().list.count(), 1);

    m_prompts.answerOpen(kit("snaps/good.tessel"));
    m_prompts.answerMessage(Answer::Yes);
    trigger("mnuAbrir");
    QCOMPARE(m_window->session().list.count(), kEntryCount);
    QCOMPARE(m_window->session().list.entry(9).path, m_snaps[9]);

    // A recent compilation that is gone is said so and leaves the menu.
    QVERIFY(QFile::remove(kit("snaps/good.tessel")));
    m_prompts.answerMessage(Answer::Ok);
    trigger("mnuReciente1");
    QTRY_VERIFY(!m_window->findChild<QAction*>("mnuRecientes")->isEnabled());
}

void TestCompilations::flashImageComesBackAsSnapshotsAndList()
{
    SnapshotEntries ten;
    for (int i = 0; i < kEntryCount; ++i)
        ten.append({m_snaps[i], QString::fromUtf8("Jogo n\u00ba %1").arg(i)});
    QVERIFY(m_window->session().list.setEntries(ten));
    m_prompts.answerSave(kit("made.rom"));
    m_prompts.answerMessage(Answer::Ok);
    trigger("mnuCreate");

    QVERIFY(QDir().mkpath(kit("taken")) && QDir().mkpath(kit("free")));
    QVERIFY(test::writeFile(kit("taken/made.tessel"), "mine"));
    m_prompts.clear();
    m_prompts.answerOpen(kit("made.rom"));
    m_prompts.answerMessage(Answer::Yes); // replace the list
    m_prompts.answerFolder(kit("taken"));
    m_prompts.answerMessage(Answer::No); // keep the file there
    m_prompts.answerFolder(kit("free"));
    m_prompts.answerMessage(Answer::Ok);
    trigger("mnuImagen");
    QVERIFY2(m_prompts.calls().at(3).text.contains("made.tessel"),
             qPrintable(m_prompts.calls().at(3).text));
    QCOMPARE(test::readFile(kit("taken/made.tessel")), QByteArray("mine"));
    QCOMPARE(m_prompts.last().icon, Icon::Information);

    const Session& session = m_window->session();
    for (int i = 0; i < kEntryCount; ++i) {
        QCOMPARE(session.list.entry(i).name, ten[i].name);
        QCOMPARE(session.list.entry(i).path, kit("free/" + ten[i].name + ".sna"));
        QCOMPARE(test::readFile(session.list.entry(i).path), test::readFile(m_snaps[i]));
    }
    QVERIFY(m_window->findChild<QAction*>("mnuReciente1")->text().endsWith("made.tessel"));
}

void TestCompilations::filesDroppedOnEitherList()
{
    auto* files = m_window->findChild<FileListView*>("fleSelecciona");
    m_prompts.answerInput("Dropped");
    QVERIFY(drop(files, {m_snaps[4]}));
    QTRY_COMPARE(m_window->session().list.entry(0), (SnapshotEntry{m_snaps[4], "Dropped"}));

    // Anything but local files is not taken at all.
    QMimeData text;
    text.setText("Game\t/x.sna");
    QDragEnterEvent enter({1, 1}, Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(files->viewport(), &enter);
    QVERIFY(!enter.isAccepted());
}

QTEST_MAIN(TestCompilations)
#include "tst_compilations.moc"
