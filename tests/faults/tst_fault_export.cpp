// SPDX-License-Identifier: GPL-3.0-or-later
// Create Flash meeting faults that the flash tests leave out: folders no
// one may write to (root included) and sources that change after the check.
#include "flash/FlashFixture.h"

#include "commands/CreateFlash.h"
#include "core/Settings.h"
#include "flash/FlashBuild.h"
#include "support/Capabilities.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tessel;
using namespace tessel::test;
using Kind = ScriptedPrompts::Kind;

namespace {

constexpr int kCannotStage = 77;

bool setReadOnly(const QString& folder, bool readOnly)
{
    return ::chmod(QFile::encodeName(folder).constData(), readOnly ? 0555 : 0755) == 0;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// In a child that cannot write to `folder`: Create Flash, saving to
// `target` when asked. 0 when it ends on one warning that names `culprit`
// and tells nothing was made, after no success message.
int runLockedOut(const FlashKit& kit, const QString& folder, const QString& target,
                 const QString& culprit, const QString& outcome)
{
    if (!dropFileCapabilities() || ::access(QFile::encodeName(folder).constData(), W_OK) == 0)
        return kCannotStage;
    ScriptedPrompts prompts;
    if (!target.isEmpty()) {
        prompts.answerSave(target);
        prompts.answerMessage(Answer::Yes); // replace the user's file
    }
    prompts.answerMessage(Answer::Ok);
    createFlash(kit.entries, kit.kit(), prompts);
    if (prompts.calls().isEmpty())
        return 1;
    const auto& last = prompts.last();
    const bool ok =
        prompts.allAnswered() && prompts.count(Kind::Message) == (target.isEmpty() ? 1 : 2)
        && last.kind == Kind::Message && last.icon == Icon::Exclamation
        && last.text.contains(QDir::toNativeSeparators(culprit)) && last.text.contains(outcome);
    if (!ok)
        qWarning("child saw: %s", qPrintable(last.text));
    return ok ? 0 : 1;
}

} // namespace

class TestFaultExport : public QObject
{
    Q_OBJECT

private slots:
    void outputFolderNotWritable();
    void workingFolderNotWritable();
    void sourceChangedBetweenCheckAndRead_data();
    void sourceChangedBetweenCheckAndRead();
};

void TestFaultExport::outputFolderNotWritable()
{
    FlashKit kit;
    const QString out = kit.path("out");
    const QString mine = out + "/mine.rom";
    QVERIFY(QDir().mkpath(out));
    QVERIFY(writeFile(mine, "the user's file"));
    QVERIFY(setReadOnly(out, true));
    const int status = inChild([&] { return runLockedOut(kit, out, mine, mine, "was not saved"); });
    QVERIFY(setReadOnly(out, false));
    if (status == kCannotStage)
        QSKIP("this system lets the process write to a read-only folder");
    QCOMPARE(status, 0);
    QCOMPARE(readFile(mine), QByteArray("the user's file"));
    QCOMPARE(filesIn(out), QStringList{"mine.rom"});
    // The built image stays for another try.
    QCOMPARE(readFile(kit.workImage()), kit.expected());
}

void TestFaultExport::workingFolderNotWritable()
{
    FlashKit kit;
    const QString flash = kit.path("flash");
    QVERIFY(writeFile(kit.workImage(), "old image"));
    QVERIFY(setReadOnly(flash, true));
    const int status =
        inChild([&] { return runLockedOut(kit, flash, {}, flash, "was not created"); });
    QVERIFY(setReadOnly(flash, false));
    if (status == kCannotStage)
        QSKIP("this system lets the process write to a read-only folder");
    QCOMPARE(status, 0);
    QCOMPARE(readFile(kit.workImage()), QByteArray("old image"));
    QCOMPARE(filesIn(flash), QStringList{"tessel.rom"});
}

void TestFaultExport::sourceChangedBetweenCheckAndRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("change"); // "delete", "folder" or "shorten"
    QTest::addColumn<QString>("reason");
    QTest::newRow("last snapshot deleted") << "snap9.sna"
                                           << "delete"
                                           << "No such file";
    QTest::newRow("first snapshot now a folder") << "snap0.sna"
                                                 << "folder"
                                                 << "a folder";
    // Only the read can say "now": proof that the change came after the check.
    QTest::newRow("snapshot cut short") << "snap5.sna"
                                        << "shorten"
                                        << "changed since it was checked";
    QTest::newRow("bank 32 deleted") << "bank32.rom"
                                     << "delete"
                                     << "No such file";
}

void TestFaultExport::sourceChangedBetweenCheckAndRead()
{
    QFETCH(QString, file);
    QFETCH(QString, change);
    QFETCH(QString, reason);
    FlashKit kit;
    QVERIFY(writeFile(kit.workImage(), "old image"));
    const QString source = kit.path(file);
    QString error;
    const std::optional<FlashJob> job = prepareBuild(kit.kit(), kit.entries, {}, &error);
    QVERIFY2(job, qPrintable(error));
    QVERIFY(QFile::remove(source));
    QVERIFY(change == "delete" || (change == "folder" && QDir().mkdir(source))
            || (change == "shorten" && writeFile(source, QByteArray(100, 'x'))));

    QVERIFY(!writeBuild(*job, &error));
    const QString text = error;
    QVERIFY2(text.contains(QDir::toNativeSeparators(source)), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QCOMPARE(readFile(kit.workImage()), QByteArray("old image"));
    QCOMPARE(filesIn(kit.path("flash")), QStringList{"tessel.rom"});
}

QTEST_GUILESS_MAIN(TestFaultExport)
#include "tst_fault_export.moc"
