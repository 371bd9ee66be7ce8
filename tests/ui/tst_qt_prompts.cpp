// SPDX-License-Identifier: GPL-3.0-or-later
// The real dialogs behind the prompts: what the user sees of a text, which
// button is the default, and what closing a box answers.
#include "core/Progress.h"
#include "ui/QtPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <functional>

using namespace tessel;

namespace {

// Runs `look` on the next modal dialog once it is up, then lets it close.
void whenModal(std::function<void(QWidget*)> look)
{
    QTimer::singleShot(0, qApp, [look] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) {
            whenModal(look);
            return;
        }
        look(dialog);
    });
}

} // namespace

class TestQtPrompts : public QObject
{
    Q_OBJECT

private slots:
    void userTextIsNeverMarkup();
    void buttonsAndTheirDefaults_data();
    void buttonsAndTheirDefaults();
    void fileDialogsTakeTheirFiltersAndModes();
    void progressShowsTheJobAndCancelStopsIt();
};

void TestQtPrompts::userTextIsNeverMarkup()
{
    QtPrompts prompts;
    const QString name = QStringLiteral("<b>x</b> & <i>y");
    Qt::TextFormat format = Qt::RichText;
    QString shown;
    whenModal([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box);
        format = box->textFormat();
        shown = box->text().remove(QChar(0x200B)); // wrap points
        box->button(QMessageBox::Ok)->click();
    });
    prompts.message(QStringLiteral("Delete from the list ") + name + QStringLiteral("?\rnext"),
                    kAppTitle, Icon::Exclamation, Buttons::OkCancel);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(shown, QStringLiteral("Delete from the list ") + name + QStringLiteral("?\nnext"));

    // A long Recent entry, a name without a break, still fits the screen.
    int widest = 0; // the longest line the text cannot break
    whenModal([&](QWidget* dialog) {
        for (QLabel* label : dialog->findChildren<QLabel*>())
            widest = std::max(widest, label->minimumSizeHint().width());
        qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
    });
    const QString path = "/home/" + QString(400, 'a') + ".tessel";
    prompts.message("The compilation \"" + path + "\" cannot be read.", kAppTitle,
                    Icon::Exclamation, Buttons::Ok);
    QVERIFY2(widest < qApp->primaryScreen()->availableGeometry().width() / 2,
             qPrintable(QString::number(widest)));

    QStringList labels;
    whenModal([&](QWidget* dialog) {
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (!label->text().isEmpty())
                labels << (label->textFormat() == Qt::PlainText
                               ? label->text().remove(QChar(0x200B)) // wrap points
                               : QString());
        }
        qobject_cast<QDialog*>(dialog)->accept();
    });
    QCOMPARE(prompts.input({QStringLiteral("Type the name ") + name, kAppTitle, name, {}}).text,
             name);
    QCOMPARE(labels, QStringList{QStringLiteral("Type the name ") + name});
}

void TestQtPrompts::buttonsAndTheirDefaults_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("closedAnswer"); // what closing the box answers
    QTest::newRow("ok") << int(Buttons::Ok) << int(QMessageBox::Ok) << int(Answer::Ok);
    QTest::newRow("ok cancel") << int(Buttons::OkCancel) << int(QMessageBox::Ok)
                               << int(Answer::Cancel);
    QTest::newRow("yes no") << int(Buttons::YesNo) << int(QMessageBox::Yes) << int(Answer::No);
    QTest::newRow("yes no, no first")
        << int(Buttons::YesNoDefaultNo) << int(QMessageBox::No) << int(Answer::No);
    QTest::newRow("save discard cancel")
        << int(Buttons::SaveDiscardCancel) << int(QMessageBox::Save) << int(Answer::Cancel);
}

void TestQtPrompts::buttonsAndTheirDefaults()
{
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, closedAnswer);
    QtPrompts prompts;
    int seenDefault = -1;
    whenModal([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box);
        seenDefault = box->standardButton(box->defaultButton());
        QTest::keyClick(box, Qt::Key_Escape);
        if (box->isVisible()) // a box without a way out: Escape does nothing
            box->defaultButton()->click();
    });
    const Answer answer = prompts.message(QStringLiteral("text"), kAppTitle, Icon::None,
                                          static_cast<Buttons>(buttons));
    QCOMPARE(seenDefault, defaultButton);
    QCOMPARE(int(answer), closedAnswer);
}

void TestQtPrompts::fileDialogsTakeTheirFiltersAndModes()
{
    QtPrompts prompts;
    const QStringList filters{"Compilations (*.tessel)", "All files (*)"};
    QList<QStringList> shown;
    QList<int> modes;
    for (int i = 0; i < 3; ++i) {
        whenModal([&, i](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            shown << files->nameFilters();
            modes << files->fileMode();
            if (i == 2)
                static_cast<QDialog*>(files)->accept(); // the folder it starts in
            else
                files->reject();
        });
        if (i == 0)
            prompts.openFileName({"Open", QDir::tempPath(), filters});
        else if (i == 1)
            prompts.saveFileName({"Save", QDir::tempPath(), "tessel", filters});
        else
            QCOMPARE(prompts.folderName({"Folder", QDir::tempPath()}),
                     QDir::toNativeSeparators(QDir::tempPath()));
    }
    QCOMPARE(shown.mid(0, 2), (QList<QStringList>{filters, filters}));
    QCOMPARE(modes,
             (QList<int>{QFileDialog::ExistingFile, QFileDialog::AnyFile, QFileDialog::Directory}));
}

// The job runs off the window's thread, its share done shows, and Cancel
// reaches it; a job done at once shows nothing and counts as done.
void TestQtPrompts::progressShowsTheJobAndCancelStopsIt()
{
    QtPrompts prompts;
    QThread* jobThread = nullptr;
    int shown = -1;
    whenModal([&](QWidget* dialog) {
        auto* progress = qobject_cast<QProgressDialog*>(dialog);
        QVERIFY(progress);
        QTRY_COMPARE(progress->value(), 250);
        shown = progress->value();
        QVERIFY(progress->labelText().contains(QStringLiteral("tape")));
        progress->findChild<QPushButton*>()->click();
    });
    const bool done = prompts.runWithProgress({QStringLiteral("Loading the tape"), kAppTitle},
                                              [&](Progress& progress) {
                                                  jobThread = QThread::currentThread();
                                                  progress.report(0.25);
                                                  while (!progress.cancelled())
                                                      QThread::msleep(5);
                                              });
    QVERIFY(!done);
    QCOMPARE(shown, 250);
    QVERIFY(jobThread && jobThread != QThread::currentThread());
    QVERIFY(prompts.runWithProgress({QStringLiteral("Quick"), kAppTitle}, [](Progress&) {}));
}

QTEST_MAIN(TestQtPrompts)
#include "tst_qt_prompts.moc"
