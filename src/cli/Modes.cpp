// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include "core/Kit.h"
#include "core/KitLocation.h"
#include "flash/FlashBuild.h"
#include "flash/FlashExtract.h"
#include "formats/EntryList.h"
#include "formats/FormatLibrary.h"
#include "machine/Source.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace tessel {

namespace {

void printPath(const QString& path)
{
    QTextStream(stdout) << QDir::toNativeSeparators(path) << '\n';
}

// Relative to the current folder; an empty name stays empty, to be refused
// rather than taken for the current folder.
QString absolute(const QString& path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
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

int fail(const QString& message)
{
    QTextStream(stderr) << "tessel-flash: " << message << '\n';
    return 1;
}

void warn(const QString& message)
{
    QTextStream(stderr)
        << QCoreApplication::translate("Modes", "tessel-flash: warning: %1").arg(message) << '\n';
}

std::optional<Kit> kitOf(const CommandLine& line, QString* error)
{
    if (line.parser.isSet(line.kit)) {
        // An empty name would mean the current folder, someone else's banks.
        if (line.parser.value(line.kit).isEmpty()) {
            *error = QCoreApplication::translate("Modes", "--kit needs the name of a kit folder.");
            return std::nullopt;
        }
        return Kit(line.parser.value(line.kit));
    }
    if (const std::optional<KitLocation> location = locateKit(error))
        return Kit(location->programFolder);
    return std::nullopt;
}

int runToSna(const CommandLine& line)
{
    const QStringList positional = line.parser.positionalArguments();
    if (positional.size() != 2)
        return fail(QCoreApplication::translate(
            "Modes", "--to-sna takes two files: the snapshot and the .sna to "
                     "write."));
    const QString in = absolute(positional[0]);
    const QString out = absolute(positional[1]);
    QString error;
    // Only a tape needs the kit, for its ROM; without one found, it loads
    // with OpenSE BASIC, as tessel-screen does. A --kit given must be there.
    std::optional<Kit> kit;
    if (hasTapeName(in) && line.parser.isSet(line.kit)) {
        if (!(kit = kitOf(line, &error)))
            return fail(error);
    } else if (hasTapeName(in)) {
        if (const std::optional<KitLocation> location = locateKit(nullptr))
            kit.emplace(location->programFolder);
    }
    QStringList warnings;
    if (!convertSourceToSna(in, out, kit ? &*kit : nullptr, &warnings, &error))
        return fail(error);
    for (const QString& warning : warnings)
        warn(warning);
    printPath(out);
    return 0;
}

int runExtract(const CommandLine& line)
{
    const QCommandLineParser& parser = line.parser;
    const QStringList positional = parser.positionalArguments();
    QString error;
    const std::optional<Kit> kit = kitOf(line, &error);
    if (!kit)
        return fail(error);
    if (parser.isSet(line.output) || parser.isSet(line.list))
        return fail(QCoreApplication::translate(
            "Modes", "--extract takes no -o or --list: give the image and the "
                     "folder, tessel-flash --extract IMAGE DIR."));
    if (positional.size() != 1)
        return fail(QCoreApplication::translate(
            "Modes", "--extract needs one folder after the image: tessel-flash "
                     "--extract IMAGE DIR."));
    if (parser.value(line.extract).isEmpty() || positional.constFirst().isEmpty())
        return fail(QCoreApplication::translate("Modes",
                                                "--extract needs the names of an image and a "
                                                "folder; an empty name is neither."));
    const QString image = absolute(parser.value(line.extract));
    const QString folder = absolute(positional.constFirst());
    const std::optional<FlashContents> contents = readFlashImage(*kit, image, &error);
    if (!contents)
        return fail(error);
    for (const QString& warning : contents->warnings)
        warn(warning);
    const bool force = parser.isSet(line.force);
    // Only files that stood there before: a failed run leaves none of its own.
    const bool taken = !force && !existingFiles(*contents, folder).isEmpty();
    const std::optional<Extraction> done = writeExtraction(*contents, folder, image, force, &error);
    if (!done && taken)
        error += QLatin1Char(' ')
                 + QCoreApplication::translate("Modes", "Give --force to replace them.");
    if (!done)
        return fail(error);
    printPath(done->listFile);
    return 0;
}

int runShow(const CommandLine& line)
{
    const QCommandLineParser& parser = line.parser;
    QString error;
    const std::optional<Kit> kit = kitOf(line, &error);
    if (!kit)
        return fail(error);
    if (parser.isSet(line.output) || parser.isSet(line.list) || parser.isSet(line.force)
        || !parser.positionalArguments().isEmpty())
        return fail(QCoreApplication::translate(
            "Modes", "--show takes the image alone: tessel-flash --show IMAGE."));
    const QString image = QFileInfo(parser.value(line.show)).absoluteFilePath();
    const std::optional<FlashContents> contents = readFlashImage(*kit, image, &error);
    if (!contents)
        return fail(error);
    for (const QString& warning : contents->warnings)
        warn(warning);
    QTextStream out(stdout);
    for (int i = 0; i < contents->entries.size(); ++i)
        out << i + 1 << '\t' << contents->entries.at(i).name << '\n';
    return 0;
}

int runBuild(const CommandLine& line)
{
    const QCommandLineParser& parser = line.parser;
    const QStringList positional = parser.positionalArguments();
    QString error;
    const std::optional<Kit> kit = kitOf(line, &error);
    if (!kit)
        return fail(error);
    if (parser.isSet(line.force))
        return fail(QCoreApplication::translate("Modes", "--force goes only with --extract."));
    if (!parser.isSet(line.output))
        return fail(QCoreApplication::translate("Modes", "No output file: give one with -o FILE."));
    // Empty, it would mean the kit's working image.
    if (parser.value(line.output).isEmpty())
        return fail(
            QCoreApplication::translate("Modes", "-o needs the name of the file to write."));
    if (parser.isSet(line.list) && !positional.isEmpty())
        return fail(QCoreApplication::translate(
            "Modes", "Give the entries either as NAME=PATH arguments or with --list, "
                     "not both."));

    BuildOptions options;
    std::optional<SnapshotEntries> entries;
    if (parser.isSet(line.list)) {
        const QString list = parser.value(line.list);
        entries = readEntryList(list, &error);
        options.otherInputs << list;
    } else {
        entries = readArguments(positional, &error);
    }
    if (!entries)
        return fail(error);

    options.output = absolute(parser.value(line.output));
    const std::optional<FlashJob> job = build(*kit, *entries, options, &error);
    if (!job)
        return fail(error);
    for (const QString& warning : job->warnings)
        warn(warning);
    printPath(job->output);
    return 0;
}

} // namespace tessel
