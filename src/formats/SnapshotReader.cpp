// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/SnapshotReader.h"

#include "core/DurableFile.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "formats/Libspectrum.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
                    .arg(quotedPath(fileName))
                    .arg(size)
                    .arg(kMaxSnapshotFileSize));
}

} // namespace

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

std::optional<SnapshotRead> readSnapshot(const QString& path, SnapshotFault* fault, QString* error)
{
    if (fault)
        *fault = SnapshotFault::None;
    const QString file = quotedPath(path);
    // Only a regular file: a pipe or a device would block the read or never end.
    QFile in(path);
    QString reason;
    if (!openRegularFile(in, &reason)) {
        fail(fault, SnapshotFault::File, error,
             QCoreApplication::translate("SnapshotReader", "The file %1 cannot be read (%2).")
                 .arg(file, reason));
        return std::nullopt;
    }
    if (in.size() > kMaxSnapshotFileSize) {
        tooLarge(fault, error, path, in.size());
        return std::nullopt;
    }
    // One byte over the limit tells a file that grew since it was looked at.
    const QByteArray data = in.read(kMaxSnapshotFileSize + 1);
    if (in.error() != QFileDevice::NoError) {
        fail(fault, SnapshotFault::File, error,
             QCoreApplication::translate("SnapshotReader", "The file %1 cannot be read (%2).")
                 .arg(file, in.errorString()));
        return std::nullopt;
    }
    return readSnapshotData(data, path, fault, error);
}

std::optional<SnapshotRead> readSnapshot(const QString& path, QString* error)
{
    return readSnapshot(path, nullptr, error);
}

bool writeSnaFile(const QString& out, const QByteArray& sna, QString* error)
{
    QSaveFile file(out);
    QString why;
    if (!file.open(QIODevice::WriteOnly) || file.write(sna) != sna.size()
        || !commitDurably(file, &why)) {
        if (error) {
            *error = QCoreApplication::translate("SnapshotReader",
                                                 "The snapshot %1 could not be written (%2).")
                         .arg(quotedPath(out),
                              file.error() != QFileDevice::NoError ? file.errorString() : why);
        }
        return false;
    }
    return true;
}

bool convertToSna(const QString& in, const QString& out, QStringList* warnings, QString* error)
{
    const std::optional<SnapshotRead> read = readSnapshot(in, error);
    if (!read)
        return false;
    if (warnings)
        *warnings = read->warnings;
    return writeSnaFile(out, read->sna, error);
}

} // namespace tessel
