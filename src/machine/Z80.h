// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <memory>

namespace tessel {

// Every register, as a snapshot keeps them. R holds its bit 7.
struct Z80Registers
{
    quint16 af = 0, bc = 0, de = 0, hl = 0;
    quint16 af2 = 0, bc2 = 0, de2 = 0, hl2 = 0;
    quint16 ix = 0, iy = 0, sp = 0, pc = 0;
    quint8 i = 0, r = 0, im = 0;
    bool iff1 = false, iff2 = false;
};

// What the Z80 reads and writes through its ports. `tstate` counts from the
// start of the instruction to the moment of the access.
class Z80Ports
{
public:
    virtual quint8 in(quint16 port, int tstate) = 0;
    virtual void out(quint16 port, quint8 value, int tstate) = 0;

protected:
    ~Z80Ports() = default;
};

struct Z80Core;

// The Z80 core, over 64 KiB of memory the caller owns, whose lowest
// `romSize` bytes are read only. The one file that speaks to libz80ex.
class Z80
{
public:
    Z80(quint8* memory, int romSize, Z80Ports& ports);
    ~Z80();
    Z80(const Z80&) = delete;
    Z80& operator=(const Z80&) = delete;

    void reset();
    // One whole instruction, its prefixes included; returns its T-states.
    int step();
    // Takes the maskable interrupt when the Z80 would now; returns the
    // T-states it took, or 0 when it was not taken.
    int interrupt();
    bool halted() const;

    Z80Registers registers() const;
    void setRegisters(const Z80Registers& registers);
    quint16 pc() const;

private:
    std::unique_ptr<Z80Core> m_core;
};

} // namespace tessel
