// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/Z80.h"

#include <z80ex/z80ex.h>

namespace tessel {

struct Z80Core
{
    Z80EX_CONTEXT* cpu = nullptr;
    quint8* memory = nullptr;
    int romSize = 0;
    Z80Ports* ports = nullptr;
    int done = 0; // T-states of the prefixes already run in this instruction

    int now() const { return done + z80ex_op_tstate(cpu); }
};

namespace {

Z80EX_BYTE readMemory(Z80EX_CONTEXT*, Z80EX_WORD address, int, void* data)
{
    return static_cast<const Z80Core*>(data)->memory[address];
}

void writeMemory(Z80EX_CONTEXT*, Z80EX_WORD address, Z80EX_BYTE value, void* data)
{
    auto* core = static_cast<Z80Core*>(data);
    if (address >= core->romSize)
        core->memory[address] = value;
}

Z80EX_BYTE readPort(Z80EX_CONTEXT*, Z80EX_WORD port, void* data)
{
    auto* core = static_cast<Z80Core*>(data);
    return core->ports->in(port, core->now());
}

void writePort(Z80EX_CONTEXT*, Z80EX_WORD port, Z80EX_BYTE value, void* data)
{
    auto* core = static_cast<Z80Core*>(data);
    core->ports->out(port, value, core->now());
}

// Nothing drives the data bus during the acknowledge: IM 2 reads 0xff.
Z80EX_BYTE interruptVector(Z80EX_CONTEXT*, void*)
{
    return 0xff;
}

} // namespace

Z80::Z80(quint8* memory, int romSize, Z80Ports& ports)
    : m_core(std::make_unique<Z80Core>())
{
    m_core->memory = memory;
    m_core->romSize = romSize;
    m_core->ports = &ports;
    Z80Core* core = m_core.get();
    core->cpu = z80ex_create(readMemory, core, writeMemory, core, readPort, core, writePort, core,
                             interruptVector, core);
}

Z80::~Z80()
{
    z80ex_destroy(m_core->cpu);
}

void Z80::reset()
{
    z80ex_reset(m_core->cpu);
}

int Z80::step()
{
    m_core->done = 0;
    do
        m_core->done += z80ex_step(m_core->cpu);
    while (z80ex_last_op_type(m_core->cpu) != 0);
    return m_core->done;
}

int Z80::interrupt()
{
    m_core->done = 0;
    return z80ex_int(m_core->cpu);
}

bool Z80::halted() const
{
    return z80ex_doing_halt(m_core->cpu) != 0;
}

quint16 Z80::pc() const
{
    return z80ex_get_reg(m_core->cpu, regPC);
}

Z80Registers Z80::registers() const
{
    Z80EX_CONTEXT* cpu = m_core->cpu;
    Z80Registers r;
    r.af = z80ex_get_reg(cpu, regAF);
    r.bc = z80ex_get_reg(cpu, regBC);
    r.de = z80ex_get_reg(cpu, regDE);
    r.hl = z80ex_get_reg(cpu, regHL);
    r.af2 = z80ex_get_reg(cpu, regAF_);
    r.bc2 = z80ex_get_reg(cpu, regBC_);
    r.de2 = z80ex_get_reg(cpu, regDE_);
    r.hl2 = z80ex_get_reg(cpu, regHL_);
    r.ix = z80ex_get_reg(cpu, regIX);
    r.iy = z80ex_get_reg(cpu, regIY);
    r.sp = z80ex_get_reg(cpu, regSP);
    r.pc = z80ex_get_reg(cpu, regPC);
    r.i = static_cast<quint8>(z80ex_get_reg(cpu, regI));
    // The core counts R in seven bits and keeps bit 7 apart, as LD R,A set it.
    r.r =
        static_cast<quint8>((z80ex_get_reg(cpu, regR) & 0x7f) | (z80ex_get_reg(cpu, regR7) & 0x80));
    r.im = static_cast<quint8>(z80ex_get_reg(cpu, regIM));
    r.iff1 = z80ex_get_reg(cpu, regIFF1) != 0;
    r.iff2 = z80ex_get_reg(cpu, regIFF2) != 0;
    return r;
}

void Z80::setRegisters(const Z80Registers& r)
{
    Z80EX_CONTEXT* cpu = m_core->cpu;
    z80ex_set_reg(cpu, regAF, r.af);
    z80ex_set_reg(cpu, regBC, r.bc);
    z80ex_set_reg(cpu, regDE, r.de);
    z80ex_set_reg(cpu, regHL, r.hl);
    z80ex_set_reg(cpu, regAF_, r.af2);
    z80ex_set_reg(cpu, regBC_, r.bc2);
    z80ex_set_reg(cpu, regDE_, r.de2);
    z80ex_set_reg(cpu, regHL_, r.hl2);
    z80ex_set_reg(cpu, regIX, r.ix);
    z80ex_set_reg(cpu, regIY, r.iy);
    z80ex_set_reg(cpu, regSP, r.sp);
    z80ex_set_reg(cpu, regPC, r.pc);
    z80ex_set_reg(cpu, regI, r.i);
    z80ex_set_reg(cpu, regR, r.r & 0x7f);
    z80ex_set_reg(cpu, regR7, r.r & 0x80);
    z80ex_set_reg(cpu, regIM, r.im);
    z80ex_set_reg(cpu, regIFF1, r.iff1 ? 1 : 0);
    z80ex_set_reg(cpu, regIFF2, r.iff2 ? 1 : 0);
}

} // namespace tessel
