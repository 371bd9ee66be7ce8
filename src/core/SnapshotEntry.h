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

    friend bool operator==(const SnapshotEntry&, const SnapshotEntry&) = default;
};

using SnapshotEntries = QList<SnapshotEntry>;

} // namespace tessel
