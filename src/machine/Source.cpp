// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/Source.h"

#include "core/DurableFile.h"

#include "core/Errors.h"
#include "core/Files.h"
#include "core/Progress.h"
#include "formats/FormatLibrary.h"
#include "formats/PokFile.h"
#include "machine/Rom.h"
#include "machine/TapeCache.h"
#include "machine/TapeLoader.h"

#include <QCache>
#include <QCoreApplication>
#include <QFile>
#include <QMutex>

namespace tessel {

namespace {

using Result = TapeOutcome::Result;

bool refuse(SnapshotFault* fault, SnapshotFault kind, QString* error, const QString& text)
{
    if (fault)
        *fault = kind;
    return fail(error, text);
}

std::optional<QByteArray> readTapeFile(const QString& path, SnapshotFault* fault, QString* error)
{
    QFile in(path);
    QString reason;
    if (!openRegularFile(
            in, &reason,
            QCoreApplication::translate("Source", "The file %1 cannot be read (%2)."))) {
        refuse(fault, SnapshotFault::File, error, reason);
        return std::nullopt;
    }
    if (in.size() > kMaxTapeFileSize) {
        refuse(fault, SnapshotFault::File, error,
               QCoreApplication::translate("Source", "The file %1 is %2 bytes long, too large for "
                                                     "a tape (at most %3 bytes).")
                   .arg(quotedPath(path), QString::number(in.size()),
                        QString::number(kMaxTapeFileSize)));
        return std::nullopt;
    }
    QByteArray data = in.read(kMaxTapeFileSize + 1);
    if (in.error() != QFileDevice::NoError || data.size() > kMaxTapeFileSize) {
        refuse(fault, SnapshotFault::File, error,
               QCoreApplication::translate("Source", "The file %1 cannot be read (%2).")
                   .arg(quotedPath(path), in.errorString()));
        return std::nullopt;
    }
    return data;
}

// "5", "5-9", "3, 5-9": block numbers as ranges.
QString ranges(const QList<int>& blocks)
{
    QStringList parts;
    for (qsizetype i = 0; i < blocks.size();) {
        qsizetype j = i;
        while (j + 1 < blocks.size() && blocks.at(j + 1) == blocks.at(j) + 1)
            ++j;
        parts << (i == j ? QString::number(blocks.at(i))
                         : QStringLiteral("%1\u2013%2").arg(blocks.at(i)).arg(blocks.at(j)));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

QString refusal(Result result, const QString& tape, const Rom& rom)
{
    switch (result) {
    case Result::LoadingError:
        return QCoreApplication::translate("Source", "The tape %1 did not load: the Spectrum "
                                                     "reported \"R Tape loading error\", so a "
                                                     "block of it is damaged.")
            .arg(tape);
    case Result::LoadedNothing:
        return QCoreApplication::translate("Source", "The tape %1 loaded nothing: it ended while "
                                                     "the Spectrum was still waiting to load from "
                                                     "it.")
            .arg(tape);
    case Result::Reset:
        return QCoreApplication::translate("Source", "The tape %1 loaded nothing: the Spectrum "
                                                     "was reset, by its program or by a loader "
                                                     "that failed, and no program was left in "
                                                     "memory.")
            .arg(tape);
    case Result::StillLoading:
        return QCoreApplication::translate("Source", "The tape %1 was still loading after 15 "
                                                     "minutes of the Spectrum's time, and was "
                                                     "given up.")
            .arg(tape);
    case Result::Paged:
        return QCoreApplication::translate("Source", "The tape %1 holds a 128K program: it pages "
                                                     "the 128K's memory (a write to port 0x7FFD), "
                                                     "and the cartridge runs 48K programs.")
            .arg(tape);
    case Result::RomDidNotStart:
        return QCoreApplication::translate("Source", "The tape %1 was not loaded: the ROM %2 did "
                                                     "not start (its frame counter never ticked).")
            .arg(tape, quotedPath(rom.path));
    case Result::NoStack:
        return QCoreApplication::translate("Source", "The tape %1 loaded, but its program's stack "
                                                     "pointer never left room in RAM for the "
                                                     "program counter, which the 48K snapshot "
                                                     "form keeps on the stack.")
            .arg(tape);
    case Result::Loaded:
    case Result::Cancelled:
        break;
    }
    return {};
}

QList<HardwareWarning> warnings(const TapeOutcome& outcome, const QString& path, const Rom& rom)
{
    QList<HardwareWarning> warnings = romWarnings(rom, path);
    const QString tape = quotedPath(path);
    if (outcome.unreadBlocks.size() == 1)
        warnings.append(
            {HardwareWarning::Needed,
             QCoreApplication::translate("Source", "Block %1 of the tape %2 was never read: "
                                                   "probably a multi-load game; only the "
                                                   "first part goes on the cartridge.")
                 .arg(outcome.unreadBlocks.constFirst())
                 .arg(tape),
             QCoreApplication::translate("Source", "Only the first part of a "
                                                   "multi-load game.")});
    else if (!outcome.unreadBlocks.isEmpty())
        warnings.append(
            {HardwareWarning::Needed,
             QCoreApplication::translate("Source", "Blocks %1 of the tape %2 were never "
                                                   "read: probably a multi-load game; only "
                                                   "the first part goes on the cartridge.")
                 .arg(ranges(outcome.unreadBlocks), tape),
             QCoreApplication::translate("Source", "Only the first part of a "
                                                   "multi-load game.")});
    if (outcome.stillReading)
        warnings.append(
            {HardwareWarning::Needed,
             QCoreApplication::translate("Source", "The program of the tape %1 still read "
                                                   "the tape like a loader after it ended: "
                                                   "if it waits for more of the tape, the "
                                                   "snapshot will not run.")
                 .arg(tape),
             QCoreApplication::translate("Source", "Still read the tape after it "
                                                   "ended.")});
    return warnings;
}

// What each tape came to in this process, whether or not the cache on disk
// could keep it: without it a cache that cannot be written would have every
// reader (adding, the build's checks, the image) load the tape again.
class Remembered
{
public:
    std::optional<TapeOutcome> find(const QByteArray& key)
    {
        const QMutexLocker lock(&m_mutex);
        const TapeOutcome* outcome = m_outcomes.object(key);
        return outcome ? std::optional(*outcome) : std::nullopt;
    }

    void keep(const QByteArray& key, const TapeOutcome& outcome)
    {
        const QMutexLocker lock(&m_mutex);
        m_outcomes.insert(key, new TapeOutcome(outcome));
    }

private:
    QMutex m_mutex;
    QCache<QByteArray, TapeOutcome> m_outcomes{256}; // about 12 MiB of snapshots at most
};

Remembered& remembered()
{
    static Remembered outcomes;
    return outcomes;
}

struct Loaded
{
    TapeOutcome outcome;
    Rom rom;
    QByteArray key;
};

// The outcome of a tape from the cache, else from loading it (and then kept).
std::optional<Loaded> loadSource(const QString& path, const Kit* kit, SnapshotFault* fault,
                                 QString* error, Progress* progress)
{
    const std::optional<QByteArray> data = readTapeFile(path, fault, error);
    if (!data)
        return std::nullopt;
    std::optional<Rom> rom = findRom(kit, error);
    if (!rom) {
        if (fault)
            *fault = SnapshotFault::File;
        return std::nullopt;
    }
    const QByteArray key = TapeCache::key(*data, *rom);
    Loaded loaded{{}, std::move(*rom), key};
    std::optional<TapeOutcome> known = remembered().find(loaded.key);
    const TapeCache cache;
    if (!known && (known = cache.find(loaded.key)))
        remembered().keep(loaded.key, *known);
    if (known) {
        loaded.outcome = std::move(*known);
        return loaded;
    }
    const std::unique_ptr<TapeImage> tape = TapeImage::open(*data, path, error);
    if (!tape) {
        if (fault)
            *fault = SnapshotFault::Unreadable;
        return std::nullopt;
    }
    loaded.outcome = loadTape(*tape, loaded.rom, progress);
    if (loaded.outcome.result == Result::Cancelled) {
        fail(error, {});
        return std::nullopt;
    }
    remembered().keep(loaded.key, loaded.outcome);
    QString why;
    if (!cache.store(loaded.key, loaded.outcome, &why))
        qWarning("%s", qUtf8Printable(why)); // the next run of the program loads it again
    return loaded;
}

} // namespace

std::optional<SnapshotRead> readSource(const QString& path, const Kit* kit, SnapshotFault* fault,
                                       QString* error, Progress* progress)
{
    if (!hasTapeName(path))
        return readSnapshot(path, fault, error);
    if (fault)
        *fault = SnapshotFault::None;
    const std::optional<Loaded> loaded = loadSource(path, kit, fault, error, progress);
    if (!loaded)
        return std::nullopt;
    const TapeOutcome& outcome = loaded->outcome;
    if (outcome.result != Result::Loaded) {
        refuse(fault,
               outcome.result == Result::Paged ? SnapshotFault::Machine : SnapshotFault::Unreadable,
               error, refusal(outcome.result, quotedPath(path), loaded->rom));
        return std::nullopt;
    }
    return SnapshotRead{outcome.sna, warnings(outcome, path, loaded->rom)};
}

std::optional<SnapshotRead> readSource(const QString& path, const Kit* kit, QString* error)
{
    return readSource(path, kit, nullptr, error);
}

std::optional<SnapshotRead> readEntrySource(const SnapshotEntry& entry, const Kit* kit,
                                            QString* error)
{
    std::optional<SnapshotRead> read = readSource(entry.path, kit, error);
    if (read && !applyTrainers(read->sna, entry.trainers, error))
        return std::nullopt;
    return read;
}

bool convertSourceToSna(const QString& in, const QString& out, const Kit* kit,
                        QStringList* warnings, QString* error)
{
    if (!hasTapeName(in))
        return convertToSna(in, out, warnings, error);
    // The ROM is read as much as the tape.
    OutputRules rules{{in}};
    if (const std::optional<Rom> rom = findRom(kit, nullptr))
        rules.inputs << rom->path;
    if (!checkOutputFile(out, rules, error))
        return false;
    const std::optional<SnapshotRead> read = readSource(in, kit, error);
    if (!read)
        return false;
    if (warnings)
        *warnings = warningTexts(read->warnings);
    return writeDurably(out, read->sna, rules, error);
}

bool needsLoading(const QString& path, const Kit* kit)
{
    if (!hasTapeName(path))
        return false;
    const std::optional<QByteArray> data = readTapeFile(path, nullptr, nullptr);
    const std::optional<Rom> rom = data ? findRom(kit, nullptr) : std::nullopt;
    if (!rom)
        return false;
    const QByteArray key = TapeCache::key(*data, *rom);
    return !remembered().find(key) && !TapeCache().find(key);
}

std::optional<QString> emulatorFile(const QString& path, const Kit* kit, QString* error,
                                    Progress* progress)
{
    if (!hasTapeName(path))
        return path;
    const std::optional<Loaded> loaded = loadSource(path, kit, nullptr, error, progress);
    if (!loaded)
        return std::nullopt;
    if (loaded->outcome.result != Result::Loaded) {
        fail(error, refusal(loaded->outcome.result, quotedPath(path), loaded->rom));
        return std::nullopt;
    }
    const TapeCache cache;
    const QString sna = cache.snaPath(loaded->key);
    QString why;
    if (!QFile::exists(sna) && !cache.store(loaded->key, loaded->outcome, &why)) {
        fail(error, why);
        return std::nullopt;
    }
    return sna;
}

QByteArray tapeScreen(const QString& path)
{
    // A recorded signal carries no blocks of bytes; decoding a long one for
    // nothing would hold the library up.
    if (path.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".csw"), Qt::CaseInsensitive))
        return {};
    const std::optional<QByteArray> data = readTapeFile(path, nullptr, nullptr);
    if (!data)
        return {};
    const std::unique_ptr<TapeImage> tape = TapeImage::open(*data, path, nullptr);
    return tape ? tape->firstScreenBlock() : QByteArray();
}

} // namespace tessel
