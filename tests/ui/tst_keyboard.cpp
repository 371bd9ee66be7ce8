// SPDX-License-Identifier: GPL-3.0-or-later
// The program with the keyboard alone: every command can be reached, and
// every control a user can reach says what it is.
#include "core/Cartridge.h"
#include "core/InstanceGuard.h"
#include "support/FakeVolumes.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "support/WindowTesting.h"
#include "ui/AboutWindow.h"
#include "ui/MainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

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
    QString m_cwd;
    QTemporaryDir* m_dir = nullptr;
    ScriptedPrompts* m_prompts = nullptr;
    test::RecordingLauncher m_launcher;
    test::FakeVolumes m_volumes;
    test::FixedGuard m_guard;
    MainWindow* m_window = nullptr;
};

void TestKeyboard::init()
{
    m_cwd = QDir::currentPath();
    m_dir = new QTemporaryDir;
    const QString kit = m_dir->filePath("kit");
    QVERIFY(QDir().mkpath(kit + "/flash"));
    for (const char* name : {"a.sna", "b.sna"}) {
        QFile file(kit + '/' + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(kSnaFileSize, 's'));
    }
    QFile ini(kit + "/tessel.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[tessel]\nstart=0\n");
    ini.close();
    m_prompts = new ScriptedPrompts;
    m_volumes.clear();
    m_volumes.add("/");
    m_window = new MainWindow(Kit(kit), *m_prompts, m_guard, m_launcher, m_volumes);
    QVERIFY(m_window->startUp());
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    auto* files = m_window->findChild<QAbstractItemView*>("fleSelecciona");
    QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), 2);
}

void TestKeyboard::cleanup()
{
    test::deleteAllWindows();
    delete m_prompts;
    delete m_dir;
    QDir::setCurrent(m_cwd);
}

void TestKeyboard::aCompilationWithoutTheMouse()
{
    Session& session = m_window->session();
    QCOMPARE(focused()->objectName(), QStringLiteral("fleSelecciona"));

    // Pick the second file and add it.
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    m_prompts->answerInput("From the keys");
    press(Qt::Key_Return);
    QCOMPARE(session.list.count(), 1);
    QVERIFY(session.list.entry(0).path.endsWith("b.sna"));

    // To the grid, onto the entry, and try it in the emulator from the menu.
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("msgRom"));
    press(Qt::Key_Down);
    QCOMPARE(m_window->currentRow(), 0);
    m_prompts->answerMessage(Answer::Yes);
    press(Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    press(Qt::Key_S);
    QCOMPARE(m_launcher.starts.size(), 1);

    // Delete it again.
    QCOMPARE(focused()->objectName(), QStringLiteral("msgRom"));
    m_prompts->answerMessage(Answer::Ok);
    press(Qt::Key_Delete);
    QCOMPARE(session.list.count(), 0);

    // The button from the keyboard: the list is not complete yet.
    press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("cmdFLash"));
    m_prompts->answerMessage(Answer::Ok);
    press(Qt::Key_Space);
    QCOMPARE(m_prompts->last().title, QStringLiteral("Tessel"));
    QVERIFY(m_prompts->allAnswered());
}

void TestKeyboard::typingANameFindsItInTheList()
{
    auto* files = m_window->findChild<QAbstractItemView*>("fleSelecciona");
    QCOMPARE(focused(), files);
    press(Qt::Key_B);
    QCOMPARE(files->currentIndex().data().toString(), QStringLiteral("b.sna"));
    m_prompts->answerInput("Found");
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
    m_prompts->answerMessage(Answer::Ok);
    press(Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    press(Qt::Key_B);
    QCOMPARE(m_prompts->last().title, QStringLiteral("Tessel Burning"));

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
