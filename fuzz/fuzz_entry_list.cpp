// SPDX-License-Identifier: GPL-3.0-or-later
// tessel-flash's --list reader on any bytes: an error or entries, never a
// crash, and the entries it reads are the ones it would read again from a
// list written out of them.
#include "formats/EntryList.h"
#include "formats/PokFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tessel;

namespace {

[[noreturn]] void fail(const char* what, QByteArrayView input)
{
    std::fprintf(stderr, "fuzz_entry_list: %s\n%s\n", what,
                 input.toByteArray().toHex(' ').constData());
    std::abort();
}

#define CHECK(cond, input)                                                                         \
    do {                                                                                           \
        if (!(cond))                                                                               \
            fail(#cond, input);                                                                    \
    } while (false)

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(data, static_cast<qsizetype>(size));
    QString error;
    const std::optional<SnapshotEntries> entries = parseEntryList(input, &error);
    if (!entries) {
        CHECK(error.startsWith(QStringLiteral("line ")), input);
        return 0;
    }
    // LF or CR LF ends a line; CR alone, in a file without LF.
    CHECK(entries->size() <= input.count('\n') + input.count('\r') + 1, input);

    // CR LF so that a path's own last CR survives; the mark so that a name's
    // leading U+FEFF is not taken for one.
    QByteArray again("\xEF\xBB\xBF");
    for (const SnapshotEntry& entry : *entries) {
        CHECK(!entry.path.isEmpty(), input);
        CHECK(!entry.name.contains(u'\t') && !entry.name.contains(u'\n'), input);
        CHECK(!entry.path.contains(u'\n') && !entry.path.contains(QChar(u'\0')), input);
        again += entry.name.toUtf8() + '\t' + entry.path.toUtf8() + "\r\n";
        for (const Trainer& trainer : entry.trainers) {
            CHECK(!trainer.name.contains(u'\t') && !trainer.pokes.isEmpty(), input);
            again += "POKE " + trainer.name.toUtf8() + '=' + formatPokeList(trainer.pokes).toUtf8()
                     + "\r\n";
        }
    }
    const std::optional<SnapshotEntries> reread = parseEntryList(again, nullptr);
    CHECK(reread && *reread == *entries, input);
    return 0;
}
