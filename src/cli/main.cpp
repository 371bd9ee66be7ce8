// tessel-flash: builds the cartridge image from a kit and ten snapshots,
// with the same checks and the same bytes as the window's Create Flash.
#include "core/Kit.h"
#include "core/KitLocation.h"
#include "flash/EntryList.h"
#include "flash/FlashImage.h"
#include "flash/FlashSources.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

using namespace tessel;

namespace {

// Ten lines with long paths fit many times over; anything bigger is not a list.
constexpr qint64 kMaxListSize = 1 << 20;

int fail(const QString& message)
{
    QTextStream(stderr) << "tessel-flash: " << message << '\n';
    return 1;
}

bool readList(const QString& path, QList<FlashEntry>& entries, QString& error)
{
    QFile file(path);
    QString reason;
    if (!openSource(file, reason)) {
        error =
            QStringLiteral("The list file %1 cannot be read (%2).").arg(quotedPath(path), reason);
        return false;
    }
    const QByteArray data = file.read(kMaxListSize + 1);
    if (data.size() > kMaxListSize) {
        error = QStringLiteral("The list file %1 is larger than %2 bytes; it is not an entry list.")
                    .arg(quotedPath(path))
                    .arg(kMaxListSize);
        return false;
    }
    const EntryListResult parsed = parseEntryList(data);
    if (!parsed.ok()) {
        error = QStringLiteral("The list file %1, %2").arg(quotedPath(path), parsed.error);
        return false;
    }
    // Relative paths are taken from the list's own folder, so a list travels with its files.
    const QDir base = QFileInfo(path).absoluteDir();
    for (FlashEntry entry : parsed.entries) {
        entry.path = QDir::cleanPath(base.absoluteFilePath(entry.path));
        entries.append(entry);
    }
    return true;
}

bool readArguments(const QStringList& arguments, QList<FlashEntry>& entries, QString& error)
{
    for (const QString& argument : arguments) {
        FlashEntry entry;
        if (!parseEntryArgument(argument, entry, error))
            return false;
        entry.path = QFileInfo(entry.path).absoluteFilePath();
        entries.append(entry);
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessel-flash"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds the 524,288-byte flash image of a Tessel cartridge from ten 48K .sna\n"
        "snapshots, without the window: the same checks and the same bytes as its\n"
        "Create Flash command.\n"
        "\n"
        "The kit folder holds bank1.rom, bank32.rom and tessel.ini, whose section\n"
        "[tessel] gives the table offsets DireccionNombres and DireccionRegistros.\n"
        "Each entry is a menu name of 1 to 20 characters and a snapshot of exactly\n"
        "49,179 bytes, in menu order. Give them as ten NAME=PATH arguments (the name\n"
        "ends at the first \"=\"), or with --list as a UTF-8 file of ten lines\n"
        "NAME<tab>PATH (blank lines ignored; relative paths are taken from the list\n"
        "file's folder).\n"
        "\n"
        "On success the output file is replaced as a whole and its full path is\n"
        "printed. On any problem a message goes to stderr, the exit status is 1 and\n"
        "no file is written or changed."));
    parser.addHelpOption();
    parser.addVersionOption();
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
    parser.addOptions({kitOption, outputOption, listOption});
    parser.addPositionalArgument(QStringLiteral("entries"),
                                 QStringLiteral("Ten NAME=PATH entries, unless --list is given."),
                                 QStringLiteral("[NAME=PATH...]"));
    parser.process(app);

    if (!parser.isSet(outputOption))
        return fail(QStringLiteral("No output file: give one with -o FILE."));
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(listOption) && !positional.isEmpty())
        return fail(QStringLiteral("Give the entries either as NAME=PATH arguments or with --list, "
                                   "not both."));

    QList<FlashEntry> list;
    QString error;
    const bool read = parser.isSet(listOption) ? readList(parser.value(listOption), list, error)
                                               : readArguments(positional, list, error);
    if (!read)
        return fail(error);
    if (list.size() != kFlashEntries)
        return fail(QStringLiteral("%1 entries given; the cartridge takes exactly %2.")
                        .arg(list.size())
                        .arg(kFlashEntries));
    FlashEntries entries;
    std::copy(list.cbegin(), list.cend(), entries.begin());

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
    FlashSources sources;
    const QString output = QFileInfo(parser.value(outputOption)).absoluteFilePath();
    if (!prepareFlash(*kit, kit->settingsPath(), entries, sources, error)
        || !buildFlashFile(sources, output, error))
        return fail(error);
    QTextStream(stdout) << QDir::toNativeSeparators(output) << '\n';
    return 0;
}
