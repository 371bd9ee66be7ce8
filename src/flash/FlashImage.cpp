// SPDX-License-Identifier: GPL-3.0-or-later
#include "flash/FlashImage.h"

#include "core/Cartridge.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/MenuName.h"
#include "machine/Source.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <array>

namespace tessel {

namespace {

class ImageWriter
{
public:
    ImageWriter(const FlashSources& sources, QIODevice& out, QString* error)
        : m_sources(sources)
        , m_out(out)
        , m_error(error)
    { }

    bool run()
    {
        if (m_sources.entries.size() != kEntryCount)
            return fail(m_error, QCoreApplication::translate(
                                     "FlashImage", "The image needs exactly %1 snapshots, not %2.")
                                     .arg(kEntryCount)
                                     .arg(m_sources.entries.size()));
        if (!readBank(m_sources.bank1) || !put(m_bank))
            return false;
        for (int i = 0; i < kEntryCount; ++i) {
            if (!putSnapshot(i))
                return false;
        }
        if (!readBank(m_sources.bank32) || !put(m_bank))
            return false;
        return writeNames() && writeRegisters();
    }

    bool writeFailed() const { return m_writeFailed; }

private:
    bool put(QByteArrayView bytes)
    {
        if (m_out.write(bytes.data(), bytes.size()) == bytes.size())
            return true;
        m_writeFailed = true;
        const auto* file = qobject_cast<const QFileDevice*>(&m_out);
        const bool named = file && !file->fileName().isEmpty();
        // A write cut short by a full disk or a size limit may set no error.
        if (file && file->error() == QFileDevice::NoError)
            return fail(m_error,
                        named ? QCoreApplication::translate("FlashImage",
                                                            "Only part of the image %1 could be "
                                                            "written; the disk may be full.")
                                    .arg(quotedPath(file->fileName()))
                              : QCoreApplication::translate("FlashImage",
                                                            "Only part of the image could be "
                                                            "written; the disk may be full."));
        return fail(m_error, named ? QCoreApplication::translate(
                                         "FlashImage", "The image %1 could not be written (%2).")
                                         .arg(quotedPath(file->fileName()), m_out.errorString())
                                   : QCoreApplication::translate(
                                         "FlashImage", "The image could not be written (%1).")
                                         .arg(m_out.errorString()));
    }

    bool seek(qint64 offset)
    {
        if (m_out.seek(offset))
            return true;
        m_writeFailed = true;
        return fail(m_error, QCoreApplication::translate(
                                 "FlashImage", "The image could not be positioned at byte %1 (%2).")
                                 .arg(offset)
                                 .arg(m_out.errorString()));
    }

    // The whole bank file, fitted to the bank: cut, or filled with blanks.
    bool readBank(const QString& path)
    {
        QFile file(path);
        const QString cannotRead =
            QCoreApplication::translate("FlashImage", "The bank file %1 cannot be read (%2).");
        if (!openRegularFile(file, m_error, cannotRead))
            return false;
        qint64 got = 0;
        while (got < m_bank.size()) {
            const qint64 n = file.read(m_bank.data() + got, m_bank.size() - got);
            if (n <= 0)
                break;
            got += n;
        }
        if (file.error() != QFileDevice::NoError)
            return fail(m_error, cannotRead.arg(quotedPath(path), file.errorString()));
        if (got == 0)
            return fail(m_error,
                        QCoreApplication::translate("FlashImage", "The bank file %1 is empty.")
                            .arg(quotedPath(path)));
        std::fill(m_bank.begin() + got, m_bank.end(), kFill);
        return true;
    }

    bool putSnapshot(int index)
    {
        const SnapshotEntry& entry = m_sources.entries.at(index);
        QString why;
        const std::optional<SnapshotRead> snapshot =
            readEntrySource(entry, m_sources.kit ? &*m_sources.kit : nullptr, &why);
        if (!snapshot)
            return fail(m_error,
                        QCoreApplication::translate(
                            "FlashImage", "Entry %1 (\"%2\") changed since it was checked: %3")
                            .arg(QString::number(index + 1), entry.name, why));
        std::copy_n(snapshot->sna.constData(), kRecordSize, m_records[index].begin());
        return put(QByteArrayView(snapshot->sna).sliced(kSnaHeaderSize));
    }

    bool writeNames()
    {
        for (int i = 0; i < kEntryCount; ++i) {
            if (!seek(m_sources.namesOffset + kSlotSize * i)
                || !put(menuNameBytes(m_sources.entries.at(i).name)))
                return false;
        }
        return true;
    }

    bool writeRegisters()
    {
        if (!seek(m_sources.registersOffset))
            return false;
        for (const auto& record : m_records) {
            if (!put(QByteArrayView(record.data(), record.size())))
                return false;
        }
        return true;
    }

    const FlashSources& m_sources;
    QIODevice& m_out;
    QString* m_error;
    QByteArray m_bank = QByteArray(kBankSize, kFill);
    std::array<std::array<char, kRecordSize>, kEntryCount> m_records{};
    bool m_writeFailed = false;
};

} // namespace

bool writeFlashImage(const FlashSources& sources, QIODevice& out, QString* error, bool* writeFailed)
{
    ImageWriter writer(sources, out, error);
    const bool written = writer.run();
    if (writeFailed)
        *writeFailed = writer.writeFailed();
    return written;
}

} // namespace tessel
