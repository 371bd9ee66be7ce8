// SPDX-License-Identifier: GPL-3.0-or-later
// A whole compilation through the window, on real snapshots, against the
// command-line builder: both must give the same image, byte for byte.
#include "core/Cartridge.h"
#include "formats/SnapshotReader.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "ui/ItemViews.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace tessel;

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void windowAndCommandLineBuildTheSameImage_data();
    void windowAndCommandLineBuildTheSameImage();
};

void TestEndToEnd::windowAndCommandLineBuildTheSameImage_data()
{
    QTest::addColumn<QStringList>("others"); // snapshots of other formats among the .sna
    QTest::newRow(".sna only") << QStringList();
    QTest::newRow(".sna, .z80 and .szx") << QStringList{TESSEL_TEST_DATA "/other/gsphello.z80",
                                                        TESSEL_TEST_DATA "/other/zasmops.szx"};
}

void TestEndToEnd::windowAndCommandLineBuildTheSameImage()
{
    QFETCH(QStringList, others);
    test::WindowFixture fixture;
    const QString kit = fixture.kit();
    const QString snaps = fixture.beside("my snapshots");
    QVERIFY(QDir().mkpath(snaps));
    QFile::remove(kit + "/tessel.ini");
    QVERIFY(QFile::copy(TESSEL_KIT_SOURCE "/tessel.ini", kit + "/tessel.ini"));
    QFile bank1(kit + "/bank1.rom"), bank32(kit + "/bank32.rom");
    QVERIFY(bank1.open(QIODevice::WriteOnly) && bank32.open(QIODevice::WriteOnly));
    for (int i = 0; i < 16384; ++i) {
        bank1.putChar(static_cast<char>(i * 7));
        bank32.putChar(static_cast<char>(i * 13 + 1));
    }
    bank1.close();
    bank32.close();
    const QStringList files = QDir(TESSEL_TEST_DATA "/sna").entryList({"*.sna"}, QDir::Files);
    QVERIFY(files.size() >= 10);
    for (const QString& file : files.mid(0, 10 - others.size()))
        QVERIFY(QFile::copy(TESSEL_TEST_DATA "/sna/" + file, snaps + '/' + file));
    for (const QString& other : others)
        QVERIFY(QFile::copy(other, snaps + '/' + QFileInfo(other).fileName()));

    QString firstSnapshot;
    QStringList paths;
    test::ScriptedPrompts& prompts = fixture.prompts;
    {
        QVERIFY(fixture.start());
        MainWindow& window = fixture.window();
        QCOMPARE(window.browser().setPath(snaps), BrowserError::None);

        // Ten double clicks in the file list, each named as a user would.
        auto* list = window.findChild<FileListView*>("fleSelecciona");
        QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 10);
        QStringList names;
        for (int i = 0; i < 10; ++i) {
            const QModelIndex entry = list->model()->index(i, 0, list->rootIndex());
            const QPoint at = list->visualRect(entry).center();
            names << QString::fromUtf8("Jogo n\u00ba %1 \u00e9t\u00e9").arg(i);
            prompts.answerInput(names.last());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }
        QCOMPARE(window.session().list.count(), 10);
        firstSnapshot = window.session().list.entry(0).path;
        for (int i = 0; i < 10; ++i)
            paths << window.session().list.entry(i).path;

        prompts.answerSave(fixture.beside("window.rom"));
        prompts.answerMessage(Answer::Ok);
        window.findChild<QAction*>("mnuCreate")->trigger();
        QCOMPARE(prompts.last().text,
                 "The file " + fixture.beside("window.rom") + " has been saved sucessfully.");

        QStringList arguments{"--kit", kit, "-o", fixture.beside("cli.rom")};
        for (int i = 0; i < 10; ++i)
            arguments << names[i] + '=' + window.session().list.entry(i).path;
        QProcess cli;
        cli.start(TESSEL_FLASH_EXE, arguments);
        QVERIFY(cli.waitForFinished(30000));
        QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
        fixture.stop();
    }

    const QByteArray fromWindow = test::readFile(fixture.beside("window.rom"));
    QCOMPARE(fromWindow.size(), 524288);
    QCOMPARE(test::readFile(fixture.beside("cli.rom")), fromWindow);
    QCOMPARE(test::readFile(kit + "/flash/tessel.rom"), fromWindow);
    // Name 3 in Windows-1252 at its slot, and snapshot 0's memory in its area.
    QCOMPARE(fromWindow.mid(8192 + 23 * 3, 20),
             QByteArray("Jogo n\xba 3 \xe9t\xe9") + QByteArray(7, ' '));
    QCOMPARE(fromWindow.mid(16384, 49152), readSnapshot(firstSnapshot, nullptr)->sna.mid(27));
    // Each snapshot of another format lands as the reader turned it.
    for (int i = 0; i < 10; ++i) {
        const QString path = paths[i];
        if (path.endsWith(".sna"))
            continue;
        const QByteArray sna = readSnapshot(path, nullptr).value().sna;
        QCOMPARE(fromWindow.mid(16384 + 49152 * i, 49152), sna.mid(27));
        QCOMPARE(fromWindow.mid(8448 + 32 * i, 32), sna.left(32));
    }
}

QTEST_MAIN(TestEndToEnd)
#include "tst_end_to_end.moc"
