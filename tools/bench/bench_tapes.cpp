// SPDX-License-Identifier: GPL-3.0-or-later
// Tapes turned into snapshots: emulated seconds per wall second and per CPU
// second, with and without skipping through the ROM's edge loop, paired in
// the same run with a bare loop of the Z80 core executing as many
// instructions as the loading ran.
//
//   tessel-bench-tapes [--runs N] [--rom FILE]
//
// Two tapes are made in the run: a BASIC loader and about 157 seconds of
// CODE at the ROM's speed, and a BASIC loader, the tests' turbo loader and
// about two minutes of turbo data. FILE (default OpenSE BASIC) loads them.
#include "BenchSupport.h"

#include "formats/FormatLibrary.h"
#include "machine/Rom.h"
#include "machine/TapeLoader.h"
#include "machine/Z80.h"
#include "support/TapeWriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cstdio>

using namespace tessel;
using namespace tessel::bench;

namespace {

constexpr double kTstatesPerSecond = 69888.0 * 50;

struct Timing
{
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

template <typename F> Timing timed(F&& body)
{
    QElapsedTimer wall;
    wall.start();
    const qint64 cpu = threadCpuNs();
    body();
    return {wall.nsecsElapsed() / 1e9, (threadCpuNs() - cpu) / 1e9};
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly)
               ? QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2)
               : QStringLiteral("unknown");
}

QByteArray filler(qsizetype size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(157);
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

double tapeSeconds(const QByteArray& tape, const QString& name)
{
    QString error;
    const std::unique_ptr<TapeImage> image = TapeImage::open(tape, name, &error);
    qint64 tstates = 0;
    for (const TapeBlock& block : image->blocks())
        tstates += block.tstates;
    return tstates / 3500000.0; // libspectrum's tape clock
}

// The ROM's sampling loop as a program of its own, with the tape port
// answering 0xff: the core and the memory callbacks, nothing else.
class BareLoop final : private Z80Ports
{
public:
    BareLoop()
        : m_z80(m_memory.data(), 0, *this)
    {
        // loop: INC B; LD A,0x7f; IN A,(0xfe); RRA; XOR C; AND 0x20; JR NZ,loop; JR loop
        const quint8 program[] = {0x04, 0x3e, 0x7f, 0xdb, 0xfe, 0x1f, 0xa9,
                                  0xe6, 0x20, 0x20, 0xf5, 0x18, 0xf3};
        std::copy(std::begin(program), std::end(program), m_memory.begin());
        m_z80.reset();
    }

    qint64 run(qint64 instructions)
    {
        qint64 tstates = 0;
        for (qint64 i = 0; i < instructions; ++i)
            tstates += m_z80.step();
        return tstates;
    }

private:
    quint8 in(quint16, int) override { return 0xff; }
    void out(quint16, quint8, int) override { }

    std::array<quint8, 0x10000> m_memory{};
    Z80 m_z80;
};

void report(const char* what, double emulated, qint64 instructions, const Timing& timing)
{
    std::printf("  %-32s %6.2f s wall %6.2f s CPU  %5.0fx real time (wall) %5.0fx (CPU)  "
                "%5.1f M instructions/s (CPU)\n",
                what, timing.wallSeconds, timing.cpuSeconds, emulated / timing.wallSeconds,
                emulated / timing.cpuSeconds, instructions / timing.cpuSeconds / 1e6);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs of each."),
                                        QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption romOption(QStringLiteral("rom"),
                                       QStringLiteral("The ROM to load with."),
                                       QStringLiteral("FILE"), kOpenSeRomPath);
    parser.addOptions({runsOption, romOption});
    parser.addHelpOption();
    parser.process(app);
    const int runs = std::max(1, parser.value(runsOption).toInt());

    QString error;
    const std::optional<Rom> rom = findRom(nullptr, &error, parser.value(romOption));
    if (!rom) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("machine: load average %s; ROM %s\n", qPrintable(loadAverage()),
                qPrintable(rom->path));

    const QByteArray game = test::gameCode();
    struct Tape
    {
        const char* name;
        QByteArray bytes;
        QString file;
    };
    const Tape tapes[] = {
        {"ROM loader",
         test::TapeWriter()
             .loader(test::kGameStart)
             .code(test::kGameStart, game + filler(23800))
             .tap(),
         QStringLiteral("rom.tap")},
        {"turbo loader",
         test::TapeWriter()
             .loader(test::kTurboStart)
             .code(test::kTurboStart, test::turboLoader())
             .turbo(test::kGameStart, game + filler(24000))
             .tzx(),
         QStringLiteral("turbo.tzx")},
    };

    for (const Tape& tape : tapes) {
        std::printf("\n== %s tape: %.1f s of tape, medians of %d runs\n", tape.name,
                    tapeSeconds(tape.bytes, tape.file), runs);
        qint64 instructions = 0;
        double emulated = 0;
        for (const bool accelerated : {true, false}) {
            QList<double> wall, cpu;
            for (int i = 0; i < runs; ++i) {
                TapeOutcome outcome;
                const Timing timing = timed([&] {
                    const std::unique_ptr<TapeImage> image =
                        TapeImage::open(tape.bytes, tape.file, &error);
                    outcome = loadTape(*image, *rom, nullptr, {accelerated});
                });
                if (outcome.result != TapeOutcome::Result::Loaded) {
                    std::fprintf(stderr, "the %s tape did not load\n", tape.name);
                    return 1;
                }
                wall << timing.wallSeconds;
                cpu << timing.cpuSeconds;
                instructions = outcome.instructions;
                emulated = outcome.tstates / kTstatesPerSecond;
            }
            report(accelerated ? "loading, edge loop skipped" : "loading, every instruction run",
                   emulated, instructions, {median(wall), median(cpu)});
        }
        QList<double> wall, cpu;
        double bareEmulated = 0;
        for (int i = 0; i < runs; ++i) {
            BareLoop loop;
            qint64 tstates = 0;
            const Timing timing = timed([&] { tstates = loop.run(instructions); });
            wall << timing.wallSeconds;
            cpu << timing.cpuSeconds;
            bareEmulated = tstates / kTstatesPerSecond;
        }
        std::printf("  (%lld instructions, %.1f s of the Spectrum's time from power-on; the "
                    "skipping run counts the passes it skipped)\n",
                    static_cast<long long>(instructions), emulated);
        report("bare Z80 loop, as many", bareEmulated, instructions, {median(wall), median(cpu)});
    }
    // Wall time follows the machine's load; the CPU time of this thread much less.
    std::printf("\nmachine: load average %s at the end\n", qPrintable(loadAverage()));
    return 0;
}
