// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/Machine48.h"

#include "core/Cartridge.h"
#include "machine/TapePlayer.h"

#include <algorithm>
#include <cstring>

namespace tessel {

namespace {

// The interrupt line is held for this many T-states from the frame's start.
constexpr int kInterruptLength = 32;

// The ROM's LD-SAMPLE loop, which loaders copy as it is: INC B; RET Z;
// LD A,0x7f; IN A,(0xfe); RRA; RET NC; XOR C; AND 0x20; JR Z,LD-SAMPLE.
constexpr quint8 kEdgeLoop[] = {0x04, 0xc8, 0x3e, 0x7f, 0xdb, 0xfe, 0x1f,
                                0xd0, 0xa9, 0xe6, 0x20, 0x28, 0xf3};
constexpr int kEdgeLoopIn = 4; // where its IN lies
constexpr int kEdgeLoopTstates = 59; // one pass
constexpr int kEdgeLoopFetches = 9; // opcode fetches a pass, each adding 1 to R

// Before it, LD-EDGE-1 waits in DEC A; JR NZ,$-1 with A = 0x16 from its
// LD A; loaders change the count.
constexpr quint8 kDelayLoop[] = {0x3d, 0x20, 0xfd};
constexpr int kDelayBefore = 4; // from its DEC A to LD-SAMPLE, past an AND A

constexpr int kCheckInterval = 32; // instructions

void putWord(char* at, int value)
{
    at[0] = static_cast<char>(value & 0xff);
    at[1] = static_cast<char>((value >> 8) & 0xff);
}

} // namespace

Machine48::Machine48(QByteArrayView rom)
    : m_z80(m_memory.data(), kRomSize, *this)
{
    std::memcpy(m_memory.data(), rom.data(),
                static_cast<size_t>(std::min<qsizetype>(rom.size(), kRomSize)));
    m_z80.reset();
}

quint16 Machine48::peekWord(quint16 address) const
{
    return static_cast<quint16>(m_memory[address] | (m_memory[quint16(address + 1)] << 8));
}

void Machine48::setKeys(std::initializer_list<Key> keys)
{
    m_keys.fill(0);
    for (const Key key : keys) {
        const auto code = static_cast<quint8>(key);
        m_keys[code >> 4] |= static_cast<quint8>(1u << (code & 0x0f));
    }
    m_keyDown = keys.size() != 0;
}

quint8 Machine48::in(quint16 port, int tstate)
{
    if (port & 1)
        return 0xff; // nothing else answers on a bare 48K
    ++m_reads;
    // Asking the core where PC is costs a call a read: only when skipping.
    if (m_accelerated) {
        // Every IN form has its two bytes behind it when it reads.
        const int start = m_z80.pc() - 2 - kEdgeLoopIn;
        if (start == m_edgeLoop) {
            m_edgeLoopRan = true;
        } else if (start != m_notEdgeLoop) {
            const bool found = start >= 0 && start + int(sizeof kEdgeLoop) <= 0x10000
                               && std::memcmp(&m_memory[start], kEdgeLoop, sizeof kEdgeLoop) == 0;
            (found ? m_edgeLoop : m_notEdgeLoop) = start;
            m_edgeLoopRan = found;
        }
    }
    quint8 keys = 0;
    for (int row = 0; m_keyDown && row < 8; ++row) {
        if (!(port & (0x100 << row)))
            keys |= m_keys[row];
    }
    const bool ear = m_tape && m_tape->level(m_now + tstate);
    return static_cast<quint8>(0xa0 | (ear ? 0x40 : 0) | (~keys & 0x1f));
}

void Machine48::out(quint16 port, quint8 value, int)
{
    if (!(port & 1))
        m_border = value & 7;
    if (!(port & 0x8002))
        m_paged = true;
}

// Runs whole passes of the edge-sampling loop at once, while the EAR level
// it waits to see change stays as it is: the same registers, R, T-states and
// port reads as running them, and never past the frame's end or B's wrap.
void Machine48::skipEdgeLoop(qint64 frameEnd)
{
    if (std::memcmp(&m_memory[m_edgeLoop], kEdgeLoop, sizeof kEdgeLoop) != 0) {
        m_edgeLoop = -1;
        return;
    }
    if (std::any_of(m_keys.begin(), m_keys.end(), [](quint8 row) { return row != 0; }))
        return;
    Z80Registers r = m_z80.registers();
    const int b = r.bc >> 8;
    const bool awaited = (r.bc & 0x20) == 0; // the loop runs while EAR equals C's bit 5
    if (!m_tape || m_tape->level(m_now) == awaited)
        return;
    const qint64 edge = m_tape->nextEdge();
    qint64 passes = std::min<qint64>((frameEnd - m_now) / kEdgeLoopTstates, 0xff - b);
    if (edge != TapePlayer::kNever)
        passes = std::min<qint64>(passes, (edge - m_now - 1) / kEdgeLoopTstates);
    if (passes <= 0)
        return;
    r.bc = static_cast<quint16>(((b + passes) << 8) | (r.bc & 0xff));
    r.af = 0x0054; // A = 0 and the flags of AND 0x20 giving 0
    r.r = static_cast<quint8>((r.r & 0x80) | ((r.r + kEdgeLoopFetches * passes) & 0x7f));
    m_z80.setRegisters(r);
    m_now += passes * kEdgeLoopTstates;
    m_reads += static_cast<int>(passes);
    m_instructions += passes * kEdgeLoopFetches;
}

// LD-EDGE-1's delay at once, when it ends within the frame.
void Machine48::skipDelayLoop(qint64 frameEnd)
{
    const int at = m_edgeLoop - kDelayBefore;
    if (at < 0 || std::memcmp(&m_memory[at], kDelayLoop, sizeof kDelayLoop) != 0)
        return;
    Z80Registers r = m_z80.registers();
    const int passes = (r.af >> 8) ? (r.af >> 8) : 256;
    const qint64 tstates = 16 * passes - 5; // the last JR NZ not taken
    if (m_now + tstates > frameEnd)
        return;
    r.af = static_cast<quint16>((r.af & 0x01) | 0x42); // A = 0: Z and N set, carry kept
    r.pc = static_cast<quint16>(at + sizeof kDelayLoop);
    r.r = static_cast<quint8>((r.r & 0x80) | ((r.r + 2 * passes) & 0x7f));
    m_z80.setRegisters(r);
    m_now += tstates;
    m_instructions += 2 * passes;
}

// DJNZ to itself, at once, when it ends within the frame.
void Machine48::skipDjnzLoop(qint64 frameEnd)
{
    Z80Registers r = m_z80.registers();
    const int passes = (r.bc >> 8) ? (r.bc >> 8) : 256;
    const qint64 tstates = 13 * passes - 5; // the last not taken
    if (m_now + tstates > frameEnd)
        return;
    r.bc &= 0x00ff;
    r.pc = static_cast<quint16>(r.pc + 2);
    r.r = static_cast<quint8>((r.r & 0x80) | ((r.r + passes) & 0x7f));
    m_z80.setRegisters(r);
    m_now += tstates;
    m_instructions += passes;
}

void Machine48::runFrame()
{
    const qint64 end = m_frameStart + kFrameTstates;
    bool interrupted = false;
    int sinceCheck = 0;
    while (m_now < end && !m_paged) {
        if (!interrupted) {
            if (m_now - m_frameStart < kInterruptLength) {
                if (const int taken = m_z80.interrupt()) {
                    m_now += taken;
                    interrupted = true;
                    continue;
                }
            } else {
                interrupted = true;
            }
        }
        // Asking the core costs as much as a short instruction: look now and then.
        if (++sinceCheck == kCheckInterval) {
            sinceCheck = 0;
            if (m_z80.halted()) {
                // HALT fetches a NOP every 4 T-states until the next interrupt.
                const qint64 fetches = (end - m_now + 3) / 4;
                Z80Registers r = m_z80.registers();
                r.r = static_cast<quint8>((r.r & 0x80) | ((r.r + fetches) & 0x7f));
                m_z80.setRegisters(r);
                m_now += fetches * 4;
                m_instructions += fetches;
                break;
            }
            // A DJNZ to itself waits, as LD-START does for a second.
            const quint16 pc = m_z80.pc();
            if (m_accelerated && m_memory[pc] == 0x10 && m_memory[quint16(pc + 1)] == 0xfe)
                skipDjnzLoop(end);
        }
        // Only while the edge-sampling loop runs is it worth asking where PC is.
        if (m_watchEdgeLoop) {
            const quint16 pc = m_z80.pc();
            if (pc == m_edgeLoop)
                skipEdgeLoop(end);
            else if (pc == m_edgeLoop - kDelayBefore)
                skipDelayLoop(end);

            if (m_now >= end)
                break;
        }
        m_now += m_z80.step();
        ++m_instructions;
    }
    if (m_tape)
        m_tape->level(m_now); // the tape plays on whether or not anything listens
    m_watchEdgeLoop = m_accelerated && m_edgeLoopRan;
    m_edgeLoopRan = false;
    m_frameStart = end;
    m_lastReads = m_reads;
    m_reads = 0;
}

std::optional<QByteArray> Machine48::sna() const
{
    const Z80Registers r = m_z80.registers();
    const int sp = (r.sp - 2) & 0xffff;
    if (sp < kRomSize || sp > 0xfffe)
        return std::nullopt;
    QByteArray sna(kSnaFileSize, '\0');
    char* h = sna.data();
    h[0] = static_cast<char>(r.i);
    putWord(h + 1, r.hl2);
    putWord(h + 3, r.de2);
    putWord(h + 5, r.bc2);
    putWord(h + 7, r.af2);
    putWord(h + 9, r.hl);
    putWord(h + 11, r.de);
    putWord(h + 13, r.bc);
    putWord(h + 15, r.iy);
    putWord(h + 17, r.ix);
    h[19] = static_cast<char>(r.iff2 ? 0x04 : 0x00);
    h[20] = static_cast<char>(r.r);
    putWord(h + 21, r.af);
    putWord(h + 23, sp);
    h[25] = static_cast<char>(r.im);
    h[26] = static_cast<char>(m_border);
    char* ram = h + kSnaHeaderSize;
    std::memcpy(ram, &m_memory[kRomSize], 0x10000 - kRomSize);
    putWord(ram + (sp - kRomSize), r.pc);
    return sna;
}

} // namespace tessel
