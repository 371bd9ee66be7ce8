// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// Portable: the executable's folder holds tessel.ini and is the program
// folder. Installed: the executable lies in a system folder and the program
// folder is the user's data folder, filled from the template the package
// ships.
enum class KitMode { Portable, Installed };

// The program folder: settings file, bank files, help text and working
// folder (beside the executable, or the user's data folder when installed:
// see KitLocation.h). Passed in, never looked up, so a test can point the
// whole program at a temporary folder.
class Kit
{
public:
    explicit Kit(const QString& programFolder, KitMode mode = KitMode::Portable);

    KitMode mode() const { return m_mode; }

    // Without a trailing separator, except at the root.
    QString programFolder() const { return m_folder; }
    // A file or folder of the kit, by its name relative to the program folder.
    QString file(const QString& relativePath) const;

    QString settingsPath() const;
    // The default working folder; the settings file may name another.
    QString workingFolder() const;
    QString bank1Path() const;
    QString bank32Path() const;
    // Where the browser opens on the first start: the demo snapshots beside
    // a portable kit (else the kit itself); an installed copy's data folder
    // is hidden, so the home folder there.
    QString firstSnapshotFolder() const;

private:
    QString m_folder;
    KitMode m_mode;
};

} // namespace tessel
