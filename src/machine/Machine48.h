// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/Z80.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <initializer_list>
#include <optional>

namespace tessel {

class TapePlayer;

// The keys of the Spectrum's keyboard that typing LOAD "" needs, as their
// half-row (the port's high address bit that selects it) and bit.
enum class Key : quint8 {
    A = 0x10,
    D = 0x12,
    O = 0x51,
    P = 0x50,
    J = 0x63,
    L = 0x61,
    Enter = 0x60,
    Space = 0x70,
    SymbolShift = 0x71,
};

// A 48K Spectrum without memory contention: the Z80, 16 KiB of ROM and 48 KiB
// of RAM, a 50 Hz frame of 69,888 T-states with the interrupt at its start,
// the keyboard, the border, and the EAR input fed by a tape deck. No traps:
// the tape is heard only through port 0xFE, at the T-state of each read.
class Machine48 final : private Z80Ports
{
public:
    static constexpr int kFrameTstates = 69888;
    static constexpr int kFramesPerSecond = 50;
    static constexpr int kRomSize = 0x4000;

    // `rom` is 16 KiB.
    explicit Machine48(QByteArrayView rom);

    // Runs one frame: the interrupt at its start, then instructions to its
    // end. Stops early, at the instruction that did it, when the program
    // writes to the 128K's paging port.
    void runFrame();
    qint64 now() const { return m_now; }

    void setTape(TapePlayer* tape) { m_tape = tape; }
    void setKeys(std::initializer_list<Key> keys);
    // Off, the ROM's edge-sampling loop runs instruction by instruction.
    void setAccelerated(bool on) { m_accelerated = on; }

    quint8 peek(quint16 address) const { return m_memory[address]; }
    quint16 peekWord(quint16 address) const;
    // Port 0xFE reads in the last whole frame.
    int portReads() const { return m_lastReads; }
    // A write to port 0x7FFD (any port with A15 and A1 low) happened.
    bool pagedMemory() const { return m_paged; }
    quint8 border() const { return m_border; }
    Z80Registers registers() const { return m_z80.registers(); }
    // Z80 instructions run so far (the accelerated loop's count as run).
    qint64 instructions() const { return m_instructions; }

    // The 48K .sna of the machine as it stands: the registers and the border
    // in its header, then the RAM, with the program counter pushed on the
    // stack as the format keeps it. Nothing when the stack pointer leaves no
    // room in RAM below it.
    std::optional<QByteArray> sna() const;

private:
    quint8 in(quint16 port, int tstate) override;
    void out(quint16 port, quint8 value, int tstate) override;
    void skipEdgeLoop(qint64 frameEnd);
    void skipDelayLoop(qint64 frameEnd);
    void skipDjnzLoop(qint64 frameEnd);

    std::array<quint8, 0x10000> m_memory{};
    Z80 m_z80;
    TapePlayer* m_tape = nullptr;
    std::array<quint8, 8> m_keys{}; // pressed keys' bits, by half-row
    bool m_keyDown = false;
    qint64 m_now = 0;
    qint64 m_frameStart = 0;
    qint64 m_instructions = 0;
    int m_edgeLoop = -1; // where the ROM's edge-sampling loop was last seen
    int m_notEdgeLoop = -1;
    bool m_edgeLoopRan = false; // in this frame
    bool m_watchEdgeLoop = false; // it ran in the frame before
    int m_reads = 0;
    int m_lastReads = 0;
    quint8 m_border = 7;
    bool m_paged = false;
    bool m_accelerated = true;
};

} // namespace tessel
