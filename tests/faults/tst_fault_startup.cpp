// SPDX-License-Identifier: GPL-3.0-or-later
// The real window starting on a damaged or outsized settings file: it must
// come up without a question, and the next settings write must keep every
// byte it does not own.
#include "core/InstanceGuard.h"
#include "core/Settings.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <optional>

using namespace tessel;

namespace {

// The kit's own keys, with "@KIT@" standing for the kit folder.
const QByteArray kOwnKeys = "start=1\r\nDirectorioSnaps=@KIT@\r\nDirectorioTrabajo=@KIT@/flash\r\n"
                            "DireccionNombres=8192\r\nDireccionRegistros=8448\r\n";

// Other programs' sections, about 10 MB of them; made once, as slow
// builds take a while over it.
const QByteArray& otherSections()
{
    static const QByteArray bytes = [] {
        QByteArray keys;
        for (int key = 0; key < 20; ++key)
            keys += "Key" + QByteArray::number(key) + "=some value of key "
                    + QByteArray::number(key) + "\r\n";
        QByteArray all;
        all.reserve((10 << 20) + keys.size() + 100);
        for (int section = 0; all.size() < (10 << 20); ++section)
            all.append("[other").append(QByteArray::number(section)).append("]\r\n").append(keys);
        return all;
    }();
    return bytes;
}

QByteArray junk(qsizetype size)
{
    QRandomGenerator random(20240611);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random.bounded(256));
    bytes[0] = 'J'; // not a byte-order mark, which would make it another kind of file
    return bytes;
}

// Start-up reads and rewrites the whole file a few times: well under 1 s for
// 10 MB on an idle machine, seconds under load or a sanitizer. Only work
// that grows faster than the file (minutes) is meant to fail here.
constexpr qint64 kStartUpLimitMs = 20000;

} // namespace

class TestFaultStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsAndKeepsEveryByte_data();
    void startsAndKeepsEveryByte();
    void startsWhateverTheLockLeftBehind_data();
    void startsWhateverTheLockLeftBehind();

private:
    // No answers in its prompts: any question fails the test.
    std::optional<test::WindowFixture> m_fixture;
    QString m_kit;
    QString m_ini;
};

void TestFaultStartup::init()
{
    m_fixture.emplace();
    QVERIFY(m_fixture->isValid());
    m_kit = m_fixture->kit();
    m_ini = m_fixture->kit("tessel.ini");
    QVERIFY(QDir().mkpath(m_fixture->beside("launch")));
    QVERIFY(QDir::setCurrent(m_fixture->beside("launch")));
}

void TestFaultStartup::cleanup()
{
    m_fixture.reset();
}

void TestFaultStartup::startsAndKeepsEveryByte_data()
{
    QTest::addColumn<QByteArray>("ini");
    // True when the file names the kit folder: start-up then shows it.
    QTest::addColumn<bool>("usable");

    const QByteArray longText(100000, 'L');
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("binary junk") << junk(qsizetype(64) * 1024) << false;
    QTest::newRow("10 MB of other sections first")
        << otherSections() + "[tessel]\r\n" + kOwnKeys << true;
    QTest::newRow("10 MB on the first run")
        << otherSections() + "[tessel]\r\n" + QByteArray(kOwnKeys).replace("start=1", "start=0")
        << true;
    QTest::newRow("100,000-character lines") << "; " + longText + "\r\n[tessel]\r\nLong=" + longText
                                                    + "\r\n" + kOwnKeys + "Tail=" + longText
                                             << true;
}

void TestFaultStartup::startsAndKeepsEveryByte()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, usable);
    const QByteArray kit = m_kit.toUtf8();
    ini.replace("@KIT@", kit);
    QVERIFY(test::writeFile(m_ini, ini));

    const test::ScriptedPrompts& prompts = m_fixture->prompts;
    MainWindow& window = m_fixture->create();

    QElapsedTimer clock;
    clock.start();
    QVERIFY(window.startUp());
    const qint64 elapsed = clock.elapsed();
    qInfo("start-up on %lld bytes: %lld ms", static_cast<long long>(ini.size()),
          static_cast<long long>(elapsed));
    QVERIFY2(elapsed < kStartUpLimitMs, qPrintable(QString::number(elapsed)));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(prompts.calls().isEmpty());
    QCOMPARE(window.browser().path(), usable ? m_kit : m_fixture->beside("launch"));
    // A file without a numeric "start" is left alone; one that names the
    // kit is rewritten with the same values, the first-run mark set.
    ini.replace("\r\nstart=0\r\n", "\r\nstart=1\r\n");
    QVERIFY(test::readFile(m_ini) == ini);

    // The next write: opening a folder records it.
    const QString snaps = m_kit + "/snaps";
    QCOMPARE(window.browser().setPath(snaps), BrowserError::None);
    QTRY_COMPARE(Settings(m_ini).snapshotFolder(), snaps);
    const QByteArray after = test::readFile(m_ini);
    if (usable) {
        const QByteArray old = "\r\nDirectorioSnaps=" + kit + "\r\n";
        QCOMPARE(ini.count(old), 1);
        QByteArray wanted = ini;
        wanted.replace(old, "\r\nDirectorioSnaps=" + snaps.toUtf8() + "\r\n");
        QVERIFY(after == wanted);
    } else {
        QVERIFY(after.startsWith(ini));
        QByteArray added = after.mid(ini.size());
        added.replace('\r', "").replace('\n', "");
        QCOMPARE(added, "[tessel]DirectorioSnaps=" + snaps.toUtf8());
    }
    QVERIFY(prompts.calls().isEmpty());
}

void TestFaultStartup::startsWhateverTheLockLeftBehind_data()
{
    QTest::addColumn<QString>("left"); // what a killed run or a full disk left
    QTest::newRow("empty lock file") << "empty";
    QTest::newRow("half-written lock file") << "half";
    QTest::newRow("folder at the lock's path") << "folder";
    QTest::newRow("runtime folder missing") << "nothing";
}

void TestFaultStartup::startsWhateverTheLockLeftBehind()
{
    QFETCH(QString, left);
    const QString runtime = m_fixture->beside("runtime/gone");
    LockFileInstanceGuard guard(m_kit, runtime);
    if (left != "nothing")
        QVERIFY(QDir().mkpath(runtime));
    if (left == "empty" || left == "half")
        QVERIFY(test::writeFile(guard.lockPath(), left == "half" ? "12" : ""));
    if (left == "folder")
        QVERIFY(QDir().mkpath(guard.lockPath()));

    QVERIFY(QFile::remove(m_ini)); // a kit that never ran
    QVERIFY(m_fixture->create(&guard).startUp());
    QVERIFY(m_fixture->prompts.calls().isEmpty());
    m_fixture->stop(); // before the guard goes
}

QTEST_MAIN(TestFaultStartup)
#include "tst_fault_startup.moc"
