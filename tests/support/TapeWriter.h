// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tessel::test {

// Tapes made in the tests: blocks as the ROM saves them, a turbo block, a
// pure tone and a stop, written as .tap (ROM blocks only) or .tzx.
class TapeWriter
{
public:
    // A BASIC program of one line, "10 CLEAR start-1: LOAD "" CODE:
    // RANDOMIZE USR start", with its header; it runs from line 10.
    TapeWriter& loader(quint16 start);
    // A BASIC program of one line, "10 RANDOMIZE USR 0", that resets the
    // Spectrum.
    TapeWriter& resetter();
    // A CODE block with its header.
    TapeWriter& code(quint16 start, const QByteArray& bytes);
    // A ROM-timed block of the flag and bytes given, with no header.
    TapeWriter& block(quint8 flag, const QByteArray& bytes);
    // For turbo.asm: the code at `start` in one fast block.
    TapeWriter& turbo(quint16 start, const QByteArray& bytes);
    // A tone of `pulses` pulses of `length` T-states each.
    TapeWriter& tone(quint16 length, quint16 pulses);
    // Where a 48K user stops the tape.
    TapeWriter& stop();

    QByteArray tap() const;
    QByteArray tzx() const;
    // The data bytes of each ROM block: flag, bytes, checksum.
    const QList<QByteArray>& romBlocks() const { return m_romBlocks; }

private:
    TapeWriter& header(quint8 type, const QByteArray& name, quint16 length, quint16 first,
                       quint16 second);
    TapeWriter& program(const QByteArray& text);

    QByteArray m_tzx;
    QList<QByteArray> m_romBlocks;
};

// The programs tests/support/z80 assembles at build time, and the tapes
// most tests load. game.asm sets every register to a value of its own and
// loops; turbo.asm loads it from a turbo block without the ROM.
constexpr quint16 kGameStart = 32768;
constexpr quint16 kTurboStart = 25000;
QByteArray gameCode();
QByteArray turboLoader();
// A BASIC loader and the game as CODE, all at the ROM's speed.
TapeWriter romTape();
// A BASIC loader, turbo.asm as CODE, and the game in a turbo block.
TapeWriter turboTape();

// Where a test finds the Sinclair 48K ROM: $TESSEL_SINCLAIR_ROM, which CI
// sets where the copy beside the clone exists; empty when it does not.
QString sinclairRom();

} // namespace tessel::test
