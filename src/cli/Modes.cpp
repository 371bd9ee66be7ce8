// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include "core/Kit.h"
#include "core/KitLocation.h"
#include "flash/FlashBuild.h"
#include "flash/FlashExtract.h"
#include "formats/EntryList.h"
#include "formats/FormatLibrary.h"
#include "formats/PokFile.h"
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

// Each --poke NAME=ADDR,VALUE[:ADDR,VALUE...] joins the entry of that name
// as a trainer of its own.
bool addPokes(const QStringList& pokes, SnapshotEntries& entries, QString* error)
{
    for (const QString& poke : pokes) {
        // The name may hold "=", the pokes never do.
        const qsizetype eq = poke.lastIndexOf(QLatin1Char('='));
        if (eq < 0) {
            *error = QCoreApplication::translate(
                         "Modes", "--poke %1: write NAME=ADDR,VALUE[:ADDR,VALUE...].")
                         .arg(poke);
            return false;
        }
        const QString name = poke.first(eq);
        QString why;
        const std::optional<QList<Poke>> list = parsePokeList(poke.sliced(eq + 1), &why);
        if (!list) {
            *error = QCoreApplication::translate("Modes", "--poke %1: %2").arg(poke, why);
            return false;
        }
        QList<qsizetype> named;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (entries.at(i).name == name)
                named << i;
        }
        if (named.size() != 1) {
            const int count = static_cast<int>(named.size());
            *error = QCoreApplication::translate(
                         "Modes",
                         "--poke %1: %n entries have the menu name \"%2\"; it must "
                         "name exactly one.",
                         nullptr, count)
                         .arg(poke, name);
            return false;
        }
        entries[named.constFirst()].trainers.append({QStringLiteral("--poke"), *list});
    }
    return true;
}

// True, having said so, when --poke comes with a mode that builds nothing.
bool pokesRefused(const CommandLine& line, const QString& mode)
{
    if (!line.parser.isSet(line.poke))
        return false;
    fail(QCoreApplication::translate("Modes", "--poke goes with a build, not with %1.").arg(mode));
    return true;
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
    if (pokesRefused(line, QStringLiteral("--to-sna")))
        return 1;
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
    if (pokesRefused(line, QStringLiteral("--extract")))
        return 1;
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
    QTextStream(stderr) << QCoreApplication::translate(
        "Modes", "tessel-flash: the snapshots hold their memory as the image holds it, with "
                 "the pokes of any trainers the image was built with.")
                        << '\n';
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
        || parser.isSet(line.poke) || !parser.positionalArguments().isEmpty())
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
    if (!entries || !addPokes(parser.values(line.poke), *entries, &error))
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
