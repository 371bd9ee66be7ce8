// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace tessel {

// One byte a trainer writes into a 48K Spectrum's RAM.
struct Poke
{
    quint16 address = 0; // 0x4000..0xFFFF
    quint8 value = 0;

    friend bool operator==(const Poke&, const Poke&) = default;
};

// A trainer the user chose for an entry ("Infinite lives"), with the values
// settled: written into the snapshot's memory when the image is built.
struct Trainer
{
    QString name;
    QList<Poke> pokes;

    friend bool operator==(const Trainer&, const Trainer&) = default;
};

// One line of a compilation: a snapshot file and the name the cartridge's
// menu shows for it.
struct SnapshotEntry
{
    QString path;
    QString name;
    // What the snapshot was saved with that the cartridge does not give, for
    // the user to see beside the entry; no file stores it.
    QString note = {};
    // Applied in this order over the snapshot's memory; the file itself is
    // never changed.
    QList<Trainer> trainers = {};

    friend bool operator==(const SnapshotEntry&, const SnapshotEntry&) = default;
};

using SnapshotEntries = QList<SnapshotEntry>;

} // namespace tessel
