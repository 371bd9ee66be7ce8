// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

// Trainer files: lines "N<name>" open a trainer, "M bank address value
// original" add a poke, "Z ..." adds its last one, "Y" ends the file. Bank 8
// is the 48K memory map; 0 to 7 are a 128K's pages, of which a 48K has 5, 2
// and 0 at 0x4000, 0x8000 and 0xC000. A value of 256 is for the user to give.

// Beyond this a file is no trainer file; the largest known are a few KiB.
constexpr qint64 kMaxPokFileSize = 256 * 1024;
constexpr int kAskedValue = 256;

struct PokFilePoke
{
    int bank = 8;
    int address = 0; // as the file gives it
    int value = 0; // 0..255, or kAskedValue
    int original = 0; // the byte it replaces; 0 when the file does not know
    // Where it lands in the 48K map, for a usable trainer.
    quint16 target = 0;
};

struct PokFileTrainer
{
    QString name;
    int line = 0; // its N line, from 1
    QList<PokFilePoke> pokes;
    // Empty when the trainer can be used; else a sentence naming the line.
    QString problem;

    bool usable() const { return problem.isEmpty(); }
    bool asksValue() const;
};

struct PokFileContents
{
    QList<PokFileTrainer> trainers; // in file order, usable or not
    // Lines that belong to no trainer, a sentence each naming its line.
    QStringList problems;
};

// Any bytes; nothing, with the reason, when they are not text.
std::optional<PokFileContents> parsePokFile(QByteArrayView data, QString* error);

// A regular file no larger than kMaxPokFileSize, parsed.
std::optional<PokFileContents> readPokFile(const QString& path, QString* error);

// Where a snapshot's (or tape's) trainers are kept: GAME.pok or GAME.POK
// beside it, else in a POKES folder there. Empty when none of them exists.
QString findPokFile(const QString& snapshotPath);

// The trainer with its asked values given, in poke order; `asked` holds one
// value for each poke that asks. Only for a usable trainer.
Trainer settleTrainer(const PokFileTrainer& trainer, const QList<quint8>& asked = {});

// Whether the memory of a 48K .sna holds the bytes the trainer expects to
// replace (an original of 0 expects nothing).
bool matchesOriginals(const PokFileTrainer& trainer, QByteArrayView sna);

// Writes the trainers' pokes into the memory of a 48K .sna (and so into the
// first five bytes its register record repeats). The two stack bytes that
// hold the program counter are left alone: once the snapshot runs they are
// free stack, and a poke there would only change where it starts. A poke
// below 0x4000, in the ROM, is an error.
bool applyTrainers(QByteArray& sna, const QList<Trainer>& trainers, QString* error);

// "ADDR,VALUE[:ADDR,VALUE...]", decimal, as the command line and the
// compilation file write a trainer's pokes.
std::optional<QList<Poke>> parsePokeList(const QString& text, QString* error);
QString formatPokeList(const QList<Poke>& pokes);

} // namespace tessel
