// SPDX-License-Identifier: GPL-3.0-or-later
// tessel-screen: writes the screen a 48K snapshot was showing as a 256×192
// PNG, without the border and with FLASH in its first phase. A tape gives
// the screen of the snapshot it loads to.
#include "core/DurableFile.h"
#include "core/Files.h"
#include "core/Kit.h"
#include "core/KitLocation.h"
#include "core/Language.h"
#include "formats/FormatLibrary.h"
#include "machine/Rom.h"
#include "machine/Source.h"
#include "screens/ScreenImage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

using namespace tessel;

namespace {

int fail(const QString& message)
{
    QTextStream(stderr) << "tessel-screen: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // Qt would read such bytes as U+FFFD and name another file.
    if (const std::optional<QString> bad = undecodableArgument(argc, argv))
        return fail(QCoreApplication::translate("tessel-screen",
                                                "The argument \"%1\" is not valid UTF-8 text, "
                                                "so the file it names cannot be reached by that "
                                                "name; rename the file or folder.")
                        .arg(*bad));
    QCoreApplication::setApplicationName(QStringLiteral("tessel-screen"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
    installTranslations();

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "tessel-screen", "Writes the screen a 48K snapshot was showing as a 256x192 PNG: the\n"
                         "6,912 bytes at 0x4000 drawn with the Spectrum's colours, without the\n"
                         "border, FLASH in its first phase (INK drawn as INK). The snapshot is a\n"
                         "48K .sna, .z80, .szx or any other snapshot libspectrum reads, or a tape\n"
                         "(.tap, .tzx, .pzx, .csw, .wav), loaded as a 48K Spectrum loads it with\n"
                         "the ROM of the program folder (48.rom or the setting Rom48, else\n"
                         "OpenSE BASIC): the screen is then the one the loaded program shows.\n"
                         "\n"
                         "The PNG is replaced as a whole and its full path is printed. On any\n"
                         "problem a message goes to stderr, the exit status is 1 and no file is\n"
                         "written or changed."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QCoreApplication::translate("tessel-screen", "snapshot"),
        QCoreApplication::translate("tessel-screen", "The snapshot or tape to read."));
    parser.addPositionalArgument(
        QCoreApplication::translate("tessel-screen", "png"),
        QCoreApplication::translate("tessel-screen", "The picture to write."));
    parser.process(app);

    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2)
        return fail(QCoreApplication::translate("tessel-screen",
                                                "Give a snapshot and the PNG to write, as in: "
                                                "tessel-screen game.sna game.png"));
    const QString snapshot = arguments.at(0);
    const QString output =
        arguments.at(1).isEmpty() ? QString() : QFileInfo(arguments.at(1)).absoluteFilePath();

    // A tape is loaded with the program folder's ROM; none found, OpenSE
    // BASIC. Both are read, so neither may be written over.
    const bool tape = hasTapeName(snapshot);
    std::optional<Kit> kit;
    OutputRules rules{{snapshot}};
    if (tape) {
        if (const std::optional<KitLocation> location = locateKit(nullptr))
            kit.emplace(location->programFolder);
        if (const std::optional<Rom> rom = findRom(kit ? &*kit : nullptr, nullptr))
            rules.inputs << rom->path;
    }
    // The same rules as every file the programs write: never over the
    // snapshot, the program, a device or a link, and whole or not at all.
    DurableFile file(output, rules);
    QString error;
    if (!checkOutputFile(output, rules, &error))
        return fail(error);
    std::optional<LoadingScreen> screen;
    if (tape) {
        const std::optional<SnapshotRead> read =
            readSource(snapshot, kit ? &*kit : nullptr, &error);
        if (!read)
            return fail(error);
        for (const QString& warning : warningTexts(read->warnings))
            QTextStream(stderr) << QCoreApplication::translate("tessel-screen",
                                                               "tessel-screen: warning: %1")
                                       .arg(warning)
                                << '\n';
        screen = loadingScreenFromSna(read->sna);
    } else {
        screen = readLoadingScreen(snapshot, &error);
    }
    if (!screen)
        return fail(error);
    if (!file.open(&error))
        return fail(error);
    if (!screen->image.save(&file.device(), "PNG"))
        return fail(file.writeFailure());
    if (!file.commit(&error))
        return fail(error);
    QTextStream(stdout) << QDir::toNativeSeparators(output) << '\n';
    return 0;
}
