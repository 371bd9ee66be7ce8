// SPDX-License-Identifier: GPL-3.0-or-later
// The program with the keyboard alone: every command can be reached, and
// every control a user can reach says what it is.
#include "core/Cartridge.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "ui/AboutWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <optional>

using namespace tessel;
using tessel::test::ScriptedPrompts;

namespace {

QWidget* focused()
{
    return QApplication::focusWidget();
}

void press(int key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget* target = QApplication::activePopupWidget();
    if (!target)
        target = focused();
    QVERIFY(target);
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aCompilationWithoutTheMouse();
    void typingANameFindsItInTheList();
    void menusOpenFromTheKeyboard();
    void everyReachableControlHasAName();

private:
    std::optional<test::WindowFixture> m_fixture;
    MainWindow* m_window = nullptr; // the fixture's
};

void TestKeyboard::init()
{
    m_fixture.emplace("[tessel]\nstart=0\n");
    for (const char* name : {"a.sna", "b.sna"})
        QVERIFY(test::writeFile(m_fixture->kit(name), QByteArray(kSnaFileSize, 's')));
    QVERIFY(m_fixture->start());
    m_window = &m_fixture->window();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    auto* files = m_window->findChild<QAbstractItemView*>("fleSelecciona");
    QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), 2);
}

void TestKeyboard::cleanup()
{
    m_window = nullptr;
    m_fixture.reset();
}

void TestKeyboard::aCompilationWithoutTheMouse()
{
    Session& session = m_window->session();
    QCOMPARE(focused()->objectName(), QStringLiteral("fleSelecciona"));

    // Pick the second file and add it.
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    m_fixture->prompts.answerInput("From the keys");
    press(Qt::Key_Return);
    QCOMPARE(session.list.count(), 1);
    QVERIFY(session.list.entry(0).path.endsWith("b.sna"));

    // To the grid, onto the entry, and try it in the emulator from the menu.
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("msgRom"));
    press(Qt::Key_Down);
    QCOMPARE(m_window->currentRow(), 0);
    m_fixture->prompts.answerMessage(Answer::Yes);
    press(Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    press(Qt::Key_S);
    QCOMPARE(m_fixture->launcher.starts.size(), 1);

    // Delete it again.
    QCOMPARE(focused()->objectName(), QStringLiteral("msgRom"));
    m_fixture->prompts.answerMessage(Answer::Ok);
    press(Qt::Key_Delete);
    QCOMPARE(session.list.count(), 0);

    // The button from the keyboard: the list is not complete yet.
    press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("cmdFLash"));
    m_fixture->prompts.answerMessage(Answer::Ok);
    press(Qt::Key_Space);
    QCOMPARE(m_fixture->prompts.last().title, QStringLiteral("Tessel"));
    QVERIFY(m_fixture->prompts.allAnswered());
}

void TestKeyboard::typingANameFindsItInTheList()
{
    auto* files = m_window->findChild<QAbstractItemView*>("fleSelecciona");
    QCOMPARE(focused(), files);
    press(Qt::Key_B);
    QCOMPARE(files->currentIndex().data().toString(), QStringLiteral("b.sna"));
    m_fixture->prompts.answerInput("Found");
    press(Qt::Key_Return);
    QCOMPARE(m_window->session().list.count(), 1);
    QVERIFY(m_window->session().list.entry(0).path.endsWith("b.sna"));
}

void TestKeyboard::menusOpenFromTheKeyboard()
{
    press(Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    press(Qt::Key_B);
    QTRY_VERIFY(m_window->aboutWindow() && m_window->aboutWindow()->isVisible());

    AboutWindow* about = m_window->aboutWindow();
    QApplication::setActiveWindow(about);
    QTRY_COMPARE(focused()->objectName(), QStringLiteral("cmdSalir"));
    QPointer<AboutWindow> guard = about;
    press(Qt::Key_Return);
    QTRY_VERIFY(guard.isNull());

    QApplication::setActiveWindow(m_window);
    m_fixture->prompts.answerMessage(Answer::Ok);
    press(Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    press(Qt::Key_B);
    QCOMPARE(m_fixture->prompts.last().title, QStringLiteral("Tessel Burning"));

    press(Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    press(Qt::Key_E);
    QTRY_VERIFY(!m_window->isVisible());
}

void TestKeyboard::everyReachableControlHasAName()
{
    m_window->findChild<QAction*>("mnuAcerca")->trigger();
    for (QWidget* window :
         {static_cast<QWidget*>(m_window), static_cast<QWidget*>(m_window->aboutWindow())}) {
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(window)
                || qobject_cast<QMenuBar*>(widget) || qobject_cast<QMenu*>(widget)
                || widget->objectName().startsWith("qt_"))
                continue;
            QVERIFY2(!widget->accessibleName().isEmpty(),
                     qPrintable(widget->metaObject()->className() + QString(' ')
                                + widget->objectName()));
        }
    }
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
