// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Kit.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tessel {

struct KitLocation
{
    KitMode mode = KitMode::Portable;
    QString programFolder;
};

// Names both the data folder and the package's template folder below share/.
inline const QString kInstalledFolderName = QStringLiteral("tessel-zizerev");

// The running executable's folder as the file system names it, byte for
// byte: from /proc/self/exe on Linux, so a name that is not valid UTF-8 is
// seen as it is. Empty when it cannot be told.
QByteArray executableFolder();

#ifdef Q_OS_UNIX
// The user's home folder: HOME when it is absolute, else the password
// database's; empty when neither names one.
QByteArray homeFolder();
#endif

// The data folder of an installed copy, e.g. ~/.local/share/tessel-zizerev.
// The same for both programs, whatever their application names. Empty when
// no home folder is known.
QString userDataFolder();

// The programs' cache folder, e.g. ~/.cache/tessel-zizerev; empty when no
// home folder is known.
QString userCacheFolder();

// Decides the program folder. An installed copy's template is
// <executable folder>/../share/tessel-zizerev, so an unpacked package works
// from any root; it fills the data folder with the files missing there (and
// the working folder) and never replaces one. Never falls back to the
// current folder: a folder it cannot name exactly is an error.
std::optional<KitLocation> locateKit(const QByteArray& executableFolder, const QString& dataFolder,
                                     QString* error);

// The same for the running program.
std::optional<KitLocation> locateKit(QString* error);

} // namespace tessel
