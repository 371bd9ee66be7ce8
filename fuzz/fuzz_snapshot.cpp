// SPDX-License-Identifier: GPL-3.0-or-later
// The snapshot reader on any bytes, in every format it hands to libspectrum
// or reads itself: the first byte picks the file name's extension, the rest
// is the file. A snapshot or a reason, never a crash, a write out of bounds
// or a hang; what it reads is always a whole 48K .sna.
#include "core/Cartridge.h"
#include "formats/SnapshotReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tessel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const extensions[] = {"sna", "z80", "slt",    "szx", "sp",
                                             "snp", "zxs", "mgtsnp", "bin"};
    constexpr size_t count = sizeof extensions / sizeof *extensions;
    const QString name = QStringLiteral("fuzz.") + QLatin1String(extensions[data[0] % count]);
    const QByteArrayView input(data + 1, static_cast<qsizetype>(size - 1));
    QString error;
    const std::optional<SnapshotRead> read = readSnapshotData(input, name, &error);
    if (read ? read->sna.size() != kSnaFileSize : error.isEmpty()) {
        std::fprintf(stderr, "fuzz_snapshot: %s gave %s\n", qPrintable(name),
                     read ? "a snapshot of the wrong size" : "no snapshot and no reason");
        std::abort();
    }
    return 0;
}
