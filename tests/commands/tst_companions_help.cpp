// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include "commands/HelpViewer.h"
#include "core/Kit.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tessel;
using tessel::test::ScriptedPrompts;

// The help text the program's own window shows, read from the kit.
class HelpTextTest : public QObject
{
    Q_OBJECT

private slots:
    void helpTextIsReadWholeOrItsFileNamed_data();
    void helpTextIsReadWholeOrItsFileNamed();
};

void HelpTextTest::helpTextIsReadWholeOrItsFileNamed_data()
{
    QTest::addColumn<QString>("stands"); // what stands at help.txt
    QTest::addColumn<QString>("reason"); // empty when the text is read
    QTest::newRow("a text") << "text" << QString();
    QTest::newRow("missing") << "nothing"
                             << "No such file";
    QTest::newRow("a folder") << "folder"
                              << "a folder";
    QTest::newRow("too large") << "large"
                               << "larger than";
}

void HelpTextTest::helpTextIsReadWholeOrItsFileNamed()
{
    QFETCH(QString, stands);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const Kit kit(dir.path());
    const QByteArray text = "HELP\n  \xC3\xB1 columns  line up\n";
    if (stands == "text")
        QVERIFY(test::writeFile(helpFile(kit), text));
    else if (stands == "folder")
        QVERIFY(QDir().mkpath(helpFile(kit)));
    else if (stands == "large")
        QVERIFY(test::writeFile(helpFile(kit), QByteArray((1 << 20) + 1, 'x')));
    ScriptedPrompts prompts;
    if (!reason.isEmpty())
        prompts.answerMessage(Answer::Ok);

    const std::optional<QString> read = readHelp(kit, prompts);

    QCOMPARE(read.has_value(), reason.isEmpty());
    if (read) {
        QCOMPARE(*read, QString::fromUtf8(text));
        QVERIFY(prompts.calls().isEmpty());
        return;
    }
    QCOMPARE(prompts.calls().size(), 1);
    QCOMPARE(prompts.last().icon, Icon::Exclamation);
    QVERIFY2(prompts.last().text.contains(QDir::toNativeSeparators(helpFile(kit)))
                 && prompts.last().text.contains(reason),
             qPrintable(prompts.last().text));
}

QTEST_GUILESS_MAIN(HelpTextTest)
#include "tst_companions_help.moc"
