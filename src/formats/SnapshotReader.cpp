// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/SnapshotReader.h"

#include "core/DurableFile.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "formats/FormatLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tessel {

namespace {

bool fail(SnapshotFault* fault, SnapshotFault kind, QString* error, const QString& text)
{
    if (fault)
        *fault = kind;
    if (error)
        *error = text;
    return false;
}

bool tooLarge(SnapshotFault* fault, QString* error, const QString& fileName, qint64 size)
{
    return fail(fault, SnapshotFault::File, error,
                QCoreApplication::translate(
                    "SnapshotReader",
                    "The file %1 is %2 bytes long, too large for a snapshot (at most "
                    "%3 bytes).")
                    .arg(quotedPath(fileName), QString::number(size),
                         QString::number(kMaxSnapshotFileSize)));
}

} // namespace

QStringList warningTexts(const QList<HardwareWarning>& warnings)
{
    QStringList texts;
    for (const HardwareWarning& warning : warnings)
        texts << warning.text;
    return texts;
}

bool hasSnaName(const QString& fileName)
{
    return QFileInfo(fileName).fileName().contains(QLatin1String(".sna"), Qt::CaseInsensitive);
}

QStringList snapshotNamePatterns()
{
    // .slt is a .z80 with level data; .mgtsnp is a +D snapshot.
    return {QStringLiteral("*.sna*"), QStringLiteral("*.z80"),   QStringLiteral("*.slt"),
            QStringLiteral("*.szx"),  QStringLiteral("*.sp"),    QStringLiteral("*.snp"),
            QStringLiteral("*.zxs"),  QStringLiteral("*.mgtsnp")};
}

std::optional<SnapshotRead> readSnapshotData(QByteArrayView data, const QString& fileName,
                                             SnapshotFault* fault, QString* error)
{
    if (fault)
        *fault = SnapshotFault::None;
    if (data.size() > kMaxSnapshotFileSize) {
        tooLarge(fault, error, fileName, data.size());
        return std::nullopt;
    }
    if (data.size() == kSnaFileSize && hasSnaName(fileName))
        return SnapshotRead{data.toByteArray(), {}};
    return decodeSnapshot(data, fileName, fault, error);
}

std::optional<SnapshotRead> readSnapshotData(QByteArrayView data, const QString& fileName,
                                             QString* error)
{
    return readSnapshotData(data, fileName, nullptr, error);
}

namespace {

// The whole file, when it is a regular file no larger than a snapshot can be.
std::optional<QByteArray> readWhole(const QString& path, SnapshotFault* fault, QString* error)
{
    const QString file = quotedPath(path);
    // Only a regular file: a pipe or a device would block the read or never end.
    QFile in(path);
    QString reason;
    if (!openRegularFile(
            in, &reason,
            QCoreApplication::translate("SnapshotReader", "The file %1 cannot be read (%2)."))) {
        fail(fault, SnapshotFault::File, error, reason);
        return std::nullopt;
    }
    if (in.size() > kMaxSnapshotFileSize) {
        tooLarge(fault, error, path, in.size());
        return std::nullopt;
    }
    // One byte over the limit tells a file that grew since it was looked at.
    QByteArray data = in.read(kMaxSnapshotFileSize + 1);
    if (in.error() != QFileDevice::NoError) {
        fail(fault, SnapshotFault::File, error,
             QCoreApplication::translate("SnapshotReader", "The file %1 cannot be read (%2).")
                 .arg(file, in.errorString()));
        return std::nullopt;
    }
    return data;
}

} // namespace

std::optional<SnapshotRead> readSnapshot(const QString& path, SnapshotFault* fault, QString* error)
{
    if (fault)
        *fault = SnapshotFault::None;
    const std::optional<QByteArray> data = readWhole(path, fault, error);
    if (!data)
        return std::nullopt;
    return readSnapshotData(*data, path, fault, error);
}

SnapshotScreen screenOfSna(QByteArrayView sna)
{
    SnapshotScreen screen;
    screen.memory = sna.sliced(kSnaHeaderSize, kScreenMemorySize).toByteArray();
    screen.border = sna.at(kSnaHeaderSize - 1) & 0x07;
    return screen;
}

std::optional<SnapshotScreen> readSnapshotScreen(const QString& path, QString* error)
{
    SnapshotFault fault = SnapshotFault::None;
    const std::optional<QByteArray> data = readWhole(path, &fault, error);
    if (!data)
        return std::nullopt;
    if (const std::optional<SnapshotRead> read = readSnapshotData(*data, path, &fault, error))
        return screenOfSna(read->sna);
    // Decoded a second time only for the few snapshots of other machines.
    if (fault != SnapshotFault::Machine)
        return std::nullopt;
    return decodeScreen(*data, path, error);
}

std::optional<SnapshotRead> readSnapshot(const QString& path, QString* error)
{
    return readSnapshot(path, nullptr, error);
}

bool convertToSna(const QString& in, const QString& out, QStringList* warnings, QString* error)
{
    const OutputRules rules{{in}};
    if (!checkOutputFile(out, rules, error))
        return false;
    const std::optional<SnapshotRead> read = readSnapshot(in, error);
    if (!read)
        return false;
    if (warnings)
        *warnings = warningTexts(read->warnings);
    return writeDurably(out, read->sna, rules, error);
}

} // namespace tessel
