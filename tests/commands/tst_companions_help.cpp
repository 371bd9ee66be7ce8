// SPDX-License-Identifier: GPL-3.0-or-later
#include "StandIn.h"
#include "support/ScriptedPrompts.h"

#include "commands/HelpViewer.h"
#include "commands/ProcessLauncher.h"
#include "core/Kit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tessel;
using tessel::test::ScriptedPrompts;
using tessel::test::StandInLog;

// The viewer is found through the program search path, so the tests put a
// stand-in of that name on PATH. Windows searches its system folder before
// PATH, so neither test can steer the viewer there.
class HelpViewerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void helpFileReachesTheViewerAsOneArgument();
    void viewerThatCannotStartIsReported();

private:
    QString kitFolder() const { return m_root.filePath(QStringLiteral("my kit; $(x) 'A'")); }
    QString binFolder() const { return m_root.filePath(QStringLiteral("bin")); }

    QTemporaryDir m_root;
    QByteArray m_path;
};

void HelpViewerTest::init()
{
    QVERIFY(m_root.isValid());
    QVERIFY(QDir().mkpath(kitFolder()));
    QVERIFY(QDir().mkpath(binFolder()));
    m_path = qgetenv("PATH");
}

void HelpViewerTest::cleanup()
{
    qputenv("PATH", m_path);
}

void HelpViewerTest::helpFileReachesTheViewerAsOneArgument()
{
#ifdef Q_OS_WIN
    QSKIP("the viewer is the system's own here");
#else
    QVERIFY(StandInLog::install(QDir(binFolder()).filePath(helpViewerProgram())));
    qputenv("PATH", QFile::encodeName(binFolder()) + ':' + m_path);
    StandInLog log;
    const Kit kit(kitFolder());
    ScriptedPrompts prompts;
    SystemProcessLauncher launcher;

    openHelp(kit, prompts, launcher);
    openHelp(kit, prompts, launcher);

    QTRY_COMPARE(log.starts().size(), 2);
    const QStringList expected{kit.file(QStringLiteral("help.txt"))};
    QCOMPARE(log.starts().at(0), expected);
    QCOMPARE(log.starts().at(1), expected);
    QVERIFY(prompts.calls().isEmpty());
#endif
}

void HelpViewerTest::viewerThatCannotStartIsReported()
{
#ifdef Q_OS_WIN
    QSKIP("the viewer is the system's own here");
#endif
    const QString empty = m_root.filePath(QStringLiteral("empty"));
    QVERIFY(QDir().mkpath(empty));
    qputenv("PATH", QFile::encodeName(empty));
    const Kit kit(kitFolder());
    ScriptedPrompts prompts;
    prompts.answerMessage(Answer::Ok);
    SystemProcessLauncher launcher;

    openHelp(kit, prompts, launcher);

    QCOMPARE(prompts.calls().size(), 1);
    const auto& warning = prompts.last();
    QVERIFY2(warning.text.contains(helpViewerProgram()), qPrintable(warning.text));
    QVERIFY2(warning.text.contains(QStringLiteral("not installed")), qPrintable(warning.text));
    QVERIFY2(warning.text.contains(QDir::toNativeSeparators(kit.file(QStringLiteral("help.txt")))),
             qPrintable(warning.text));
    QCOMPARE(warning.title, QStringLiteral("Tessel Zizerev"));
    QCOMPARE(warning.icon, Icon::Exclamation);
    QCOMPARE(warning.buttons, Buttons::Ok);
}

QTEST_GUILESS_MAIN(HelpViewerTest)
#include "tst_companions_help.moc"
