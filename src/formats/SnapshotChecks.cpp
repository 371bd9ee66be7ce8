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

bool damaged(SnapshotFault* fault, QString* error, const QString& fileName, const QString& why)
{
    refuse(fault, SnapshotFault::Unreadable, error,
           QCoreApplication::translate("SnapshotChecks", "The file %1 is damaged: %2.")
               .arg(quotedPath(fileName), why));
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

// Why a .z80's memory cannot be read, or empty when it can.
QString z80Problem(QByteArrayView data)
{
    constexpr qsizetype kHeader = 30;
    if (data.size() < kHeader)
        return QCoreApplication::translate("SnapshotChecks", "its header is cut short");
    if (wordAt(data, 6) != 0) {
        // Version 1: one run of 48 KiB, compressed or not.
        const QByteArrayView memory = data.sliced(kHeader);
        const int flags = byteAt(data, 12) == 0xff ? 1 : byteAt(data, 12);
        if (!(flags & 0x20))
            return memory.size() < kAreaSize
                       ? QCoreApplication::translate("SnapshotChecks", "its memory is cut short")
                       : QString();
        const std::optional<qint64> size = expandedZ80Size(memory, kAreaSize, true);
        if (!size || *size < kAreaSize)
            return QCoreApplication::translate("SnapshotChecks", "its memory is cut short");
        return {};
    }
    const int extra = data.size() >= kHeader + 2 ? wordAt(data, kHeader) : -1;
    if (extra != 23 && extra != 54 && extra != 55)
        return QCoreApplication::translate("SnapshotChecks",
                                           "its header is not one of a known version");
    qsizetype at = kHeader + 2 + extra;
    if (at > data.size())
        return QCoreApplication::translate("SnapshotChecks", "its header is cut short");
    for (int block = 1; at < data.size(); ++block) {
        if (at + 3 > data.size())
            return QCoreApplication::translate("SnapshotChecks", "memory block %1 is cut short")
                .arg(block);
        const int length = wordAt(data, at);
        const int page = byteAt(data, at + 2);
        at += 3;
        // An .slt's level data follows an empty block and its signature.
        if (length == 0 && page == 0 && data.sliced(at).startsWith("SLT"))
            return {};
        if (length == 0)
            return QCoreApplication::translate("SnapshotChecks", "memory block %1 is empty")
                .arg(block);
        const qsizetype stored = length == 0xffff ? kPage : length;
        if (at + stored > data.size())
            return QCoreApplication::translate("SnapshotChecks", "memory block %1 is cut short")
                .arg(block);
        if (length != 0xffff) {
            const std::optional<qint64> size =
                expandedZ80Size(data.sliced(at, stored), kPage + 1, false);
            if (!size)
                return QCoreApplication::translate("SnapshotChecks", "memory block %1 is cut short")
                    .arg(block);
            if (*size > kPage)
                return QCoreApplication::translate(
                           "SnapshotChecks", "memory block %1 (page %2) holds more than %3 bytes")
                    .arg(block)
                    .arg(page)
                    .arg(kPage);
            if (*size < kPage)
                return QCoreApplication::translate(
                           "SnapshotChecks", "memory block %1 (page %2) holds %3 bytes, not %4")
                    .arg(block)
                    .arg(page)
                    .arg(*size)
                    .arg(kPage);
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
                          .arg(file)
                          .arg(length)
                          .arg(start));
    if (data.size() != kHeader + length)
        return refuse(fault, SnapshotFault::Unreadable, error,
                      QCoreApplication::translate(
                          "SnapshotChecks",
                          "The file %1 is damaged: its header promises %2 bytes of memory, but "
                          "the file holds %3.")
                          .arg(file)
                          .arg(length)
                          .arg(data.size() - kHeader));
    // PC goes to SP - 2 and SP - 1; SP = 0 wraps to 0xfffe, which is RAM.
    const int sp = wordAt(data, 28);
    if (sp != 0 && sp < kRamStart + 2)
        return refuse(fault, SnapshotFault::Stack, error,
                      QCoreApplication::translate(
                          "SnapshotChecks",
                          "The file %1 cannot be made a 48K snapshot: its stack pointer is "
                          "0x%2, which leaves no room in RAM below it for the program counter, "
                          "and the 48K snapshot form keeps that on the stack.")
                          .arg(file)
                          .arg(sp, 4, 16, QLatin1Char('0')));

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
    const QString problem = z80Problem(data);
    if (problem.isEmpty())
        return true;
    if (data.size() == kSnaFileSize) {
        refuse(fault, SnapshotFault::Unreadable, error,
               QCoreApplication::translate(
                   "SnapshotChecks",
                   "The file %1 is not a .z80 snapshot (%2), but it has the size of a 48K .sna, "
                   "49,179 bytes: it looks like a .sna with another name. Rename it to end in "
                   ".sna.")
                   .arg(quotedPath(fileName), problem));
        return false;
    }
    return damaged(fault, error, fileName, problem);
}

bool checkSzxSnapshot(QByteArrayView data, const QString& fileName, SnapshotFault* fault,
                      QString* error)
{
    constexpr qsizetype kHeader = 8;
    if (data.size() < kHeader)
        return damaged(fault, error, fileName,
                       QCoreApplication::translate("SnapshotChecks", "its header is cut short"));
    for (qsizetype at = kHeader; at < data.size();) {
        if (at + 8 > data.size())
            return damaged(
                fault, error, fileName,
                QCoreApplication::translate("SnapshotChecks", "its last block is cut short"));
        const QByteArrayView id = data.sliced(at, 4);
        const quint32 size = dwordAt(data, at + 4);
        const QString name = QString::fromLatin1(id.toByteArray().replace('\0', ' ')).trimmed();
        if (size > static_cast<quint64>(data.size() - at - 8))
            return damaged(fault, error, fileName,
                           QCoreApplication::translate("SnapshotChecks",
                                                       "its block %1 runs past the end of the file")
                               .arg(name));
        const qint64 limit = szxLimit(id);
        if (limit >= 0 && size > limit)
            return damaged(fault, error, fileName,
                           QCoreApplication::translate(
                               "SnapshotChecks",
                               "its block %1 is %2 bytes long, more than such a block ever "
                               "holds (%3 bytes)")
                               .arg(name)
                               .arg(size)
                               .arg(limit));
        at += 8 + size;
    }
    return true;
}

} // namespace tessel
