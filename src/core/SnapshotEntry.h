// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace tessel {

// One line of a compilation: a snapshot file and the name the cartridge's
// menu shows for it.
struct SnapshotEntry
{
    QString path;
    QString name;
    // What the snapshot was saved with that the cartridge does not give, for
    // the user to see beside the entry; no file stores it.
    QString note = {};

    friend bool operator==(const SnapshotEntry&, const SnapshotEntry&) = default;
};

using SnapshotEntries = QList<SnapshotEntry>;

} // namespace tessel
