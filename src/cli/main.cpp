// SPDX-License-Identifier: GPL-3.0-or-later
// tessel-flash: builds the cartridge image from a kit and ten snapshots,
// with the same checks and the same bytes as the window's Create Flash;
// converts one snapshot to a .sna; takes an image apart, or lists it.
#include "cli/CommandLine.h"
#include "core/Files.h"
#include "core/Language.h"

#include <QCoreApplication>

#include <algorithm>

using namespace tessel;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessel-flash"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
    installTranslations();

    // Qt would read such bytes as U+FFFD and name another file.
    if (const std::optional<QString> bad = undecodableArgument(argc, argv))
        return fail(QCoreApplication::translate("tessel-flash",
                                                "The argument \"%1\" is not valid UTF-8 text, "
                                                "so the file it names cannot be reached by that "
                                                "name; rename the file or folder.")
                        .arg(*bad));

    CommandLine line;
    if (!line.parser.parse(QCoreApplication::arguments())) {
        QString message = line.parser.errorText();
        // A menu name may begin with "-"; the parser takes it for an option.
        const QStringList arguments = QCoreApplication::arguments().mid(1);
        const auto looksLikeEntry = [&](const QString& argument) {
            const qsizetype eq = argument.indexOf(QLatin1Char('='));
            if (!argument.startsWith(QLatin1Char('-')) || eq < 0)
                return false;
            const QString name = argument.first(eq);
            return name != QLatin1String("-o") && name != QLatin1String("--output")
                   && name != QLatin1String("--kit") && name != QLatin1String("--list")
                   && name != QLatin1String("--extract") && name != QLatin1String("--show")
                   && name != QLatin1String("--poke");
        };
        if (!line.parser.unknownOptionNames().isEmpty()
            && std::any_of(arguments.cbegin(), arguments.cend(), looksLikeEntry))
            message += QLatin1Char(' ')
                       + QCoreApplication::translate("tessel-flash",
                                                     "For an entry whose name begins with \"-\", "
                                                     "put -- before the entries: tessel-flash -o "
                                                     "FILE -- -Name=PATH ...");
        return fail(message);
    }
    if (line.parser.isSet(line.help))
        line.parser.showHelp();
    if (line.parser.isSet(line.version))
        line.parser.showVersion();

    if (line.parser.isSet(line.toSna))
        return runToSna(line);
    if (line.parser.isSet(line.extract))
        return runExtract(line);
    if (line.parser.isSet(line.show))
        return runShow(line);
    return runBuild(line);
}
