// SPDX-License-Identifier: GPL-3.0-or-later
// The byte-level engine where it goes beyond the recorded cases: our own
// choices, refused input, and content no settings file should hold.
#include "core/IniFile.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

using namespace tessel;

namespace {

// The bytes of `before` that `after` replaced, between their common head and tail.
QByteArray replacedPart(const QByteArray& before, const QByteArray& after)
{
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return before.mid(head, before.size() - head - tail);
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void newLinesFollowTheFile_data();
    void newLinesFollowTheFile();
    void unreadableWritesAreRefused_data();
    void unreadableWritesAreRefused();
    void quotedValueThatFillsTheBufferIsWhole();
    void defaultOfAFileThatCannotBeOpened();
    void failedWritesSayWhy_data();
    void failedWritesSayWhy();
    void junkNeverBreaksReadOrWrite();
    void hugeContent();
};

void TestIniFile::newLinesFollowTheFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("LF") << QByteArray("[s]\na=1\n\n[t]\n") << QByteArray("b") << QByteArray("2")
                        << QByteArray("[s]\na=1\nb=2\n\n[t]\n");
    QTest::newRow("CR CR LF") << QByteArray("[s]\r\r\na=1\r\r\n") << QByteArray("b")
                              << QByteArray("2") << QByteArray("[s]\r\r\na=1\r\r\nb=2\r\r\n");
    QTest::newRow("no last line break") << QByteArray("[s]\r\na=1") << QByteArray("b")
                                        << QByteArray("2") << QByteArray("[s]\r\na=1\r\nb=2\r\n");
    QTest::newRow("replace keeps the line's break")
        << QByteArray("[s]\r\na=1\nb=2") << QByteArray("a") << QByteArray("3")
        << QByteArray("[s]\r\na=3\nb=2");
    // UTF-16 text meets the caller in the locale's 8-bit encoding (UTF-8 here).
    QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE[\0s\0]\0\r\0\n\0", 12) << QByteArray("k")
                              << QByteArray("\xC3\xA9")
                              << QByteArray("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0", 22);
    QTest::newRow("UTF-16LE, value starting with U+FEFF")
        << QByteArray("\xFF\xFE[\0s\0]\0\r\0\n\0", 12) << QByteArray("k")
        << QByteArray("\xEF\xBB\xBFv")
        << QByteArray("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\xFF\xFEv\0\r\0\n\0", 24);
}

void TestIniFile::newLinesFollowTheFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);
    QCOMPARE(writeProfileString(before, "s", key, value).value_or("<refused>"), after);
    QCOMPARE(readProfileString(after, "s", key, {}, 255).bytes, value);
}

void TestIniFile::unreadableWritesAreRefused_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("LF in value") << QByteArray("s") << QByteArray("k") << QByteArray("a\n[s]");
    QTest::newRow("CR in value") << QByteArray("s") << QByteArray("k") << QByteArray("a\rb");
    QTest::newRow("NUL in value") << QByteArray("s") << QByteArray("k") << QByteArray("a\0b", 3);
    QTest::newRow("LF in section") << QByteArray("s\nt") << QByteArray("k") << QByteArray("v");
    QTest::newRow("= in key") << QByteArray("s") << QByteArray("k=x") << QByteArray("v");
    QTest::newRow("key like a header") << QByteArray("s") << QByteArray(" [k]") << QByteArray("v");
    QTest::newRow("key forming a byte-order mark")
        << QByteArray() << QByteArray("\xFF\xFEk") << QByteArray("v");
}

void TestIniFile::unreadableWritesAreRefused()
{
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QVERIFY(!writeProfileString("[s]\r\nk=old\r\n", section, key, value));
}

void TestIniFile::quotedValueThatFillsTheBufferIsWhole()
{
    const QByteArray inner(254, 'q');
    const ProfileRead read = readProfileString("[s]\r\nk=\"" + inner + "\"\r\n", "s", "k", {}, 255);
    QCOMPARE(read.count, 254);
    QCOMPARE(read.bytes, inner);
}

// Only an opened file (or one missing from an existing folder, an empty
// profile) has its default unquoted like a value.
void TestIniFile::defaultOfAFileThatCannotBeOpened()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("folder.ini/inside"));
    auto read = [&](const char* name) {
        return readProfileStringFromFile(dir.filePath(name), "s", "k", "\"q\"  ", 255).bytes;
    };
    QCOMPARE(read("missing.ini"), QByteArray("q"));
    QCOMPARE(read("gone/missing.ini"), QByteArray("\"q\""));
    QCOMPARE(read("folder.ini"), QByteArray("\"q\""));
}

void TestIniFile::failedWritesSayWhy_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("shown"); // the name the message must show
    QTest::newRow("missing folder") << "gone/s.ini" << QByteArray("k") << "gone";
    QTest::newRow("folder at the path") << "folder.ini" << QByteArray("k") << "folder.ini";
    QTest::newRow("refused key") << "s.ini" << QByteArray("\x1A[k]") << "s.ini";
}

void TestIniFile::failedWritesSayWhy()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, key);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("folder.ini/inside"));
    QString error;
    QVERIFY(!writeProfileStringToFile(dir.filePath(file), "s", key, "v", &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(dir.filePath(shown)) + u'"'),
             qPrintable(error));
    QVERIFY(!QFile::exists(dir.filePath("s.ini")));
}

void TestIniFile::junkNeverBreaksReadOrWrite()
{
    // Structure characters are frequent so that the junk often half-parses.
    const QByteArray alphabet("[]=;\"' \t\r\n\0\xFF\xFE\xEF\xBB\xBFsSkK", 21);
    QRandomGenerator random(1982);
    for (int round = 0; round < 5000; ++round) {
        QByteArray junk(random.bounded(160), Qt::Uninitialized);
        for (char& c : junk) {
            c = random.bounded(4) == 0 ? static_cast<char>(random.bounded(256))
                                       : alphabet[random.bounded(alphabet.size())];
        }
        const int bufsize = random.bounded(-1, 12);
        const ProfileRead read = readProfileString(junk, "s", "k", "dflt", bufsize);
        QCOMPARE(static_cast<qsizetype>(read.count), read.bytes.size());
        QVERIFY(read.count <= qMax(0, bufsize - 1));

        const QByteArray value = QByteArray::number(round);
        const std::optional<QByteArray> written = writeProfileString(junk, "s", "k", value);
        QVERIFY(written);
        QCOMPARE(readProfileString(*written, "S", "K", {}, 255).bytes, value);
        if (!junk.startsWith("\xFF\xFE")) { // a UTF-16 unit may hold a line-break byte
            const QByteArray replaced = replacedPart(junk, *written);
            QVERIFY2(!replaced.contains('\n') && !replaced.contains('\r'),
                     qPrintable(QStringLiteral("round %1 changed more than one line").arg(round)));
        }
    }
}

void TestIniFile::hugeContent()
{
    const QByteArray longKey(100000, 'x');
    const QByteArray longLine = "[s]\r\n" + longKey + "=" + QByteArray(100000, 'y') + "\r\nk=v\r\n";
    QCOMPARE(readProfileString(longLine, "s", longKey.toUpper(), {}, 255).bytes,
             QByteArray(254, 'y'));
    // A buffer far larger than the value neither cuts it nor costs its size.
    QCOMPARE(readProfileString(longLine, "s", longKey, {}, INT_MAX).count, 100000);
    QCOMPARE(readProfileString(longLine, "s", "none", longKey, INT_MAX).bytes, longKey);
    QCOMPARE(readProfileString(longLine, "s", "k", {}, 255).bytes, QByteArray("v"));

    QByteArray junk(qsizetype(10) * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(7);
    random.fillRange(reinterpret_cast<quint32*>(junk.data()), junk.size() / 4);
    junk[0] = 'x'; // no byte-order mark
    junk += "\n[s]\nk=v\n";
    QCOMPARE(readProfileString(junk, "s", "k", {}, 255).bytes, QByteArray("v"));
    const std::optional<QByteArray> written = writeProfileString(junk, "s", "k", "w");
    QVERIFY(written);
    QCOMPARE(*written, junk.chopped(2) + "w\n");

    // Ten million lone CRs, each a line, must not make the run be rescanned per line.
    const QByteArray breaks = QByteArray(qsizetype(10) * 1024 * 1024, '\r') + "[s]\rk=v";
    QCOMPARE(readProfileString(breaks, "s", "k", {}, 255).bytes, QByteArray("v"));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_ini_file.moc"
