// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace tessel {

QString installTranslations()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return {};
    const QString forced = qEnvironmentVariable(kLanguageVariable).trimmed();
    const QLocale locale = forced.isEmpty() ? QLocale::system() : QLocale(forced);
    if (locale.language() == QLocale::C
        || (!forced.isEmpty() && locale.language() == QLocale::English))
        return {};
    // The translations are built into the programs (see translations/), so a
    // portable kit and an installed copy find them alike.
    auto own = std::make_unique<QTranslator>(app);
    if (!own->load(locale, QStringLiteral("tessel"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        return {};
    // Qt's texts only with ours: a window half in one language and half in
    // another helps nobody.
    auto qt = std::make_unique<QTranslator>(app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt.release());
    QCoreApplication::installTranslator(own.get());
    return own.release()->language();
}

} // namespace tessel
