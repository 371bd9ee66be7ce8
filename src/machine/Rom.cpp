// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/Rom.h"

#include "core/Errors.h"
#include "core/Files.h"
#include "core/Kit.h"
#include "core/Settings.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tessel {

namespace {

constexpr qint64 kRomSize = 16384;

const QByteArray kSinclairDigest =
    QByteArray::fromHex("d55daa439b673b0e3f5897f99ac37ecb45f974d1862b4dadb85dec34af99cb42");
// opense-basic 3.2.1, Debian's.
const QByteArray kOpenSeDigest =
    QByteArray::fromHex("7038f98c22105a03d8416f213fab0b53a248405bbb7e351366f0a7158cae4815");

std::optional<Rom> readRom(const QString& path, QString* error)
{
    QFile file(path);
    if (!openRegularFile(file, error,
                         QCoreApplication::translate("Rom", "The ROM %1 cannot be read (%2).")))
        return std::nullopt;
    if (file.size() != kRomSize) {
        fail(error,
             QCoreApplication::translate("Rom", "The ROM %1 is %2 bytes long; a 48K "
                                                "Spectrum ROM has %3 bytes.")
                 .arg(quotedPath(path), QString::number(file.size()), QString::number(kRomSize)));
        return std::nullopt;
    }
    Rom rom;
    rom.path = path;
    rom.bytes = file.read(kRomSize + 1);
    if (file.error() != QFileDevice::NoError || rom.bytes.size() != kRomSize) {
        fail(error, QCoreApplication::translate("Rom", "The ROM %1 cannot be read (%2).")
                        .arg(quotedPath(path), file.errorString()));
        return std::nullopt;
    }
    rom.digest = QCryptographicHash::hash(rom.bytes, QCryptographicHash::Sha256);
    rom.kind = rom.digest == kSinclairDigest ? Rom::Kind::Sinclair
               : rom.digest == kOpenSeDigest ? Rom::Kind::OpenSe
                                             : Rom::Kind::Unknown;
    return rom;
}

} // namespace

std::optional<Rom> findRom(const Kit* kit, QString* error, const QString& fallback)
{
    if (kit) {
        const QString named = Settings(*kit).wholeValue(Settings::kRomPath, Settings::kSection);
        if (!named.isEmpty()) {
            const QString path = QDir(kit->programFolder()).absoluteFilePath(named);
            return readRom(path, error);
        }
        const QString beside = kit->file(QStringLiteral("48.rom"));
        if (QFileInfo::exists(beside))
            return readRom(beside, error);
    }
    if (QFileInfo::exists(fallback)) {
        std::optional<Rom> rom = readRom(fallback, error);
        if (rom && rom->kind == Rom::Kind::Unknown)
            rom->kind = Rom::Kind::OpenSe; // another release of the same
        return rom;
    }
    fail(error, kit ? QCoreApplication::translate(
                          "Rom", "There is no ROM to load tapes with: put the Sinclair 48K ROM in "
                                 "%1 as 48.rom, or name it in the setting %2 of %3, or install "
                                 "the package opense-basic.")
                          .arg(quotedPath(kit->programFolder()), Settings::kRomPath,
                               quotedPath(kit->settingsPath()))
                    : QCoreApplication::translate(
                        "Rom", "There is no ROM to load tapes with: install the package "
                               "opense-basic, or give a program folder that holds the Sinclair "
                               "48K ROM as 48.rom."));
    return std::nullopt;
}

QList<HardwareWarning> romWarnings(const Rom& rom, const QString& tape)
{
    switch (rom.kind) {
    case Rom::Kind::Sinclair:
        return {};
    case Rom::Kind::OpenSe:
        return {{HardwareWarning::Noted,
                 QCoreApplication::translate(
                     "Rom", "The tape %1 was loaded with OpenSE BASIC, since the Sinclair 48K ROM "
                            "was not found: a loader that calls into the Sinclair ROM fails with "
                            "it, and a BASIC program saved under it may not run on a real "
                            "Spectrum. Put the Sinclair ROM in the program folder as 48.rom to "
                            "load with it.")
                     .arg(quotedPath(tape)),
                 QCoreApplication::translate("Rom", "Loaded with OpenSE BASIC: loaders that "
                                                    "call the Sinclair ROM fail, and a BASIC "
                                                    "program may not run on a real Spectrum.")}};
    case Rom::Kind::Unknown:
        break;
    }
    return {{HardwareWarning::Noted,
             QCoreApplication::translate(
                 "Rom", "The tape %1 was loaded with the ROM %2, which is neither the Sinclair 48K "
                        "ROM nor OpenSE BASIC: the snapshot may not run on a real Spectrum.")
                 .arg(quotedPath(tape), quotedPath(rom.path)),
             QCoreApplication::translate("Rom", "Loaded with a ROM of its own.")}};
}

} // namespace tessel
