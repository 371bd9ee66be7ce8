// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/Rom.h"

#include <QByteArray>
#include <QList>

namespace tessel {

class Progress;
class TapeImage;

// What loading a tape came to, as facts rather than sentences, so that the
// cache can keep it and it can be told in the user's language.
struct TapeOutcome
{
    enum class Result {
        Loaded,
        LoadingError, // the ROM said "R Tape loading error"
        LoadedNothing, // the tape ended with the ROM still waiting to load
        Reset, // the ROM waits for a key with no program, as a reset leaves it
        StillLoading, // the loader still read the tape after 15 minutes
        Paged, // the program wrote to the 128K's paging port
        RomDidNotStart,
        NoStack, // the stack pointer never left room for the program counter
        Cancelled,
    };
    Result result = Result::Cancelled;
    QByteArray sna; // when loaded: the 48K .sna
    QList<int> unreadBlocks; // data blocks the program never read, from 1
    // The tape had ended, but the program still read its port like a loader
    // when the wait for it to stop ran out.
    bool stillReading = false;
    qint64 tstates = 0; // emulated, from power-on
    qint64 instructions = 0;
};

struct LoadOptions
{
    bool accelerated = true; // the ROM's edge-sampling loop skipped through
};

// Loads the tape as a 48K Spectrum would: power on, wait for the ROM to be
// ready (its frame counter FRAMES ticking), type LOAD "" and Enter on the
// keyboard, play the tape with its real timing, and take the snapshot once
// the tape has ended or stopped and the program has not read the tape port
// like a loader for a second. `progress` (may be null) hears how far it got
// and may cancel it.
TapeOutcome loadTape(TapeImage& tape, const Rom& rom, Progress* progress,
                     const LoadOptions& options = {});

} // namespace tessel
