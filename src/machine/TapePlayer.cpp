// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/TapePlayer.h"

namespace tessel {

namespace {
constexpr size_t kChunk = 4096; // edges asked of the library at a time
// A tape that jumps to itself gives edges of no length for ever; time must
// pass for the machine to go on.
constexpr int kMaxTimelessEdges = 1 << 16;
} // namespace

TapePlayer::TapePlayer(TapeImage& tape)
    : m_tape(tape)
    , m_buffer(kChunk)
{ }

void TapePlayer::play(qint64 at)
{
    if (m_playing || m_ended || m_stopped)
        return;
    m_playing = true;
    fetch();
    m_nextEdge = at + m_edge.tstates;
}

void TapePlayer::fetch()
{
    if (m_next == m_filled) {
        m_filled = static_cast<size_t>(m_tape.nextEdges(m_buffer.data(), kChunk));
        m_next = 0;
    }
    m_edge = m_buffer[m_next++];
}

void TapePlayer::passEdge()
{
    const quint8 flags = m_edge.flags;
    if (flags & kEdgeLevelLow)
        m_level = false;
    else if (flags & kEdgeLevelHigh)
        m_level = true;
    else if (!(flags & kEdgeNoFlip))
        m_level = !m_level;
    if (flags & (kEdgeTapeEnd | kEdgeStop)) {
        m_ended = flags & kEdgeTapeEnd;
        m_stopped = !m_ended;
        m_playing = false;
        m_nextEdge = kNever;
        return;
    }
    const qint64 at = m_nextEdge;
    fetch();
    m_timeless = m_edge.tstates == 0 ? m_timeless + 1 : 0;
    if (m_timeless > kMaxTimelessEdges) {
        m_ended = true;
        m_playing = false;
        m_nextEdge = kNever;
        return;
    }
    m_nextEdge = at + m_edge.tstates;
}

} // namespace tessel
