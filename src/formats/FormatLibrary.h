// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/SnapshotReader.h"

#include <QList>

#include <memory>

namespace tessel {

// The one file that speaks to libspectrum, the Spectrum's file-format
// library. Its calls are serialised, so these are safe from any thread; its
// messages come back in ours and it never aborts the program.

// A snapshot of any format libspectrum reads, turned into the 48K .sna form,
// with the refusals readSnapshot() documents. `data` may be any bytes.
std::optional<SnapshotRead> decodeSnapshot(QByteArrayView data, const QString& fileName,
                                           SnapshotFault* fault, QString* error);

// The screen on display in a snapshot of any machine, and the border. A raw
// 48K .sna is read as it is.
std::optional<SnapshotScreen> decodeScreen(QByteArrayView data, const QString& fileName,
                                           QString* error);

} // namespace tessel

namespace tessel {

// Tapes (.tzx, .tap, .pzx, .csw, .wav and the rarer formats libspectrum
// reads), played edge by edge as the Spectrum's EAR input sees them.

// Larger tape files are refused unread; a quarter of an hour of .wav at CD
// quality fits.
constexpr qint64 kMaxTapeFileSize = qint64(192) * 1024 * 1024;

// One pattern per tape extension, in lower case: match them ignoring case.
QStringList tapeNamePatterns();
// Whether a file name has one of those extensions, ignoring case.
bool hasTapeName(const QString& fileName);

// What happens at an edge, as bits.
enum TapeEdgeFlag : quint8 {
    kEdgeNone = 0,
    kEdgeNoFlip = 1, // time passes, the level stays (a pause's end)
    kEdgeLevelLow = 2, // the level is forced rather than flipped
    kEdgeLevelHigh = 4,
    kEdgeBlockEnd = 8,
    kEdgeStop = 16, // the tape stops after this edge, as a user would stop it
    kEdgeTapeEnd = 32,
};

struct TapeEdge
{
    quint32 tstates = 0; // since the edge before
    quint8 flags = kEdgeNone;
    int block = 0; // the block it belongs to, from 0
};

struct TapeBlock
{
    // Data: bytes a loader reads (a standard, turbo or pure data block, or a
    // recorded signal); Signal: tones and pulses around data; Other: pauses,
    // stops, texts and the tape's own bookkeeping.
    enum class Kind { Data, Signal, Other };
    Kind kind = Kind::Other;
    qint64 tstates = 0; // how long it plays
    qsizetype dataSize = 0; // bytes of a data block, flag and checksum included
};

struct TapeState;

// A tape read into memory. Each object plays its own tape and may be played
// on any one thread; calls into libspectrum are serialised behind it.
class TapeImage
{
public:
    // `fileName` names the tape in messages and tells its format by its
    // extension where its contents do not. A compressed tape is refused, as
    // is one with nothing to play.
    static std::unique_ptr<TapeImage> open(QByteArrayView data, const QString& fileName,
                                           QString* error);
    ~TapeImage();
    TapeImage(const TapeImage&) = delete;
    TapeImage& operator=(const TapeImage&) = delete;

    const QList<TapeBlock>& blocks() const;

    // Up to `max` of the next edges into `out`; fewer only at the tape's end
    // (the last carries kEdgeTapeEnd), after which it plays from the start.
    qsizetype nextEdges(TapeEdge* out, qsizetype max);

    // The bytes of the first data block that holds a whole screen, 6,912
    // bytes (without its flag byte and checksum); empty when none does.
    QByteArray firstScreenBlock() const;

private:
    explicit TapeImage(std::unique_ptr<TapeState> state);
    std::unique_ptr<TapeState> m_state;
};

} // namespace tessel
