// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/FormatLibrary.h"

#include <limits>
#include <vector>

namespace tessel {

// The tape deck: plays a tape's edges against the machine's clock and says
// what the EAR input reads at any T-state. Stops where the tape says a user
// would stop it, and at its end (or where it plays on without time passing);
// never rewinds.
class TapePlayer
{
public:
    static constexpr qint64 kNever = std::numeric_limits<qint64>::max();

    explicit TapePlayer(TapeImage& tape);

    // Presses play at T-state `at`.
    void play(qint64 at);
    bool playing() const { return m_playing; }
    bool ended() const { return m_ended; }
    bool stopped() const { return m_stopped; }

    // The level at T-state `at`, which never goes back in time.
    bool level(qint64 at)
    {
        while (at >= m_nextEdge)
            passEdge();
        return m_level;
    }
    // When the level may next change; kNever when the tape does not play.
    qint64 nextEdge() const { return m_nextEdge; }
    // The block that is playing, or was when the tape stopped; from 0.
    int block() const { return m_edge.block; }

private:
    void passEdge();
    void fetch();

    TapeImage& m_tape;
    std::vector<TapeEdge> m_buffer;
    size_t m_next = 0;
    size_t m_filled = 0;
    TapeEdge m_edge; // the edge at m_nextEdge
    qint64 m_nextEdge = kNever;
    int m_timeless = 0; // edges in a row that took no time
    bool m_level = false;
    bool m_playing = false;
    bool m_ended = false;
    bool m_stopped = false;
};

} // namespace tessel
