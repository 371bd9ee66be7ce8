// SPDX-License-Identifier: GPL-3.0-or-later
// Replays the recorded private-profile cases (tests/data/conformance, or the
// files named by INI_CASES, separated by the list separator) through the file
// functions on real files.
#include "core/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace tessel;

namespace {

// Cases we chose not to follow at all.
const QHash<QString, const char*> kNotFollowed = {
    {QStringLiteral("truncation-04"),
     "when the text inside a quoted value is exactly bufsize-1 bytes long the "
     "recording returns one byte less although all of it fits; we return all of it"},
};

// Cases whose results we follow but whose final bytes differ.
const QHash<QString, const char*> kFinalDiffers = {
    {QStringLiteral("bom-02"),
     "after a UTF-8 mark the recording re-encodes written code-page bytes as UTF-8; "
     "we store the caller's bytes as given, the caller's text already being UTF-8"},
};

// Corpus strings carry one byte per character; null stands for a null pointer.
QByteArray bytesOf(const QJsonValue& value)
{
    if (value.isNull())
        return {};
    const QString text = value.toString();
    QByteArray bytes = text.toLatin1();
    if (QString::fromLatin1(bytes) != text)
        QTest::qFail("corpus string beyond U+00FF", __FILE__, __LINE__);
    return bytes;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An old time given to the file before a write shows whether the write touched it.
const QDateTime kOldTime(QDate(2001, 1, 1), QTime(12, 0), Qt::UTC);

bool setOldTime(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite)
           && file.setFileTime(kOldTime, QFileDevice::FileModificationTime);
}

bool touched(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.lastModified().toUTC() != kOldTime;
}

} // namespace

class TestIniConformance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cases_data();
    void cases();
    void cleanupTestCase();

private:
    QJsonArray m_cases;
    int m_ran = 0;
};

void TestIniConformance::initTestCase()
{
    QStringList paths =
        qEnvironmentVariable("INI_CASES").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    if (paths.isEmpty()) {
        paths = {QStringLiteral(TESSEL_TEST_DATA "/conformance/ini-cases.json"),
                 QStringLiteral(TESSEL_TEST_DATA "/conformance/ini-cases-extra.json")};
    }
    QSet<QString> ids;
    for (const QString& path : std::as_const(paths)) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        QJsonParseError error;
        const QJsonObject corpus = QJsonDocument::fromJson(file.readAll(), &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
        QCOMPARE(corpus.value(u"format").toString(), QStringLiteral("private-profile-corpus/1"));
        const QJsonArray cases = corpus.value(u"cases").toArray();
        QVERIFY2(!cases.isEmpty(), qPrintable(path + QStringLiteral(" holds no case")));
        for (const auto& kase : cases) {
            const QString id = kase[u"id"].toString();
            QVERIFY2(!ids.contains(id), qPrintable(QStringLiteral("case %1 twice").arg(id)));
            ids.insert(id);
            m_cases.append(kase);
        }
    }
}

void TestIniConformance::cases_data()
{
    QTest::addColumn<QJsonObject>("kase");
    for (const auto& kase : std::as_const(m_cases))
        QTest::addRow("%s", qPrintable(kase[u"id"].toString())) << kase.toObject();
}

void TestIniConformance::cases()
{
    QFETCH(QJsonObject, kase);
    const QString id = kase.value(u"id").toString();
    if (kNotFollowed.contains(id))
        QSKIP(kNotFollowed.value(id));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const bool missingFolder = kase.value(u"file_in_missing_directory").toBool();
    const QString folder = missingFolder ? dir.filePath(QStringLiteral("missing")) : dir.path();
    const QString path = folder + QStringLiteral("/case.ini");
    if (!kase.value(u"initial").isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray::fromBase64(kase.value(u"initial").toString().toLatin1()))
                >= 0);
    }

    const QJsonArray ops = kase.value(u"ops").toArray();
    for (qsizetype i = 0; i < ops.size(); ++i) {
        const QJsonObject op = ops[i].toObject();
        const QByteArray section = bytesOf(op[u"section"]);
        const QByteArray key = bytesOf(op[u"key"]);
        const QString where = QStringLiteral("op %1 %2 [%3] %4: ")
                                  .arg(i)
                                  .arg(op[u"op"].toString(), QString::fromLatin1(section),
                                       QString::fromLatin1(key).left(40));
        if (op[u"op"].toString() == QLatin1String("read")) {
            const ProfileRead got = readProfileStringFromFile(
                path, section, key, bytesOf(op[u"default"]), op[u"bufsize"].toInt());
            const QByteArray text = bytesOf(op[u"text"]);
            QVERIFY2(got.count == op[u"ret"].toInt() && got.bytes == text,
                     qPrintable(where
                                + QStringLiteral("got %1 \"%2\", expected %3 \"%4\"")
                                      .arg(got.count)
                                      .arg(QString::fromLatin1(got.bytes.left(60)))
                                      .arg(op[u"ret"].toInt())
                                      .arg(QString::fromLatin1(text.left(60)))));
        } else {
            QCOMPARE(op[u"op"].toString(), QStringLiteral("write"));
            const bool checkTouch = op.contains(u"touched");
            if (checkTouch && QFile::exists(path))
                QVERIFY(setOldTime(path));
            const bool got = writeProfileStringToFile(path, section, key, bytesOf(op[u"value"]));
            QVERIFY2(got == op[u"ret"].toBool(),
                     qPrintable(where + QStringLiteral("wrong result")));
            if (checkTouch) {
                QVERIFY2(
                    touched(path) == op[u"touched"].toBool(),
                    qPrintable(where
                               + (touched(path) ? QStringLiteral("the file was written")
                                                : QStringLiteral("the file was not written"))));
            }
        }
    }

    if (missingFolder)
        QVERIFY2(!QDir(folder).exists(), "a write created the missing folder");
    ++m_ran;
    if (kase.value(u"final_unchecked").toBool() || kFinalDiffers.contains(id))
        return;
    const QJsonValue expected = kase.value(u"final");
    if (expected.isNull()) {
        QVERIFY2(!QFile::exists(path), "the file should not exist");
    } else {
        QVERIFY2(QFile::exists(path), "the file should exist");
        QCOMPARE(fileBytes(path), QByteArray::fromBase64(expected.toString().toLatin1()));
    }
}

void TestIniConformance::cleanupTestCase()
{
    QVERIFY2(m_ran > 0, "no corpus case ran");
}

QTEST_GUILESS_MAIN(TestIniConformance)
#include "tst_ini_conformance.moc"
