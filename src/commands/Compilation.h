// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Settings.h"
#include "core/SnapshotEntry.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

class Kit;

// A compilation file read and checked the way adding checks each file: every
// line an entry, a menu name of 1 to 20 characters with no control
// character, a snapshot or tape the cartridge takes (the kit's ROM loads
// tapes), and ten entries at most. Nothing when any of it fails; *error then
// names the file, and on a line of its own ("\n" between them) each bad line
// with its reason.
std::optional<SnapshotEntries> readCompilation(const QString& path, const Kit* kit, QString* error);

// The compilations last opened or saved, most recent first, in a section of
// the settings file of their own.
class RecentCompilations
{
public:
    static constexpr int kCount = 5;
    static inline const QString kSection = QStringLiteral("compilations");

    explicit RecentCompilations(Settings settings);

    QStringList paths() const;
    // Puts the path first, once; the sixth goes.
    bool add(const QString& path);
    bool remove(const QString& path);

private:
    bool store(const QStringList& paths);

    Settings m_settings;
};

} // namespace tessel
