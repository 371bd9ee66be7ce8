// SPDX-License-Identifier: GPL-3.0-or-later
// tessel-screen: writes the screen a 48K snapshot was showing as a 256×192
// PNG, without the border and with FLASH in its first phase. A tape gives
// the screen of the snapshot it loads to.
#include "core/Kit.h"
#include "core/KitLocation.h"
#include "core/Language.h"
#include "formats/Libspectrum.h"
#include "machine/Source.h"
#include "screens/ScreenImage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

using namespace tessel;

namespace {

int fail(const QString& message)
{
    QTextStream(stderr) << "tessel-screen: " << message << '\n';
    return 1;
}

QString quoted(const QString& path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
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
    const QString& snapshot = arguments.at(0);
    const QString output = QFileInfo(arguments.at(1)).absoluteFilePath();

    QString error;
    std::optional<LoadingScreen> screen;
    if (hasTapeName(snapshot)) {
        // The program folder only for its ROM: none found, OpenSE BASIC.
        std::optional<Kit> kit;
        if (const std::optional<KitLocation> location = locateKit(nullptr))
            kit.emplace(location->programFolder);
        const std::optional<SnapshotRead> read =
            readSource(snapshot, kit ? &*kit : nullptr, &error);
        if (!read)
            return fail(error);
        for (const QString& warning : read->warnings)
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

    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly))
        return fail(
            QCoreApplication::translate("tessel-screen", "The picture %1 cannot be written: %2.")
                .arg(quoted(output), file.errorString()));
    if (!screen->image.save(&file, "PNG") || !file.commit())
        return fail(
            QCoreApplication::translate("tessel-screen", "The picture %1 cannot be written: %2.")
                .arg(quoted(output), file.errorString()));
    QTextStream(stdout) << QDir::toNativeSeparators(output) << '\n';
    return 0;
}
