// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include "core/Files.h"
#include "core/Kit.h"
#include "core/KitLocation.h"
#include "flash/FlashBuild.h"
#include "flash/FlashExtract.h"
#include "formats/EntryList.h"
#include "formats/Libspectrum.h"
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
    const QString in = QFileInfo(positional[0]).absoluteFilePath();
    const QString out = QFileInfo(positional[1]).absoluteFilePath();
    QString error;
    // Only a tape needs the kit, for its ROM.
    std::optional<Kit> kit;
    if (hasTapeName(in) && !(kit = kitOf(line, &error)))
        return fail(error);
    QStringList warnings;
    if (!checkReplaceable(out, {in, QCoreApplication::applicationFilePath()}, &error)
        || !convertSourceToSna(in, out, kit ? &*kit : nullptr, &warnings, &error))
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
    const QString image = QFileInfo(parser.value(line.extract)).absoluteFilePath();
    const QString folder = QFileInfo(positional.constFirst()).absoluteFilePath();
    const std::optional<FlashContents> contents = readFlashImage(*kit, image, &error);
    if (!contents)
        return fail(error);
    for (const QString& warning : contents->warnings)
        warn(warning);
    const bool force = parser.isSet(line.force);
    const std::optional<Extraction> done = writeExtraction(*contents, folder, image, force, &error);
    if (!done && !force && !existingFiles(*contents, folder).isEmpty())
        error += QLatin1Char(' ')
                 + QCoreApplication::translate("Modes", "Give --force to replace them.");
    if (!done)
        return fail(error);
    printPath(done->listFile);
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

    options.output = QFileInfo(parser.value(line.output)).absoluteFilePath();
    const std::optional<FlashJob> job = build(*kit, *entries, options, &error);
    if (!job)
        return fail(error);
    for (const QString& warning : job->warnings)
        warn(warning);
    printPath(job->output);
    return 0;
}

} // namespace tessel
