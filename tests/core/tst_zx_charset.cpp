// SPDX-License-Identifier: GPL-3.0-or-later
// Which typed characters of a menu name the Spectrum draws as something else.
#include "core/ZxCharset.h"

#include <QTest>

using namespace tessel;

class TestZxCharset : public QObject
{
    Q_OBJECT

private slots:
    void glyphsAtTheEdgesOfEachRange_data();
    void glyphsAtTheEdgesOfEachRange();
    void changes_data();
    void changes();
    void hintIsOneLineOrNothing();
};

void TestZxCharset::glyphsAtTheEdgesOfEachRange_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("shown");
    // The other edges and the middle of the keywords show in changes().
    QTest::newRow("bottom left") << 0x88 << "\u2596";
    QTest::newRow("full block") << 0x8F << "\u2588";
    QTest::newRow("last graphic") << 0xA4 << "UDG U";
    QTest::newRow("first keyword") << 0xA5 << "RND";
    QTest::newRow("last keyword") << 0xFF << "COPY";
}

void TestZxCharset::glyphsAtTheEdgesOfEachRange()
{
    QFETCH(int, byte);
    QFETCH(QString, shown);
    QCOMPARE(spectrumGlyph(static_cast<uchar>(byte)), shown);
}

void TestZxCharset::changes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("typedShown"); // pairs

    QTest::newRow("plain text") << "Jet Set Willy 2, 48K!" << QStringList();
    QTest::newRow("three that differ")
        << "a`b^c\u007F" << QStringList{"`", "\u00A3", "^", "\u2191", "\u007F", "\u00A9"};
    QTest::newRow("accents are keywords") << "Ñandú" << QStringList{"Ñ", "MOVE", "ú", "IF"};
    QTest::newRow("composed before judging") << "e\u0301e\u0301" << QStringList{"\u00E9", "DIM"};
    QTest::newRow("each once, in order") << "ñ`ñ`" << QStringList{"ñ", "LET", "`", "\u00A3"};
    QTest::newRow("euro is an empty block") << "5€" << QStringList{"€", "\u00A0"};
    QTest::newRow("curly quote is a graphic") << "Don\u2019t" << QStringList{"\u2019", "UDG C"};
    QTest::newRow("pound sign is a graphic") << "£5" << QStringList{"£", "UDG T"};
    QTest::newRow("outside the code page") << "Ωmega" << QStringList{"Ω", "?"};
    QTest::newRow("outside the basic plane") << "x\U0001F600" << QStringList{"\U0001F600", "?"};
}

void TestZxCharset::changes()
{
    QFETCH(QString, name);
    QFETCH(QStringList, typedShown);
    QList<CharsetChange> expected;
    for (qsizetype i = 0; i + 1 < typedShown.size(); i += 2)
        expected.append({typedShown.at(i), typedShown.at(i + 1)});
    QCOMPARE(charsetChanges(name), expected);
    QCOMPARE(charsetHint(name).isEmpty(), expected.isEmpty());
}

void TestZxCharset::hintIsOneLineOrNothing()
{
    QCOMPARE(charsetHint(QString()), QString());
    const QString hint = charsetHint(QStringLiteral("ñ`€\u00A0\t"));
    QVERIFY(!hint.contains(QLatin1Char('\n')) && !hint.contains(QLatin1Char('\t')));
    // Each change named once; invisible characters by their code, blanks as words.
    for (const char* part : {"ñ as LET", "` as \u00A3", "€ as a blank", "U+00A0 as UDG Q"})
        QVERIFY2(hint.contains(QString::fromUtf8(part)), qPrintable(hint));
    QVERIFY2(hint.contains(QStringLiteral("U+0009")), qPrintable(hint));
}

QTEST_GUILESS_MAIN(TestZxCharset)
#include "tst_zx_charset.moc"
