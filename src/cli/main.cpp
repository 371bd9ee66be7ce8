// SPDX-License-Identifier: GPL-3.0-or-later
// tessel-flash: builds the cartridge image from a kit and ten snapshots,
// with the same checks and the same bytes as the window's Create Flash.
#include "core/Files.h"
#include "core/Kit.h"
#include "core/KitLocation.h"
#include "flash/FlashBuild.h"
#include "flash/FlashExtract.h"
#include "formats/EntryList.h"
#include "formats/SnapshotReader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

using namespace tessel;

namespace {

int fail(const QString& message)
{
    QTextStream(stderr) << "tessel-flash: " << message << '\n';
    return 1;
}

std::optional<SnapshotEntries> readArguments(const QStringList& arguments, QString* error)
{
    SnapshotEntries entries;
    for (const QString& argument : arguments) {
        std::optional<SnapshotEntry> entry = parseEntryArgument(argument, error);
        if (!entry)
            return std::nullopt;
        entry->path = QFileInfo(entry->path).absoluteFilePath();
        entries.append(*entry);
    }
    return entries;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessel-flash"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds the 524,288-byte flash image of a Tessel cartridge from ten 48K\n"
        "snapshots, without the window: the same checks and the same bytes as its\n"
        "Create Flash command.\n"
        "\n"
        "The kit folder holds bank1.rom, bank32.rom and tessel.ini, whose section\n"
        "[tessel] gives the table offsets DireccionNombres and DireccionRegistros.\n"
        "Each entry is a menu name of 1 to 20 characters and a 48K snapshot, in menu\n"
        "order: a .sna of 49,179 bytes, or a .z80, .szx, .sp, .snp, .zxs, .slt or\n"
        "other snapshot libspectrum reads. Give them as ten NAME=PATH arguments (the name\n"
        "ends at the first \"=\"), or with --list as a UTF-8 file of ten lines\n"
        "NAME<tab>PATH (blank lines ignored; relative paths are taken from the list\n"
        "file's folder).\n"
        "\n"
        "On success the output file is replaced as a whole and its full path is\n"
        "printed. On any problem a message goes to stderr, the exit status is 1 and\n"
        "no file is written or changed.\n"
        "\n"
        "tessel-flash --extract IMAGE DIR takes an image apart with the kit's table\n"
        "offsets: one .sna per entry, named after its menu name, and a compilation\n"
        "file named after the image that lists them (the --list format, paths\n"
        "relative to DIR), whose full path is printed. DIR is made when missing.\n"
        "When DIR already holds files of those names nothing is written, unless\n"
        "--force is given; then they are replaced."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption kitOption(
        QStringLiteral("kit"),
        QStringLiteral("Kit folder (default: the folder of this program when it holds "
                       "tessel.ini, else the data folder of an installed copy, "
                       "~/.local/share/tessel-zizerev)."),
        QStringLiteral("DIR"));
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("The image file to write."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption listOption(
        QStringLiteral("list"),
        QStringLiteral("Read the entries from FILE, one NAME<tab>PATH a line."),
        QStringLiteral("FILE"));
    const QCommandLineOption toSnaOption(
        QStringLiteral("to-sna"),
        QStringLiteral("Convert the snapshot IN, of any format the program reads, to the 48K .sna "
                       "OUT, with the same checks; nothing else is done. Takes IN and OUT as the "
                       "two arguments."));
    const QCommandLineOption extractOption(
        QStringLiteral("extract"),
        QStringLiteral("Take the image FILE apart into the folder given after it."),
        QStringLiteral("FILE"));
    const QCommandLineOption forceOption(
        QStringLiteral("force"),
        QStringLiteral("With --extract, replace files of the same names in the folder."));
    parser.addOptions(
        {kitOption, outputOption, listOption, toSnaOption, extractOption, forceOption});
    parser.addPositionalArgument(QStringLiteral("entries"),
                                 QStringLiteral("Ten NAME=PATH entries, unless --list is given."),
                                 QStringLiteral("[NAME=PATH...]"));
    if (!parser.parse(QCoreApplication::arguments())) {
        QString message = parser.errorText();
        // A menu name may begin with "-"; the parser takes it for an option.
        const QStringList arguments = QCoreApplication::arguments().mid(1);
        const auto looksLikeEntry = [&](const QString& argument) {
            const qsizetype eq = argument.indexOf(QLatin1Char('='));
            if (!argument.startsWith(QLatin1Char('-')) || eq < 0)
                return false;
            const QString name = argument.first(eq);
            return name != QLatin1String("-o") && name != QLatin1String("--output")
                   && name != QLatin1String("--kit") && name != QLatin1String("--list")
                   && name != QLatin1String("--extract");
        };
        if (!parser.unknownOptionNames().isEmpty()
            && std::any_of(arguments.cbegin(), arguments.cend(), looksLikeEntry))
            message += QStringLiteral(" For an entry whose name begins with \"-\", put -- "
                                      "before the entries: tessel-flash -o FILE -- -Name=PATH ...");
        return fail(message);
    }
    if (parser.isSet(helpOption))
        parser.showHelp();
    if (parser.isSet(versionOption))
        parser.showVersion();

    const QStringList positional = parser.positionalArguments();
    QString error;
    if (parser.isSet(toSnaOption)) {
        if (positional.size() != 2)
            return fail(QStringLiteral("--to-sna takes two files: the snapshot and the .sna to "
                                       "write."));
        const QString in = QFileInfo(positional[0]).absoluteFilePath();
        const QString out = QFileInfo(positional[1]).absoluteFilePath();
        QStringList warnings;
        if (!checkReplaceable(out, {in, QCoreApplication::applicationFilePath()}, &error)
            || !convertToSna(in, out, &warnings, &error))
            return fail(error);
        for (const QString& warning : warnings)
            QTextStream(stderr) << "tessel-flash: warning: " << warning << '\n';
        QTextStream(stdout) << QDir::toNativeSeparators(out) << '\n';
        return 0;
    }
    std::optional<Kit> kit;
    if (parser.isSet(kitOption)) {
        // An empty name would mean the current folder, someone else's banks.
        if (parser.value(kitOption).isEmpty())
            return fail(QStringLiteral("--kit needs the name of a kit folder."));
        kit.emplace(parser.value(kitOption));
    } else if (const std::optional<KitLocation> location = locateKit(&error)) {
        kit.emplace(location->programFolder);
    } else {
        return fail(error);
    }
    if (parser.isSet(extractOption)) {
        if (parser.isSet(outputOption) || parser.isSet(listOption))
            return fail(QStringLiteral("--extract takes no -o or --list: give the image and the "
                                       "folder, tessel-flash --extract IMAGE DIR."));
        if (positional.size() != 1)
            return fail(QStringLiteral("--extract needs one folder after the image: tessel-flash "
                                       "--extract IMAGE DIR."));
        const QString image = QFileInfo(parser.value(extractOption)).absoluteFilePath();
        const QString folder = QFileInfo(positional.constFirst()).absoluteFilePath();
        const std::optional<FlashContents> contents = readFlashImage(*kit, image, &error);
        if (!contents)
            return fail(error);
        for (const QString& warning : contents->warnings)
            QTextStream(stderr) << "tessel-flash: warning: " << warning << '\n';
        const bool force = parser.isSet(forceOption);
        const std::optional<Extraction> done =
            writeExtraction(*contents, folder, image, force, &error);
        if (!done && !force && !existingFiles(*contents, folder).isEmpty())
            error += QStringLiteral(" Give --force to replace them.");
        if (!done)
            return fail(error);
        QTextStream(stdout) << QDir::toNativeSeparators(done->listFile) << '\n';
        return 0;
    }
    if (parser.isSet(forceOption))
        return fail(QStringLiteral("--force goes only with --extract."));
    if (!parser.isSet(outputOption))
        return fail(QStringLiteral("No output file: give one with -o FILE."));
    if (parser.isSet(listOption) && !positional.isEmpty())
        return fail(QStringLiteral("Give the entries either as NAME=PATH arguments or with --list, "
                                   "not both."));

    BuildOptions options;
    std::optional<SnapshotEntries> entries;
    if (parser.isSet(listOption)) {
        const QString list = parser.value(listOption);
        entries = readEntryList(list, &error);
        options.otherInputs << list;
    } else {
        entries = readArguments(positional, &error);
    }
    if (!entries)
        return fail(error);

    options.output = QFileInfo(parser.value(outputOption)).absoluteFilePath();
    const std::optional<FlashJob> job = build(*kit, *entries, options, &error);
    if (!job)
        return fail(error);
    for (const QString& warning : job->warnings)
        QTextStream(stderr) << "tessel-flash: warning: " << warning << '\n';
    QTextStream(stdout) << QDir::toNativeSeparators(job->output) << '\n';
    return 0;
}
