// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The kit's emulator launcher script, run with a search path that holds only
// fake programs, so that no real emulator or desktop tool is ever reached.
class LauncherScriptTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void isExecutable();
    void startsTheFirstEmulatorFound_data();
    void startsTheFirstEmulatorFound();
    void withoutEmulatorNamesThePackage_data();
    void withoutEmulatorNamesThePackage();
    void badArgumentsGiveUsage_data();
    void badArgumentsGiveUsage();

private:
    // A fake program that logs its name and arguments, one a line.
    void addFake(const QString& name, int exitCode = 0);
    QStringList logged() const;
    int run(const QStringList& arguments);

    QString script() const
    {
        return QStringLiteral(TESSEL_KIT_SOURCE "/Aspectrum-0.1.8/aspectrum");
    }
    QString log() const { return m_root.filePath(QStringLiteral("log")); }

    QTemporaryDir m_root;
    QString m_bin;
    QByteArray m_stderr;
};

void LauncherScriptTest::init()
{
    QVERIFY(m_root.isValid());
    m_bin = m_root.filePath(QStringLiteral("bin"));
    QVERIFY(QDir(m_bin).removeRecursively());
    QVERIFY(QDir().mkpath(m_bin));
    QFile::remove(log());
}

void LauncherScriptTest::addFake(const QString& name, int exitCode)
{
    QFile fake(QDir(m_bin).filePath(name));
    QVERIFY(fake.open(QIODevice::WriteOnly));
    fake.write("#!/bin/sh\nprintf '%s\\n' \"${0##*/}\" \"$@\" >>\"$FAKE_LOG\"\nexit ");
    fake.write(QByteArray::number(exitCode) + '\n');
    fake.close();
    QVERIFY(fake.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QStringList LauncherScriptTest::logged() const
{
    QFile file(log());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    lines.removeLast();
    return lines;
}

int LauncherScriptTest::run(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), m_bin);
    environment.insert(QStringLiteral("FAKE_LOG"), log());
    process.setProcessEnvironment(environment);
    process.start(script(), arguments);
    if (!process.waitForFinished(20000))
        return -1;
    m_stderr = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void LauncherScriptTest::isExecutable()
{
    QVERIFY(QFileInfo(script()).isExecutable());
}

void LauncherScriptTest::startsTheFirstEmulatorFound_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("snapshot");
    QTest::addColumn<QString>("passed");

    const QString marker = m_root.filePath(QStringLiteral("marker"));
    const QStringList all{QStringLiteral("fuse"), QStringLiteral("fuse-gtk"),
                          QStringLiteral("fuse-sdl")};
    const QString blanks = QStringLiteral("/my games/a  b \"c\" 'd'.sna");
    QTest::newRow("all three") << all << blanks << blanks;
    QTest::newRow("only the last two") << all.mid(1) << blanks << blanks;
    QTest::newRow("only the last") << all.mid(2) << blanks << blanks;
    const QString shell = QStringLiteral("/x/$(touch ") + marker + QStringLiteral("); `touch ")
                          + marker + QStringLiteral("` | * \\n.sna");
    QTest::newRow("shell characters") << all << shell << shell;
    QTest::newRow("leading dash") << all << QStringLiteral("--help.sna")
                                  << QStringLiteral("./--help.sna");
}

void LauncherScriptTest::startsTheFirstEmulatorFound()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, snapshot);
    QFETCH(QString, passed);
    for (const QString& name : installed)
        addFake(name, 7);

    QCOMPARE(run({QStringLiteral("-snapshot"), snapshot}), 7);

    QCOMPARE(logged(), (QStringList{installed.constFirst(), QStringLiteral("--machine"),
                                    QStringLiteral("48"), passed}));
    QVERIFY(!QFile::exists(m_root.filePath(QStringLiteral("marker"))));
}

void LauncherScriptTest::withoutEmulatorNamesThePackage_data()
{
    QTest::addColumn<QStringList>("working");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QString>("shownBy");

    QTest::newRow("no desktop tool") << QStringList{} << QStringList{} << QString();
    QTest::newRow("notifications")
        << QStringList{QStringLiteral("notify-send"), QStringLiteral("zenity")} << QStringList{}
        << QStringLiteral("notify-send");
    QTest::newRow("no notification service")
        << QStringList{QStringLiteral("xmessage")} << QStringList{QStringLiteral("notify-send")}
        << QStringLiteral("xmessage");
}

void LauncherScriptTest::withoutEmulatorNamesThePackage()
{
    QFETCH(QStringList, working);
    QFETCH(QStringList, failing);
    QFETCH(QString, shownBy);
    for (const QString& name : working)
        addFake(name);
    for (const QString& name : failing)
        addFake(name, 1);

    QCOMPARE(run({QStringLiteral("-snapshot"), QStringLiteral("/a.sna")}), 1);

    QVERIFY2(m_stderr.contains("fuse-emulator-gtk"), m_stderr.constData());
    const QStringList calls = logged();
    if (shownBy.isEmpty()) {
        QVERIFY(calls.isEmpty());
        return;
    }
    QVERIFY2(calls.join(QLatin1Char('\n')).contains(QStringLiteral("fuse-emulator-gtk")),
             qPrintable(calls.join(QLatin1Char('\n'))));
    QVERIFY(calls.contains(shownBy));
    for (const QString& name : working) {
        if (name != shownBy)
            QVERIFY2(!calls.contains(name), qPrintable(name));
    }
}

void LauncherScriptTest::badArgumentsGiveUsage_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("none") << QStringList{};
    QTest::newRow("option only") << QStringList{QStringLiteral("-snapshot")};
    QTest::newRow("empty file") << QStringList{QStringLiteral("-snapshot"), QString()};
    QTest::newRow("file only") << QStringList{QStringLiteral("/a.sna")};
    QTest::newRow("other option") << QStringList{QStringLiteral("-tape"), QStringLiteral("/a.sna")};
    QTest::newRow("two files") << QStringList{QStringLiteral("-snapshot"), QStringLiteral("/a.sna"),
                                              QStringLiteral("/b.sna")};
}

void LauncherScriptTest::badArgumentsGiveUsage()
{
    QFETCH(QStringList, arguments);
    addFake(QStringLiteral("fuse"));

    QCOMPARE(run(arguments), 2);

    QVERIFY2(m_stderr.contains("usage:"), m_stderr.constData());
    QVERIFY(logged().isEmpty());
}

QTEST_GUILESS_MAIN(LauncherScriptTest)
#include "tst_companions_launcher.moc"
