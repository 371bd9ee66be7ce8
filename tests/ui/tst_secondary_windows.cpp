// SPDX-License-Identifier: GPL-3.0-or-later
// The About and burn-progress windows, and how they live beside the main one.
#include "support/WindowFixture.h"
#include "ui/AboutWindow.h"
#include "ui/BurnWindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <optional>

using namespace tessel;

namespace {

template <typename Window> int countWindows()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return static_cast<int>(std::count_if(windows.begin(), windows.end(), [](QWidget* w) {
        return qobject_cast<Window*>(w) != nullptr;
    }));
}

QList<QWidget*> openWindows()
{
    QList<QWidget*> open;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            open << window;
    }
    return open;
}

} // namespace

class TestSecondaryWindows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aboutShowsTitleCreditsAndPicture();
    void aboutOpensOnceAndComesBackAfterOk();
    void programEndsWithTheLastWindow();
    void burnWindowClosesWithCancel();

private:
    std::optional<test::WindowFixture> m_fixture;
    MainWindow* m_window = nullptr; // the fixture's
};

void TestSecondaryWindows::init()
{
    m_fixture.emplace();
    QVERIFY(m_fixture->start());
    m_window = &m_fixture->window();
}

void TestSecondaryWindows::cleanup()
{
    m_window = nullptr;
    m_fixture.reset();
}

void TestSecondaryWindows::aboutShowsTitleCreditsAndPicture()
{
    AboutWindow about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About de Tessel Zizerev"));
    QCOMPARE(about.size(), QSize(658, 316));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QCOMPARE(about.palette().color(QPalette::Window), QColor(128, 128, 128));
    QVERIFY(!about.windowIcon().isNull());

    auto* title = about.findChild<QLabel*>("Label1");
    QCOMPARE(title->text(), QStringLiteral("TESSEL-Zizerev V 1.0"));
    QCOMPARE(title->pos(), QPoint(16, 16));
    QCOMPARE(title->font().pointSize(), 18);
    QVERIFY(title->font().bold());
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(about.findChild<QLabel*>("Label5")->text(),
             QStringLiteral("Agradecimientos/Thanks to:"));
    QCOMPARE(about.findChild<QLabel*>("Label5")->palette().color(QPalette::WindowText),
             QColor(0, 64, 0));
    auto* picture = about.findChild<QLabel*>("Image2");
    for (const char* line :
         {"Label1", "Label2", "Label3", "Label4", "Label6", "Label7", "Label8"}) {
        auto* label = about.findChild<QLabel*>(line);
        QVERIFY2(label && !label->text().isEmpty(), line);
        // Whole, and clear of the picture, whatever the system font.
        QVERIFY2(label->width() >= label->sizeHint().width(), line);
        QVERIFY2(label->geometry().right() < picture->x(), line);
    }

    QCOMPARE(picture->geometry(), QRect(336, 40, 285, 215));
    QCOMPARE(picture->pixmap().size(), QSize(639, 511));
    QVERIFY(picture->hasScaledContents());

    auto* ok = about.findChild<QPushButton*>("cmdSalir");
    QCOMPARE(ok->geometry(), QRect(128, 256, 81, 33));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
}

void TestSecondaryWindows::aboutOpensOnceAndComesBackAfterOk()
{
    QAction* about = m_window->findChild<QAction*>("mnuAcerca");
    about->trigger();
    QPointer<AboutWindow> first = m_window->aboutWindow();
    QVERIFY(first && first->isVisible());
    about->trigger();
    QCOMPARE(m_window->aboutWindow(), first.data());
    QCOMPARE(countWindows<AboutWindow>(), 1);
    QVERIFY(m_window->isEnabled()); // not modal

    first->findChild<QPushButton*>("cmdSalir")->click();
    QTRY_VERIFY(first.isNull()); // unloaded, not just hidden
    about->trigger();
    QVERIFY(m_window->aboutWindow() && m_window->aboutWindow()->isVisible());
    QCOMPARE(m_window->aboutWindow()->findChild<QLabel*>("Label1")->text(),
             QStringLiteral("TESSEL-Zizerev V 1.0"));
}

void TestSecondaryWindows::programEndsWithTheLastWindow()
{
    // The application quits when no window is left open.
    QVERIFY(qApp->quitOnLastWindowClosed());
    m_window->findChild<QAction*>("mnuAcerca")->trigger();
    QPointer<AboutWindow> about = m_window->aboutWindow();
    QVERIFY(about->parentWidget() == nullptr);
    QVERIFY(m_window->close());
    QCOMPARE(openWindows(), QList<QWidget*>{about.data()});

    about->close();
    QVERIFY(openWindows().isEmpty());
}

void TestSecondaryWindows::burnWindowClosesWithCancel()
{
    m_fixture->prompts.answerMessage(Answer::Ok);
    m_window->findChild<QAction*>("mnuEprom")->trigger();
    QCOMPARE(countWindows<BurnWindow>(), 0);

    QPointer<BurnWindow> burn = new BurnWindow;
    burn->show();
    QCOMPARE(burn->windowTitle(), QStringLiteral("Tessel Cart Burn"));
    QCOMPARE(burn->size(), QSize(241, 114));
    auto* bar = burn->findChild<QProgressBar*>("barEprom");
    QCOMPARE(bar->geometry(), QRect(16, 32, 209, 25));
    QCOMPARE(bar->value(), 0);
    QCOMPARE(bar->maximum(), 100);
    auto* caption = burn->findChild<QLabel*>("lblProgreso");
    QCOMPARE(caption->text(), QStringLiteral("Flash memory burn in progress"));
    QVERIFY(burn->rect().contains(caption->geometry()));
    burn->findChild<QPushButton*>("cmdCancelar")->click();
    QTRY_VERIFY(burn.isNull());
}

QTEST_MAIN(TestSecondaryWindows)
#include "tst_secondary_windows.moc"
