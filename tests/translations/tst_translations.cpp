// SPDX-License-Identifier: GPL-3.0-or-later
// The Spanish translation: every entry finished and with its source's slots,
// the language chosen from the system's locale, and the window and its
// questions in Spanish on a Spanish system.
#include "core/Kit.h"
#include "core/Language.h"
#include "support/WindowFixture.h"
#include "ui/QtPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include <functional>

using namespace tessel;

namespace {

struct Entry
{
    QString context;
    QString source;
    QStringList translations; // one per plural form
    QString type; // "unfinished", "vanished", "obsolete" or nothing
};

// An element's text; lupdate writes a carriage return as <byte value="xd"/>.
QString readText(QXmlStreamReader& xml)
{
    QString text;
    while (xml.readNext() != QXmlStreamReader::EndElement && !xml.atEnd()) {
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement()) {
            text += QChar(xml.attributes().value("value").toUInt(nullptr, 16));
            xml.skipCurrentElement();
        }
    }
    return text;
}

QList<Entry> readTs(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QXmlStreamReader xml(&file);
    QList<Entry> entries;
    QString context;
    bool plural = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            entries.append({context, {}, {}, {}});
            plural = xml.attributes().value("numerus") == u"yes";
        } else if (xml.name() == u"source") {
            entries.last().source = readText(xml);
        } else if (xml.name() == u"translation") {
            entries.last().type = xml.attributes().value("type").toString();
            if (!plural)
                entries.last().translations << readText(xml);
        } else if (xml.name() == u"numerusform") {
            entries.last().translations << readText(xml);
        }
    }
    if (xml.hasError())
        qFatal("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    return entries;
}

// The slots a text fills: %1 to %99 and %n, each once however often it stands.
QStringList slotsOf(const QString& text)
{
    static const QRegularExpression slot(QStringLiteral("%(\\d+|n)"));
    QStringList found;
    for (const QRegularExpressionMatch& match : slot.globalMatch(text))
        found << match.captured();
    found.removeDuplicates();
    found.sort();
    return found;
}

// Runs the next modal dialog through `look` once it is up.
void whenModal(std::function<void(QWidget*)> look)
{
    QTimer::singleShot(0, qApp, [look] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            look(dialog);
        else
            whenModal(look);
    });
}

} // namespace

Q_DECLARE_METATYPE(Entry)

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void entriesAreFinishedWithTheirSlots_data();
    void entriesAreFinishedWithTheirSlots();
    void languageFollowsTheLocale_data();
    void languageFollowsTheLocale();
    void windowAndQuestionsInSpanish();
};

void TestTranslations::entriesAreFinishedWithTheirSlots_data()
{
    QTest::addColumn<Entry>("entry");
    const QStringList files = QStringLiteral(TESSEL_TS_FILES).split(QLatin1Char(';'));
    for (const QString& path : files) {
        const QList<Entry> entries = readTs(path);
        QVERIFY2(entries.size() > 200, qPrintable(path));
        for (const Entry& entry : entries)
            QTest::addRow("%s %s: %s", qPrintable(QFileInfo(path).fileName()),
                          qPrintable(entry.context), qPrintable(entry.source.left(50)))
                << entry;
    }
}

void TestTranslations::entriesAreFinishedWithTheirSlots()
{
    QFETCH(Entry, entry);
    QVERIFY2(entry.type.isEmpty(), qPrintable(entry.type));
    QVERIFY(!entry.translations.isEmpty());
    for (const QString& translation : std::as_const(entry.translations)) {
        QVERIFY(!translation.trimmed().isEmpty());
        QCOMPARE(slotsOf(translation), slotsOf(entry.source));
    }
}

void TestTranslations::languageFollowsTheLocale_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("forced");
    QTest::addColumn<bool>("spanish");
    QTest::newRow("Spanish system") << "es_ES.UTF-8" << QString() << true;
    QTest::newRow("Mexican system: Spanish") << "es_MX.UTF-8" << QString() << true;
    QTest::newRow("English forced on a Spanish system") << "es_ES.UTF-8"
                                                        << "en" << false;
    QTest::newRow("Spanish asked on an English system") << "en_GB.UTF-8"
                                                        << "es" << true;
    QTest::newRow("C locale") << "C" << QString() << false;
    QTest::newRow("a language without a translation") << "fr_FR.UTF-8" << QString() << false;
}

// Through tessel-flash, whose process reads its locale as a user's does.
void TestTranslations::languageFollowsTheLocale()
{
    QFETCH(QString, lang);
    QFETCH(QString, forced);
    QFETCH(bool, spanish);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "TESSEL_LANGUAGE"})
        environment.remove(name);
    environment.insert("LANG", lang);
    if (!forced.isEmpty())
        environment.insert(QString::fromLatin1(kLanguageVariable), forced);
    QProcess flash;
    flash.setProcessEnvironment(environment);
    flash.start(QStringLiteral(TESSEL_FLASH_EXE), {QStringLiteral("--force")});
    QVERIFY(flash.waitForFinished());
    const QString err = QString::fromUtf8(flash.readAllStandardError());
    QCOMPARE(flash.exitCode(), 1);
    QVERIFY2(err.contains(spanish ? QStringLiteral("--force solo va con --extract.")
                                  : QStringLiteral("--force goes only with --extract.")),
             qPrintable(err));
}

void TestTranslations::windowAndQuestionsInSpanish()
{
    QCOMPARE(installTranslations(), QStringLiteral("es_ES"));

    QtPrompts prompts;
    test::WindowFixture fixture(test::WindowFixture::defaultIni(), &prompts);
    QVERIFY(fixture.isValid());
    MainWindow& window = fixture.create();
    prompts.setParentWidget(&window);

    QStringList menus;
    for (const QAction* menu : window.menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, (QStringList{QStringLiteral("&Archivo"), QStringLiteral("&Edición"),
                                 QStringLiteral("&Herramientas"), QStringLiteral("A&yuda")}));

    // File > New asks through the real message box, in Spanish; its buttons
    // are Qt's, in Spanish where the system has Qt's translation.
    QString text;
    QStringList buttons;
    whenModal([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box);
        text = box->text();
        for (const QAbstractButton* button : box->buttons())
            buttons << button->text();
        box->button(QMessageBox::No)->click();
    });
    window.findChild<QAction*>(QStringLiteral("mnuNuevo"))->trigger();
    QCOMPARE(text, QStringLiteral("¿Está seguro? Se borrará la lista actual de SNA."));
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                       + QStringLiteral("/qtbase_es.qm")))
        QSKIP("Qt's Spanish translation (qt6-translations-l10n) is not installed");
    QVERIFY2(buttons.contains(QStringLiteral("&Sí")), qPrintable(buttons.join(u' ')));
}

int main(int argc, char* argv[])
{
    // A Spanish system, whatever language the test environment pins.
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "TESSEL_LANGUAGE"})
        qunsetenv(name);
    qputenv("LANG", "es_ES.UTF-8");
    QApplication app(argc, argv);
    TestTranslations test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_translations.moc"
