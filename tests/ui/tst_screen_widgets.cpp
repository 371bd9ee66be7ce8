// SPDX-License-Identifier: GPL-3.0-or-later
// The loading-screen pop-up, the item-view attachment that shows it, and the
// naming box, on a small screen (640×480, see small-screen.json).
#include "screens/ScreenCache.h"
#include "support/TestFiles.h"
#include "support/WindowTesting.h"
#include "ui/HoverPreview.h"
#include "ui/NamingDialog.h"
#include "ui/QtPrompts.h"
#include "ui/ScreenPreview.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace tessel;
using namespace tessel::test;

namespace {

const QString kSna = QStringLiteral(TESSEL_TEST_DATA "/sna/zasmops.sna");

QRect room()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

LoadingScreen flashingScreen()
{
    return *readLoadingScreen(kSna, nullptr);
}

} // namespace

class TestScreenWidgets : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { deleteAllWindows(); }

    void previewsKeepClearOfTheList_data();
    void previewsKeepClearOfTheList();
    void previewTakesNeitherFocusNorMarkup();
    void flashAlternatesOnlyWhileShown();
    void itemViewShowsScreensOnHoverAndKeys();
    void namingBoxFitsWhateverThePath();
    void namingBoxHintFollowsTheName();
    void promptsAskWithTheNamingBox();
};

// The main window's lists at 1280×1024, 1024×768 and this 640×480 screen:
// the window centred or against one edge, the list the file list (top
// right) or the grid (bottom, the window's width), the other one kept clear.
void TestScreenWidgets::previewsKeepClearOfTheList_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("window"); // its top left; 569×490
    QTest::addColumn<QRect>("list"); // within the window
    QTest::addColumn<QRect>("other"); // the other list, within the window
    QTest::addColumn<int>("scale"); // 0: no room anywhere
    QTest::addColumn<QString>("where"); // beside the window, or the list
    const QRect files(233, 70, 209, 162), grid(17, 270, 537, 177);
    const QRect big(0, 0, 1280, 1024), mid(0, 0, 1024, 768), small(0, 0, 640, 480);
    QTest::newRow("1280 centred, files")
        << big << QPoint(355, 267) << files << grid << 1 << "right";
    QTest::newRow("1280 centred, grid") << big << QPoint(355, 267) << grid << files << 1 << "right";
    QTest::newRow("1280 at the left") << big << QPoint(0, 0) << grid << files << 2 << "right";
    QTest::newRow("1280 at the right") << big << QPoint(711, 0) << files << grid << 2 << "left";
    QTest::newRow("1024 centred, files") << mid << QPoint(227, 139) << files << grid << 1 << "list";
    QTest::newRow("1024 centred, grid") << mid << QPoint(227, 139) << grid << files << 1 << "list";
    QTest::newRow("640 centred, files") << small << QPoint(35, 0) << files << grid << 0 << "none";
    // Above the grid is the only room, and the file list is there.
    QTest::newRow("640 centred, grid") << small << QPoint(35, 0) << grid << files << 0 << "none";
}

void TestScreenWidgets::previewsKeepClearOfTheList()
{
    QFETCH(QRect, screen);
    QFETCH(QPoint, window);
    QFETCH(QRect, list);
    QFETCH(QRect, other);
    QFETCH(int, scale);
    QFETCH(QString, where);
    const QRect frame(window, QSize(569, 490));
    const QRect browsed = list.translated(window), kept = other.translated(window);
    const QSize twice(568, 470), once(288, 254);
    const std::optional<PreviewPlace> place =
        placePreview(twice, once, browsed, {kept}, frame, screen);
    QCOMPARE(place ? place->scale : 0, scale);
    if (!place)
        return;
    const QRect shown(place->at, scale == 2 ? twice : once);
    QVERIFY(screen.contains(shown));
    QVERIFY(!shown.intersects(browsed));
    QVERIFY(!shown.intersects(kept));
    if (where == "right")
        QVERIFY(shown.left() > frame.right());
    else if (where == "left")
        QVERIFY(shown.right() < frame.left());
    else
        QVERIFY(shown.intersects(frame));
}

void TestScreenWidgets::previewTakesNeitherFocusNorMarkup()
{
    QLineEdit owner;
    owner.show();
    owner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    owner.setFocus();
    ScreenPreview preview(&owner);
    const QRect area(room().topLeft(), QSize(100, 20));
    preview.showBeside(flashingScreen(), "<b>game</b>.sna", area, {}, area);
    QVERIFY(preview.isVisible());
    QCOMPARE(QApplication::focusWidget(), &owner);
    QCOMPARE(QApplication::activeWindow(), &owner);
    QCOMPARE(preview.accessibleName(), "<b>game</b>.sna loading screen");
    for (const QLabel* label : preview.findChildren<QLabel*>())
        QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(!preview.noteLabel()->isVisible());
}

void TestScreenWidgets::flashAlternatesOnlyWhileShown()
{
    ScreenView view;
    view.setScreen(flashingScreen());
    QCOMPARE(view.flashPhase(), 0);
    QTest::qWait(2 * ScreenView::kFlashMilliseconds);
    QCOMPARE(view.flashPhase(), 0); // hidden: no timer runs
    view.show();
    QTRY_COMPARE_WITH_TIMEOUT(view.flashPhase(), 1, 4 * ScreenView::kFlashMilliseconds);
    QTRY_COMPARE_WITH_TIMEOUT(view.flashPhase(), 0, 4 * ScreenView::kFlashMilliseconds);
    view.hide();
    QCOMPARE(view.flashPhase(), 0);
}

void TestScreenWidgets::itemViewShowsScreensOnHoverAndKeys()
{
    QTemporaryDir dir;
    const QStringList names = {"a.sna", "b.sna", "short.sna", "notes.txt"};
    QVERIFY(QFile::copy(kSna, dir.filePath(names[0])));
    QVERIFY(QFile::copy(kSna, dir.filePath(names[1])));
    QVERIFY(writeFile(dir.filePath(names[2]), "too short"));
    QVERIFY(writeFile(dir.filePath(names[3]), "not a snapshot"));

    QWidget window;
    QLineEdit elsewhere(&window);
    QListView view(&window);
    view.setGeometry(0, 40, 300, 200);
    window.resize(300, 240);
    QStringListModel model(names);
    view.setModel(&model);
    ScreenCache cache;
    int asked = 0;
    HoverPreview hover(view, cache, [&](const QModelIndex& index) {
        ++asked;
        const QString name = index.data().toString();
        return name.endsWith(".sna") ? dir.filePath(name) : QString();
    });
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    ScreenPreview* preview = hover.preview();

    const auto rowCentre = [&](int row) { return view.visualRect(model.index(row)).center(); };
    QTest::mouseMove(view.viewport(), rowCentre(0));
    QTRY_VERIFY(preview->isVisible());
    QCOMPARE(preview->fileName(), names[0]);

    // Not a snapshot, not even asked for one: no picture.
    QTest::mouseMove(view.viewport(), rowCentre(3));
    QTRY_VERIFY(!preview->isVisible());
    QTest::mouseMove(view.viewport(), rowCentre(2));
    QTest::qWait(100);
    QVERIFY(!preview->isVisible());

    QTest::mouseMove(view.viewport(), rowCentre(1));
    QTRY_VERIFY(preview->isVisible());
    QCOMPARE(preview->fileName(), names[1]);
    // Moving within the row asks nothing more.
    const int askedBefore = asked;
    QTest::mouseMove(view.viewport(), rowCentre(1) + QPoint(3, 1));
    QCOMPARE(asked, askedBefore);
    QTest::mouseMove(&elsewhere);
    QVERIFY(!preview->isVisible());

    // The keyboard: tabbing in shows the current row, arrows follow it, never
    // over the view, and the focus leaving ends it.
    view.setCurrentIndex(model.index(0));
    view.setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(preview->isVisible());
    QCOMPARE(preview->fileName(), names[0]);
    QTest::keyClick(&view, Qt::Key_Down);
    QTRY_COMPARE(preview->fileName(), names[1]);
    QVERIFY(!preview->frameGeometry().intersects(QRect(view.mapToGlobal(QPoint()), view.size())));
    QVERIFY(QApplication::focusWidget() == &view);
    elsewhere.setFocus(Qt::TabFocusReason);
    QVERIFY(!preview->isVisible());
}

void TestScreenWidgets::namingBoxFitsWhateverThePath()
{
    // A 300-character path, and one folder name longer than the box is wide.
    QString path = "/home/user";
    while (path.size() < 280)
        path += "/Spectrum games";
    path += "/" + QString(120, QLatin1Char('x')) + ".sna";
    const QString prompt = "Type the name for the menu (Max. 20 chars) " + path;
    ScreenCache cache;
    for (const QString& shown : {prompt, prompt + prompt + prompt + prompt}) {
        NamingDialog dialog("Tessel Zizerev", shown, "Snapshot  1",
                            "Saved with a Melodik AY sound interface: without one it plays "
                            "without that sound. Saved for a Kempston joystick: attach one.",
                            Buttons::OkSkipStop);
        dialog.showScreenOf(cache, kSna);
        const QSize waiting = dialog.sizeHint(); // the picture has its room before it comes
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTRY_VERIFY(dialog.screenView()->isVisible() && dialog.screenView()->hasScreen());
        QCOMPARE(dialog.sizeHint(), waiting);
        QCOMPARE(dialog.screenView()->accessibleName(), "zasmops.sna loading screen");
        // Framed as the pop-ups are.
        ScreenPreview popUp;
        QCOMPARE(qobject_cast<QFrame*>(dialog.screenView()->parentWidget())->frameStyle(),
                 popUp.frameStyle());
        QVERIFY2(room().contains(dialog.frameGeometry()),
                 qPrintable(QString("%1x%2").arg(dialog.width()).arg(dialog.height())));
        QVERIFY(dialog.promptLabel()->height() > 3 * dialog.fontMetrics().height());
        for (QWidget* button : dialog.findChildren<QAbstractButton*>())
            QVERIFY(
                dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint()), button->size())));
    }
}

void TestScreenWidgets::namingBoxHintFollowsTheName()
{
    NamingDialog dialog("<i>title</i>", "<b>Name</b> it", "Game");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!dialog.screenView()->isVisible()); // no snapshot, no empty frame
    QCOMPARE(dialog.promptLabel()->textFormat(), Qt::PlainText);
    QCOMPARE(dialog.hintLabel()->textFormat(), Qt::PlainText);
    QVERIFY(dialog.hintLabel()->text().isEmpty());
    const int height = dialog.height();

    dialog.nameField()->insert("Ñ"); // what typing does
    QCOMPARE(dialog.name(), "Ñ");
    QVERIFY2(dialog.hintLabel()->text().contains("MOVE"), qPrintable(dialog.hintLabel()->text()));
    dialog.nameField()->insert("ñúéèçàò`^€£’Ω");
    QVERIFY(!dialog.hintLabel()->text().contains(QLatin1Char('\n')));
    QVERIFY(dialog.hintLabel()->sizeHint().width() <= dialog.hintLabel()->width());
    QCOMPARE(dialog.height(), height);
    dialog.nameField()->setText("<b>Jet</b> Pac");
    QVERIFY(dialog.hintLabel()->text().isEmpty());
}

void TestScreenWidgets::promptsAskWithTheNamingBox()
{
    QtPrompts prompts;
    QString seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<NamingDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        seen = dialog->nameField()->selectedText();
        dialog->nameField()->setText("Manic");
        dialog->accept();
    });
    QCOMPARE(prompts.input({"p", "t", "Snap", {}}).text, "Manic");
    QCOMPARE(seen, "Snap");

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    QCOMPARE(prompts.input({"p", "t", "Snap", {}}).answer, Answer::Cancel);

    // One of many files: Skip and Stop in place of Cancel, and closing stops.
    const InputRequest many{"p", "t", "Snap", {}, "Saved with a Covox.", Buttons::OkSkipStop};
    QTimer::singleShot(0, [&] {
        auto* dialog = static_cast<NamingDialog*>(QApplication::activeModalWidget());
        seen = dialog->noteLabel()->isVisible() ? dialog->noteLabel()->text() : QString();
        dialog->findChild<QAbstractButton*>("skip")->click();
    });
    QCOMPARE(prompts.input(many).answer, Answer::Skip);
    QCOMPARE(seen, "Saved with a Covox.");
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    QCOMPARE(prompts.input(many).answer, Answer::Stop);
}

QTEST_MAIN(TestScreenWidgets)
#include "tst_screen_widgets.moc"
