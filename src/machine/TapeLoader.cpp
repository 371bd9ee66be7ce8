// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/TapeLoader.h"

#include "core/Progress.h"
#include "formats/FormatLibrary.h"
#include "machine/Machine48.h"
#include "machine/TapePlayer.h"

#include <algorithm>
#include <initializer_list>

namespace tessel {

namespace {

constexpr qint64 kSecond = qint64(Machine48::kFrameTstates) * Machine48::kFramesPerSecond;
constexpr int kFramesPerSecond = Machine48::kFramesPerSecond;

// Loaders read port 0xfe tens of thousands of times a second, a program
// reading its keys a few hundred.
constexpr int kLoaderReadsPerFrame = 250;
constexpr int kReadyFrames = 25; // FRAMES ticking this long: the ROM waits for keys
constexpr int kMaxStartFrames = 10 * kFramesPerSecond;
constexpr int kQuietFrames = kFramesPerSecond; // a second without loader-like reads
constexpr qint64 kMaxWaitAfterTape = 10 * kSecond;
constexpr qint64 kMaxLoading = 15 * 60 * kSecond;
constexpr int kMaxInterruptsOff = 3 * kFramesPerSecond; // the ROM's start takes 1.3 s
// A key held over several of the ROM's 50 Hz scans, then let go long enough
// (more than five scans) that the same key counts again.
constexpr int kPressFrames = 4;
constexpr int kReleaseFrames = 8;

constexpr quint16 kFrames = 23672; // FRAMES, three bytes
constexpr quint16 kErrNr = 23610; // ERR_NR: the report code less one; IY in BASIC
constexpr quint8 kTapeLoadingError = 0x1a; // report R; OpenSE sets bit 7 once it is shown
constexpr quint16 kVars = 23627; // VARS: where the BASIC program ends
constexpr quint16 kProg = 23635; // PROG: where it starts

quint32 frames(const Machine48& spectrum)
{
    return spectrum.peek(kFrames) | (spectrum.peek(kFrames + 1) << 8)
           | (spectrum.peek(kFrames + 2) << 16);
}

class Run
{
public:
    Run(TapeImage& tape, const Rom& rom, Progress* progress, const LoadOptions& options)
        : m_tape(tape)
        , m_rom(rom)
        , m_progress(progress)
        , m_spectrum(rom.bytes)
        , m_player(tape)
        , m_read(tape.blocks().size(), false)
    {
        m_spectrum.setAccelerated(options.accelerated);
        m_spectrum.setTape(&m_player);
        for (const TapeBlock& block : tape.blocks())
            m_length += block.tstates;
    }

    TapeOutcome run()
    {
        TapeOutcome outcome;
        outcome.result = load();
        if (outcome.result == TapeOutcome::Result::Loaded) {
            outcome.sna = *m_spectrum.sna();
            outcome.stillReading = m_stillReading;
            const QList<TapeBlock>& blocks = m_tape.blocks();
            for (qsizetype i = 0; i < blocks.size(); ++i) {
                if (blocks.at(i).kind == TapeBlock::Kind::Data && !m_read.at(i))
                    outcome.unreadBlocks << static_cast<int>(i + 1);
            }
        }
        outcome.tstates = m_spectrum.now();
        outcome.instructions = m_spectrum.instructions();
        return outcome;
    }

private:
    bool frame()
    {
        m_spectrum.runFrame();
        return !(m_progress && m_progress->cancelled());
    }

    bool type(std::initializer_list<Key> keys)
    {
        m_spectrum.setKeys(keys);
        for (int i = 0; i < kPressFrames; ++i) {
            if (!frame())
                return false;
        }
        m_spectrum.setKeys({});
        for (int i = 0; i < kReleaseFrames; ++i) {
            if (!frame())
                return false;
        }
        return true;
    }

    bool typeLoad()
    {
        // Sinclair's editor takes LOAD as a keyword, J; OpenSE's the letters.
        if (m_rom.kind == Rom::Kind::OpenSe) {
            for (const Key key : {Key::L, Key::O, Key::A, Key::D}) {
                if (!type({key}))
                    return false;
            }
        } else if (!type({Key::J})) {
            return false;
        }
        return type({Key::SymbolShift, Key::P}) && type({Key::SymbolShift, Key::P})
               && type({Key::Enter});
    }

    TapeOutcome::Result load()
    {
        using Result = TapeOutcome::Result;
        int ticking = 0;
        quint32 last = frames(m_spectrum);
        for (int i = 0; ticking < kReadyFrames; ++i) {
            if (i == kMaxStartFrames)
                return Result::RomDidNotStart;
            if (!frame())
                return Result::Cancelled;
            const quint32 now = frames(m_spectrum);
            ticking = now != last ? ticking + 1 : 0;
            last = now;
        }
        if (!typeLoad())
            return Result::Cancelled;

        const qint64 start = m_spectrum.now();
        m_player.play(start);
        qint64 ended = -1;
        int quiet = 0;
        for (int count = 0;; ++count) {
            const int from = m_player.block();
            if (!frame())
                return Result::Cancelled;
            if (m_spectrum.pagedMemory())
                return Result::Paged;
            if (m_spectrum.portReads() >= kLoaderReadsPerFrame) {
                quiet = 0;
                const qsizetype to = std::min<qsizetype>(m_player.block() + 1, m_read.size());
                std::fill(m_read.begin() + std::min<qsizetype>(from, to), m_read.begin() + to,
                          true);
            } else {
                ++quiet;
            }
            const qint64 now = m_spectrum.now();
            if (m_progress && count % 8 == 0)
                m_progress->report(
                    std::min(0.99, double(now - start) / double(m_length + kSecond)));
            if (m_player.playing()) {
                if (now - start < kMaxLoading)
                    continue;
                if (quiet < kQuietFrames)
                    return Result::StillLoading;
            } else {
                if (ended < 0)
                    ended = now;
                if (quiet < kQuietFrames && now - ended < kMaxWaitAfterTape)
                    continue;
                m_stillReading = quiet < kQuietFrames;
            }
            return finish();
        }
    }

    bool inRom() const { return m_spectrum.registers().pc < Machine48::kRomSize; }

    TapeOutcome::Result finish()
    {
        using Result = TapeOutcome::Result;
        if (inRom() && (m_spectrum.peek(kErrNr) & 0x7f) == kTapeLoadingError)
            return Result::LoadingError;
        if (inRom() && m_stillReading)
            return Result::LoadedNothing;
        // A reset, by the program or by a loader that failed, ends in the
        // ROM's editor waiting for a key (interrupts on, IY at ERR_NR) with
        // no BASIC program. The ROM's start runs with
        // interrupts off, as a beep does: let it end first.
        for (int i = 0; i < kMaxInterruptsOff && inRom() && !m_spectrum.registers().iff1; ++i) {
            if (!frame())
                return Result::Cancelled;
        }
        if (inRom() && m_spectrum.registers().iy == kErrNr
            && m_spectrum.peekWord(kProg) == m_spectrum.peekWord(kVars))
            return Result::Reset;
        // The .sna keeps PC on the stack; wait for a moment the stack allows it.
        for (int i = 0; !m_spectrum.sna(); ++i) {
            if (i == kFramesPerSecond || !frame())
                return i == kFramesPerSecond ? Result::NoStack : Result::Cancelled;
        }
        return Result::Loaded;
    }

    TapeImage& m_tape;
    const Rom& m_rom;
    Progress* m_progress;
    Machine48 m_spectrum;
    TapePlayer m_player;
    QList<bool> m_read; // by block: played while the program read like a loader
    qint64 m_length = 0;
    bool m_stillReading = false;
};

} // namespace

TapeOutcome loadTape(TapeImage& tape, const Rom& rom, Progress* progress,
                     const LoadOptions& options)
{
    // The machine is large; keep it off the stack of whatever thread runs this.
    auto run = std::make_unique<Run>(tape, rom, progress, options);
    return run->run();
}

} // namespace tessel
