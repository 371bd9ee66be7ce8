// SPDX-License-Identifier: GPL-3.0-or-later
// File > Image Contents... and Tools > Firmware..., driven through the window.
#include "core/Settings.h"
#include "flash/FlashBuild.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "ui/ScreenPreview.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace tessel;
using namespace tessel::test;
using Kind = ScriptedPrompts::Kind;

class TestToolWindows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void imageContentsListsAndWritesNothing();
    void firmwareRefusesAndCopiesNothing_data();
    void firmwareRefusesAndCopiesNothing();
    void firmwareCopiesBanksAndWritesOffsets();

private:
    QString image();
    FirmwareWindow* firmware();
    template <typename T> T* in(QWidget* window, const char* name)
    {
        return window->findChild<T*>(QLatin1String(name));
    }

    std::optional<WindowFixture> m_fixture;
};

void TestToolWindows::init()
{
    m_fixture.emplace();
    QVERIFY(m_fixture->start());
    // The browser records the folder it shows once listed: not during a test.
    QTRY_VERIFY(m_fixture->window().browser().isFileListLoaded());
}

void TestToolWindows::cleanup()
{
    m_fixture.reset();
}

// Ten demo snapshots built with the kit's offsets; the kit gets banks for it.
QString TestToolWindows::image()
{
    writeFile(m_fixture->kit("bank1.rom"), QByteArray(kBankSize, '1'));
    writeFile(m_fixture->kit("bank32.rom"), QByteArray(kBankSize, '3'));
    const QStringList demo = QDir(TESSEL_TEST_DATA "/sna").entryList({"*.sna"}, QDir::Files);
    SnapshotEntries entries;
    for (int i = 0; i < kEntryCount; ++i)
        entries.append({TESSEL_TEST_DATA "/sna/" + demo.at(i), QString("Game %1").arg(i)});
    const QString out = m_fixture->beside("cart.rom");
    QString error;
    if (!build(Kit(m_fixture->kit()), entries, {out, {}}, &error))
        qWarning("%s", qPrintable(error));
    return out;
}

FirmwareWindow* TestToolWindows::firmware()
{
    m_fixture->trigger("mnuFirmware");
    return m_fixture->window().firmwareWindow();
}

void TestToolWindows::imageContentsListsAndWritesNothing()
{
    const QString cart = image();
    const auto before = treeContents(m_fixture->beside());
    Settings settings(Kit(m_fixture->kit()));

    // Made with other offsets than the kit's: said why, and nothing opens.
    QVERIFY(settings.setValue(Settings::kRegistersOffset, "8480"));
    m_fixture->prompts.answerOpen(cart);
    m_fixture->prompts.answerMessage(Answer::Ok);
    m_fixture->trigger("mnuImageContents");
    QVERIFY(!m_fixture->window().imageContentsWindow());
    QVERIFY2(m_fixture->prompts.last().text.contains("DireccionRegistros"),
             qPrintable(m_fixture->prompts.last().text));
    QVERIFY(settings.setValue(Settings::kRegistersOffset, "8448"));
    QCOMPARE(treeContents(m_fixture->beside()), before);

    m_fixture->prompts.answerOpen(cart);
    m_fixture->trigger("mnuImageContents");
    ImageContentsWindow* contents = m_fixture->window().imageContentsWindow();
    QVERIFY(contents && contents->isVisible());
    QCOMPARE(contents->entryList()->count(), kEntryCount);
    for (int i = 0; i < kEntryCount; ++i) {
        QCOMPARE(contents->entryList()->item(i)->text(), QString("%1. Game %2").arg(i + 1).arg(i));
        QVERIFY(!contents->entryList()->item(i)->icon().isNull());
    }
    QVERIFY(contents->screenView()->hasScreen());
    QVERIFY(!contents->warningView()->isVisible());
    QCOMPARE(treeContents(m_fixture->beside()), before);

    // Taken apart from there, as Open Flash Image does.
    m_fixture->prompts.answerFolder(m_fixture->beside("out"));
    m_fixture->prompts.answerMessage(Answer::Ok);
    in<QPushButton>(contents, "cmdTakeApart")->click();
    QCOMPARE(m_fixture->window().session().list.count(), kEntryCount);
    QVERIFY(QFile::exists(m_fixture->beside("out/cart.tessel")));
    QTRY_VERIFY(!m_fixture->window().imageContentsWindow());
    QVERIFY(m_fixture->prompts.allAnswered());

    // Tables over a snapshot's memory: the window says what was lost.
    QVERIFY(settings.setValue(Settings::kNamesOffset, "20000"));
    QVERIFY(settings.setValue(Settings::kRegistersOffset, "30000"));
    m_fixture->prompts.answerOpen(image());
    m_fixture->trigger("mnuImageContents");
    contents = m_fixture->window().imageContentsWindow();
    QVERIFY(contents && contents->warningView()->isVisible());
    QVERIFY2(contents->warningView()->toPlainText().contains("are lost"),
             qPrintable(contents->warningView()->toPlainText()));
}

void TestToolWindows::firmwareRefusesAndCopiesNothing_data()
{
    // What is chosen: good, empty, folder, gone, same, the kit's bank 32, or none.
    QTest::addColumn<QString>("bank1");
    QTest::addColumn<QString>("bank32");
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("registers");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty bank") << "empty"
                                << "good"
                                << "8192"
                                << "8448"
                                << "is empty";
    QTest::newRow("a folder") << "good"
                              << "folder"
                              << "8192"
                              << "8448"
                              << "a folder";
    QTest::newRow("gone since chosen") << "gone"
                                       << "good"
                                       << "8192"
                                       << "8448"
                                       << "cannot be read";
    QTest::newRow("one file twice") << "good"
                                    << "same"
                                    << "8192"
                                    << "8448"
                                    << "both banks";
    QTest::newRow("bank 32 as bank 1 too") << "kit32"
                                           << "none"
                                           << "8192"
                                           << "8448"
                                           << "both banks";
    QTest::newRow("names not a number") << "good"
                                        << "good"
                                        << "12x"
                                        << "8448"
                                        << "name table";
    QTest::newRow("names past the limit") << "good"
                                          << "good"
                                          << "32560"
                                          << "8448"
                                          << "32559";
    QTest::newRow("registers empty") << "good"
                                     << "good"
                                     << "8192"
                                     << " "
                                     << "is empty";
    QTest::newRow("registers negative") << "good"
                                        << "good"
                                        << "8192"
                                        << "-1"
                                        << "register";
}

void TestToolWindows::firmwareRefusesAndCopiesNothing()
{
    QFETCH(QString, bank1);
    QFETCH(QString, bank32);
    QFETCH(QString, names);
    QFETCH(QString, registers);
    QFETCH(QString, reason);
    QVERIFY(writeFile(m_fixture->kit("bank1.rom"), "old bank 1"));
    QVERIFY(writeFile(m_fixture->kit("bank32.rom"), "old bank 32"));
    const QString good = m_fixture->beside("good.rom");
    QVERIFY(writeFile(good, QByteArray(kBankSize, 'g')));
    QVERIFY(writeFile(m_fixture->beside("empty"), {}));
    QVERIFY(QDir().mkpath(m_fixture->beside("folder")));
    QVERIFY(writeFile(m_fixture->beside("gone"), "soon gone"));
    const auto source = [&](const QString& kind) {
        return kind == "good" || kind == "same" ? good
               : kind == "kit32"                ? m_fixture->kit("bank32.rom")
                                                : m_fixture->beside(kind);
    };
    FirmwareWindow* window = firmware();
    QVERIFY(window && window->isVisible());
    m_fixture->prompts.answerOpen(source(bank1));
    in<QPushButton>(window, "cmdBank1")->click();
    if (bank32 != "none") {
        m_fixture->prompts.answerOpen(source(bank32));
        in<QPushButton>(window, "cmdBank32")->click();
    }
    QFile::remove(m_fixture->beside("gone"));
    in<QLineEdit>(window, "txtNamesOffset")->setText(names);
    in<QLineEdit>(window, "txtRegistersOffset")->setText(registers);
    const auto before = treeContents(m_fixture->kit());

    m_fixture->prompts.answerMessage(Answer::Ok);
    in<QPushButton>(window, "cmdSave")->click();

    QCOMPARE(m_fixture->prompts.count(Kind::Message), 1);
    QCOMPARE(m_fixture->prompts.last().icon, Icon::Exclamation);
    QVERIFY2(m_fixture->prompts.last().text.contains(reason),
             qPrintable(m_fixture->prompts.last().text));
    QCOMPARE(treeContents(m_fixture->kit()), before);
}

void TestToolWindows::firmwareCopiesBanksAndWritesOffsets()
{
    // Bank 1's copy is small enough to be written whole, bank 32's is not.
    const QByteArray one(100, '1'), other(kBankSize, '3');
    const QByteArray oldOne("old bank 1"), oldOther("old bank 32");
    QVERIFY(writeFile(m_fixture->beside("one.rom"), one));
    QVERIFY(writeFile(m_fixture->beside("other.rom"), other));
    QVERIFY(writeFile(m_fixture->kit("bank1.rom"), oldOne));
    QVERIFY(writeFile(m_fixture->kit("bank32.rom"), oldOther));
    FirmwareWindow* window = firmware();
    m_fixture->prompts.answerOpen(m_fixture->beside("one.rom"));
    in<QPushButton>(window, "cmdBank1")->click();
    m_fixture->prompts.answerOpen(m_fixture->beside("other.rom"));
    in<QPushButton>(window, "cmdBank32")->click();
    in<QLineEdit>(window, "txtRegistersOffset")->setText("2000");

    // A copy cut short by the file size limit keeps the banks that were there.
    rlimit limit{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
    const rlimit small{kBankSize / 2, limit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    m_fixture->prompts.answerMessage(Answer::Ok);
    in<QPushButton>(window, "cmdSave")->click();
    QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY2(m_fixture->prompts.last().text.contains("could not be written"),
             qPrintable(m_fixture->prompts.last().text));
    QCOMPARE(readFile(m_fixture->kit("bank1.rom")), oldOne);
    QCOMPARE(readFile(m_fixture->kit("bank32.rom")), oldOther);
    QCOMPARE(QDir(m_fixture->kit()).entryList({"bank*"}, QDir::Files | QDir::Hidden),
             QStringList({"bank1.rom", "bank32.rom"})); // no copy left half-made

    in<QPushButton>(window, "cmdSave")->click();
    QCOMPARE(readFile(m_fixture->kit("bank1.rom")), one);
    QCOMPARE(readFile(m_fixture->kit("bank32.rom")), other);
    QCOMPARE(readFile(m_fixture->beside("one.rom")), one); // copied, not moved
    const Settings settings(Kit(m_fixture->kit()));
    QCOMPARE(settings.value(Settings::kNamesOffset), "8192"); // untouched
    QCOMPARE(settings.value(Settings::kRegistersOffset), "2000");
    QVERIFY2(in<QLabel>(window, "lblBank1")->text().contains("100"),
             qPrintable(in<QLabel>(window, "lblBank1")->text()));
    QVERIFY(in<QLabel>(window, "lblStatus")->text().startsWith("Saved"));
    QCOMPARE(m_fixture->prompts.count(Kind::Message), 1);
}

QTEST_MAIN(TestToolWindows)
#include "tst_tool_windows.moc"
