// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/SnapshotChecks.h"

#include "core/Errors.h"

#include <QCoreApplication>

#include <cstring>

namespace tessel {

namespace {

constexpr int kRamStart = 0x4000;
constexpr qint64 kPage = 0x4000;

int byteAt(QByteArrayView data, qsizetype at)
{
    return static_cast<unsigned char>(data.at(at));
}

int wordAt(QByteArrayView data, qsizetype at)
{
    return byteAt(data, at) | byteAt(data, at + 1) << 8;
}

quint32 dwordAt(QByteArrayView data, qsizetype at)
{
    return static_cast<quint32>(wordAt(data, at))
           | static_cast<quint32>(wordAt(data, at + 2)) << 16;
}

void putWord(char* at, int value)
{
    at[0] = static_cast<char>(value & 0xff);
    at[1] = static_cast<char>((value >> 8) & 0xff);
}

std::nullopt_t refuse(SnapshotFault* fault, SnapshotFault kind, QString* error,
                      const QString& message)
{
    if (fault)
        *fault = kind;
    fail(error, message);
    return std::nullopt;
}

bool damaged(SnapshotFault* fault, QString* error, const QString& message)
{
    refuse(fault, SnapshotFault::Unreadable, error, message);
    return false;
}

// The bytes a run of .z80 compressed data stands for, counted without
// making them: "ED ED n b" is n bytes b. At most `limit` are counted. With
// `marker`, the four bytes 00 ED ED 00 end the data (version 1). Null when
// a repeat is cut off by the end of the data.
std::optional<qint64> expandedZ80Size(QByteArrayView data, qint64 limit, bool marker)
{
    qint64 size = 0;
    qsizetype i = 0;
    while (i < data.size() && size < limit) {
        if (marker && i + 3 < data.size() && data.sliced(i, 4) == QByteArrayView("\0\xED\xED\0", 4))
            return size;
        if (byteAt(data, i) == 0xED && i + 1 < data.size() && byteAt(data, i + 1) == 0xED) {
            if (i + 3 >= data.size())
                return std::nullopt;
            size += byteAt(data, i + 2);
            i += 4;
        } else {
            ++size;
            ++i;
        }
    }
    return size;
}

// Why a .z80's memory cannot be read, as a sentence naming `file`, or empty
// when it can.
QString z80Problem(QByteArrayView data, const QString& file)
{
    // Every slot filled at once: a path may hold "%2".
    const auto says = [&file](const char* text, const QStringList& numbers = {}) {
        QString sentence = QCoreApplication::translate("SnapshotChecks", text);
        switch (numbers.size()) {
        case 0:
            return sentence.arg(file);
        case 1:
            return sentence.arg(file, numbers[0]);
        case 3:
            return sentence.arg(file, numbers[0], numbers[1], numbers[2]);
        default:
            return sentence.arg(file, numbers[0], numbers[1], numbers[2], numbers[3]);
        }
    };
    const auto n = [](qint64 value) { return QString::number(value); };
    const char* headerCut =
        QT_TRANSLATE_NOOP("SnapshotChecks", "The file %1 is damaged: its header is cut short.");
    const char* memoryCut =
        QT_TRANSLATE_NOOP("SnapshotChecks", "The file %1 is damaged: its memory is cut short.");
    const char* blockCut = QT_TRANSLATE_NOOP(
        "SnapshotChecks", "The file %1 is damaged: its memory block %2 is cut short.");
    constexpr qsizetype kHeader = 30;
    if (data.size() < kHeader)
        return says(headerCut);
    if (wordAt(data, 6) != 0) {
        // Version 1: one run of 48 KiB, compressed or not.
        const QByteArrayView memory = data.sliced(kHeader);
        const int flags = byteAt(data, 12) == 0xff ? 1 : byteAt(data, 12);
        if (!(flags & 0x20))
            return memory.size() < kAreaSize ? says(memoryCut) : QString();
        const std::optional<qint64> size = expandedZ80Size(memory, kAreaSize, true);
        if (!size || *size < kAreaSize)
            return says(memoryCut);
        return {};
    }
    const int extra = data.size() >= kHeader + 2 ? wordAt(data, kHeader) : -1;
    if (extra != 23 && extra != 54 && extra != 55)
        return says(QT_TRANSLATE_NOOP(
            "SnapshotChecks", "The file %1 is damaged: its header is not one of a known version."));
    qsizetype at = kHeader + 2 + extra;
    if (at > data.size())
        return says(headerCut);
    for (int block = 1; at < data.size(); ++block) {
        if (at + 3 > data.size())
            return says(blockCut, {n(block)});
        const int length = wordAt(data, at);
        const int page = byteAt(data, at + 2);
        at += 3;
        // An .slt's level data follows an empty block and its signature.
        if (length == 0 && page == 0 && data.sliced(at).startsWith("SLT"))
            return {};
        if (length == 0)
            return says(QT_TRANSLATE_NOOP("SnapshotChecks",
                                          "The file %1 is damaged: its memory block %2 is empty."),
                        {n(block)});
        const qsizetype stored = length == 0xffff ? kPage : length;
        if (at + stored > data.size())
            return says(blockCut, {n(block)});
        if (length != 0xffff) {
            const std::optional<qint64> size =
                expandedZ80Size(data.sliced(at, stored), kPage + 1, false);
            if (!size)
                return says(blockCut, {n(block)});
            if (*size > kPage)
                return says(QT_TRANSLATE_NOOP("SnapshotChecks",
                                              "The file %1 is damaged: its memory block %2 "
                                              "(page %3) holds more than %4 bytes."),
                            {n(block), n(page), n(kPage)});
            if (*size < kPage)
                return says(QT_TRANSLATE_NOOP("SnapshotChecks",
                                              "The file %1 is damaged: its memory block %2 "
                                              "(page %3) holds %4 bytes, not %5."),
                            {n(block), n(page), n(*size), n(kPage)});
        }
        at += stored;
    }
    return {};
}

// The largest honest size of a .szx block that libspectrum inflates: its
// own header, then at most `content` bytes, which zlib never grows by more
// than a few bytes in a thousand.
struct SzxLimit
{
    char id[5];
    qint64 content;
};

constexpr SzxLimit kSzxLimits[] = {
    {"RAMP", kPage},     {"ATRP", kPage},     {"CFRP", kPage},      {"DIRP", kPage},
    {"DOCK", kPage},     {"MFCE", kPage},     {"IF1\0", kPage},     {"IF2R", 2 * kPage},
    {"B128", kPage},     {"PLSD", 2 * kPage}, {"OPUS", 2 * kPage},  {"USRC", kPage},
    {"DIDE", kPage},     {"DMMC", kPage},     {"ROM\0", 4 * kPage}, {"SNEF", 8 * kPage},
    {"SNER", 8 * kPage},
};

qint64 szxLimit(QByteArrayView id)
{
    for (const SzxLimit& limit : kSzxLimits) {
        if (id == QByteArrayView(limit.id, 4))
            return 128 + limit.content + limit.content / 256;
    }
    return -1;
}

} // namespace

std::optional<SnapshotRead> readSpSnapshot(QByteArrayView data, const QString& fileName,
                                           SnapshotFault* fault, QString* error)
{
    constexpr qsizetype kHeader = 38;
    const QString file = quotedPath(fileName);
    if (data.size() < kHeader || !data.startsWith("SP"))
        return refuse(fault, SnapshotFault::Unreadable, error,
                      QCoreApplication::translate(
                          "SnapshotChecks",
                          "The file %1 is not a .sp snapshot: it does not start with the "
                          "38-byte header of one.")
                          .arg(file));
    const int length = wordAt(data, 2);
    const int start = wordAt(data, 4);
    if (length == 0 || start < kRamStart || start + length > 0x10000)
        return refuse(fault, SnapshotFault::Unreadable, error,
                      QCoreApplication::translate(
                          "SnapshotChecks",
                          "The file %1 is damaged: its header puts %2 bytes of memory at "
                          "address %3, outside the RAM from 16384 to 65535.")
                          .arg(file, QString::number(length), QString::number(start)));
    if (data.size() != kHeader + length)
        return refuse(
            fault, SnapshotFault::Unreadable, error,
            QCoreApplication::translate(
                "SnapshotChecks",
                "The file %1 is damaged: its header promises %2 bytes of memory, but "
                "the file holds %3.")
                .arg(file, QString::number(length), QString::number(data.size() - kHeader)));
    // PC goes to SP - 2 and SP - 1; SP = 0 wraps to 0xfffe, which is RAM.
    const int sp = wordAt(data, 28);
    if (sp != 0 && sp < kRamStart + 2)
        return refuse(fault, SnapshotFault::Stack, error,
                      QCoreApplication::translate(
                          "SnapshotChecks",
                          "The file %1 cannot be made a 48K snapshot: its stack pointer is "
                          "0x%2, which leaves no room in RAM below it for the program counter, "
                          "and the 48K snapshot form keeps that on the stack.")
                          .arg(file, QString::number(sp, 16).rightJustified(4, QLatin1Char('0'))));

    // No RAM but what the file holds: a 16K program's upper memory reads as on
    // a 16K machine.
    QByteArray sna(kSnaFileSize, '\xff');
    char* h = sna.data();
    h[0] = data.at(27); // I
    putWord(h + 1, wordAt(data, 22)); // HL'
    putWord(h + 3, wordAt(data, 20)); // DE'
    putWord(h + 5, wordAt(data, 18)); // BC'
    putWord(h + 7, wordAt(data, 24)); // F', A'
    putWord(h + 9, wordAt(data, 10)); // HL
    putWord(h + 11, wordAt(data, 8)); // DE
    putWord(h + 13, wordAt(data, 6)); // BC
    putWord(h + 15, wordAt(data, 16)); // IY
    putWord(h + 17, wordAt(data, 14)); // IX
    const int status = wordAt(data, 36);
    h[19] = static_cast<char>(status & 0x01 ? 0x04 : 0x00); // interrupts as IFF1 has them
    h[20] = data.at(26); // R
    putWord(h + 21, wordAt(data, 12)); // F, A
    const int stack = (sp - 2) & 0xffff;
    putWord(h + 23, stack);
    h[25] = static_cast<char>(status & 0x08 ? 0 : status & 0x02 ? 2 : 1);
    h[26] = static_cast<char>(byteAt(data, 34) & 0x07);
    char* ram = h + kSnaHeaderSize;
    std::memcpy(ram + (start - kRamStart), data.data() + kHeader, static_cast<size_t>(length));
    putWord(ram + (stack - kRamStart), wordAt(data, 30));
    return SnapshotRead{sna, {}};
}

bool checkZ80Snapshot(QByteArrayView data, const QString& fileName, SnapshotFault* fault,
                      QString* error)
{
    const QString problem = z80Problem(data, quotedPath(fileName));
    if (problem.isEmpty())
        return true;
    if (data.size() == kSnaFileSize) {
        refuse(fault, SnapshotFault::Unreadable, error,
               QCoreApplication::translate(
                   "SnapshotChecks",
                   "The file %1 is not a .z80 snapshot, but it has the size of a 48K .sna, "
                   "49,179 bytes: it looks like a .sna with another name. Rename it to end in "
                   ".sna.")
                   .arg(quotedPath(fileName)));
        return false;
    }
    return damaged(fault, error, problem);
}

bool checkSzxSnapshot(QByteArrayView data, const QString& fileName, SnapshotFault* fault,
                      QString* error)
{
    constexpr qsizetype kHeader = 8;
    const QString file = quotedPath(fileName);
    if (data.size() < kHeader)
        return damaged(fault, error,
                       QCoreApplication::translate(
                           "SnapshotChecks", "The file %1 is damaged: its header is cut short.")
                           .arg(file));
    for (qsizetype at = kHeader; at < data.size();) {
        if (at + 8 > data.size())
            return damaged(
                fault, error,
                QCoreApplication::translate("SnapshotChecks",
                                            "The file %1 is damaged: its last block is cut short.")
                    .arg(file));
        const QByteArrayView id = data.sliced(at, 4);
        const quint32 size = dwordAt(data, at + 4);
        const QString name = QString::fromLatin1(id.toByteArray().replace('\0', ' ')).trimmed();
        if (size > static_cast<quint64>(data.size() - at - 8))
            return damaged(
                fault, error,
                QCoreApplication::translate(
                    "SnapshotChecks",
                    "The file %1 is damaged: its block %2 runs past the end of the file.")
                    .arg(file, name));
        const qint64 limit = szxLimit(id);
        if (limit >= 0 && size > limit)
            return damaged(fault, error,
                           QCoreApplication::translate(
                               "SnapshotChecks",
                               "The file %1 is damaged: its block %2 is %3 bytes long, more than "
                               "such a block ever holds (%4 bytes).")
                               .arg(file, name, QString::number(size), QString::number(limit)));
        at += 8 + size;
    }
    return true;
}

} // namespace tessel
