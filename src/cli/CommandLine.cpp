// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include <QCoreApplication>

namespace tessel {

CommandLine::CommandLine()
    : help(parser.addHelpOption())
    , version(parser.addVersionOption())
    , kit(QStringLiteral("kit"),
          QCoreApplication::translate(
              "CommandLine", "Kit folder (default: the folder of this program when it holds "
                             "tessel.ini, else the data folder of an installed copy, "
                             "~/.local/share/tessel-zizerev)."),
          QCoreApplication::translate("CommandLine", "DIR"))
    , output({QStringLiteral("o"), QStringLiteral("output")},
             QCoreApplication::translate("CommandLine", "The image file to write."),
             QCoreApplication::translate("CommandLine", "FILE"))
    , list(QStringLiteral("list"),
           QCoreApplication::translate("CommandLine",
                                       "Read the entries from FILE, one NAME<tab>PATH a line."),
           QCoreApplication::translate("CommandLine", "FILE"))
    , toSna(QStringLiteral("to-sna"),
            QCoreApplication::translate(
                "CommandLine",
                "Convert the snapshot IN, of any format the program reads, or the tape IN, "
                "loaded as a 48K Spectrum loads it, to the 48K .sna OUT, with the same "
                "checks; nothing else is done. Takes IN and OUT as the two arguments."))
    , extract(QStringLiteral("extract"),
              QCoreApplication::translate(
                  "CommandLine", "Take the image FILE apart into the folder given after it."),
              QCoreApplication::translate("CommandLine", "FILE"))
    , show(QStringLiteral("show"),
           QCoreApplication::translate("CommandLine",
                                       "List the menu names of the image FILE, writing nothing."),
           QCoreApplication::translate("CommandLine", "FILE"))
    , force(QStringLiteral("force"),
            QCoreApplication::translate(
                "CommandLine", "With --extract, replace files of the same names in the folder."))
    , poke(QStringLiteral("poke"),
           QCoreApplication::translate(
               "CommandLine", "Write the pokes into the memory of the entry of menu name NAME "
                              "(addresses 16384 to 65535, values 0 to 255, in decimal). May "
                              "be given more than once."),
           QCoreApplication::translate("CommandLine", "NAME=ADDR,VALUE[:ADDR,VALUE...]"))
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine",
        "Builds the 524,288-byte flash image of a Tessel cartridge from ten 48K\n"
        "snapshots or tapes, without the window: the same checks and the same bytes\n"
        "as its Create Flash command.\n"
        "\n"
        "The kit folder holds bank1.rom, bank32.rom and tessel.ini, whose section\n"
        "[tessel] gives the table offsets DireccionNombres and DireccionRegistros.\n"
        "Each entry is a menu name of 1 to 20 characters and a 48K snapshot, in menu\n"
        "order: a .sna of 49,179 bytes, or a .z80, .szx, .sp, .snp, .zxs, .slt or\n"
        "other snapshot libspectrum reads, or a tape (.tap, .tzx, .pzx, .csw, .wav).\n"
        "Give them as ten NAME=PATH arguments (the name ends at the first \"=\"), or\n"
        "with --list as a UTF-8 file of ten lines NAME<tab>PATH (blank lines ignored;\n"
        "relative paths are taken from the list file's folder).\n"
        "\n"
        "A tape is loaded as a 48K Spectrum loads it (LOAD \"\" and its own loaders,\n"
        "with real timing) and the snapshot it loads to is used; each tape is loaded\n"
        "once and kept in ~/.cache/tessel-zizerev/tapes. The ROM is the kit's 48.rom or\n"
        "the file its setting Rom48 names, else OpenSE BASIC (package opense-basic),\n"
        "with a warning: a snapshot loaded with it may not run on a real Spectrum.\n"
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
        "--force is given; then they are replaced.\n"
        "\n"
        "tessel-flash --show IMAGE reads an image with the kit's table offsets and\n"
        "prints its ten entries, one NUMBER<tab>NAME line each in menu order, and\n"
        "on stderr any warning about bytes the tables cover. It writes nothing. An\n"
        "image that is not of this kit (another size, other table offsets) is\n"
        "refused with the reason.\n"
        "\n"
        "Trainers: in a --list file, lines POKE TRAINER=ADDR,VALUE[:ADDR,VALUE...]\n"
        "under an entry's line are written into that entry's memory in the image, as\n"
        "--poke NAME=ADDR,VALUE[:ADDR,VALUE...] does for the entry named NAME. The\n"
        "snapshot files are never changed; --extract gives back the snapshots as the\n"
        "image holds them, pokes included."));
    parser.addOptions({kit, output, list, toSna, extract, show, force, poke});
    parser.addPositionalArgument(
        QCoreApplication::translate("CommandLine", "entries"),
        QCoreApplication::translate("CommandLine",
                                    "Ten NAME=PATH entries, unless --list is given."),
        QCoreApplication::translate("CommandLine", "[NAME=PATH...]"));
}

} // namespace tessel
