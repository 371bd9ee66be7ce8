// SPDX-License-Identifier: GPL-3.0-or-later
// The tape reader on any bytes: the first byte picks the format (.tap,
// .tzx, .pzx, .csw), the rest is the file. A tape or a reason, never a
// crash, a write out of bounds or a hang; an open tape gives its screen
// block and plays to its end (at most a million edges, as a long tape
// would take far longer than any loader waits).
#include "formats/FormatLibrary.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tessel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const extensions[] = {"tap", "tzx", "pzx", "csw"};
    constexpr size_t count = sizeof extensions / sizeof *extensions;
    const QString name = QStringLiteral("fuzz.") + QLatin1String(extensions[data[0] % count]);
    const QByteArrayView input(data + 1, static_cast<qsizetype>(size - 1));
    QString error;
    const std::unique_ptr<TapeImage> tape = TapeImage::open(input, name, &error);
    if (!tape) {
        if (error.isEmpty()) {
            std::fprintf(stderr, "fuzz_tape: %s gave no tape and no reason\n", qPrintable(name));
            std::abort();
        }
        return 0;
    }
    const QByteArray screen = tape->firstScreenBlock();
    if (!screen.isEmpty() && screen.size() != 6912) {
        std::fprintf(stderr, "fuzz_tape: a screen block of %lld bytes\n",
                     static_cast<long long>(screen.size()));
        std::abort();
    }
    constexpr qsizetype kMaxEdges = 1000000;
    TapeEdge edges[4096];
    for (qsizetype played = 0; played < kMaxEdges;) {
        const qsizetype n = tape->nextEdges(edges, 4096);
        played += n;
        if (n < 4096 || (edges[n - 1].flags & kEdgeTapeEnd))
            break;
    }
    return 0;
}
