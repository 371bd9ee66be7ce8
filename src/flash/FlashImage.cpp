#include "flash/FlashImage.h"

#include "flash/Cp1252.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace tessel {

namespace {

class ImageWriter
{
public:
    ImageWriter(const FlashSources& sources, QIODevice& out, QString& error)
        : m_sources(sources)
        , m_out(out)
        , m_error(error)
    { }

    bool run()
    {
        if (!readBank(m_sources.bank1) || !put(m_bank))
            return false;
        for (int i = 0; i < kFlashEntries; ++i) {
            if (!readSnapshot(i, kSnapshotHeader, m_area) || !put(m_area))
                return false;
        }
        if (!readBank(m_sources.bank32) || !put(m_bank))
            return false;
        return writeNames() && writeRegisters();
    }

private:
    bool put(const QByteArray& bytes)
    {
        if (m_out.write(bytes) == bytes.size())
            return true;
        const auto* file = qobject_cast<const QFileDevice*>(&m_out);
        const QString image = file ? QStringLiteral("The image ") + quotedPath(file->fileName())
                                   : QStringLiteral("The image");
        m_error = image + QStringLiteral(" could not be written (%1).").arg(writeFailure(m_out));
        return false;
    }

    bool seek(qint64 offset)
    {
        if (m_out.seek(offset))
            return true;
        m_error = QStringLiteral("The image could not be positioned at byte %1 (%2).")
                      .arg(offset)
                      .arg(m_out.errorString());
        return false;
    }

    // Reads from `from` until the buffer is full or the file ends; fits the
    // rest with blanks.
    static bool fill(QFile& file, qint64 from, QByteArray& buffer, qint64& got, QString& reason)
    {
        got = 0;
        if (!file.seek(from)) {
            reason = file.errorString();
            return false;
        }
        while (got < buffer.size()) {
            const qint64 n = file.read(buffer.data() + got, buffer.size() - got);
            if (n < 0) {
                reason = file.errorString();
                return false;
            }
            if (n == 0)
                break;
            got += n;
        }
        std::fill(buffer.begin() + got, buffer.end(), kFill);
        return true;
    }

    bool readBank(const QString& path)
    {
        QFile file(path);
        QString reason;
        qint64 got = 0;
        if (openSource(file, reason) && fill(file, 0, m_bank, got, reason))
            return true;
        m_error =
            QStringLiteral("The bank file %1 cannot be read (%2).").arg(quotedPath(path), reason);
        return false;
    }

    bool readSnapshot(int index, qint64 from, QByteArray& buffer)
    {
        const FlashEntry& entry = m_sources.entries[index];
        QFile file(entry.path);
        QString reason;
        qint64 got = 0;
        if (openSource(file, reason) && fill(file, from, buffer, got, reason)) {
            // Changed since the check: no longer a whole snapshot.
            if (file.size() == kSnapshotFileSize && got == buffer.size())
                return true;
            reason = QStringLiteral("it is now %1 bytes long, not %2")
                         .arg(file.size())
                         .arg(kSnapshotFileSize);
        }
        m_error = QStringLiteral("Entry %1 (\"%2\"): the snapshot %3 cannot be read (%4).")
                      .arg(QString::number(index + 1), entry.name, quotedPath(entry.path), reason);
        return false;
    }

    bool writeNames()
    {
        for (int i = 0; i < kFlashEntries; ++i) {
            QByteArray slot = toCp1252(m_sources.entries[i].name).left(kNameLength);
            slot.append(kNameLength - slot.size(), kFill);
            if (!seek(m_sources.namesOffset + kSlotSize * i) || !put(slot))
                return false;
        }
        return true;
    }

    bool writeRegisters()
    {
        if (!seek(m_sources.registersOffset))
            return false;
        for (int i = 0; i < kFlashEntries; ++i) {
            if (!readSnapshot(i, 0, m_record) || !put(m_record))
                return false;
        }
        return true;
    }

    const FlashSources& m_sources;
    QIODevice& m_out;
    QString& m_error;
    QByteArray m_bank = QByteArray(kBankSize, kFill);
    QByteArray m_area = QByteArray(kAreaSize, kFill);
    QByteArray m_record = QByteArray(kRecordSize, kFill);
};

} // namespace

QString writeFailure(const QIODevice& out)
{
    const auto* file = qobject_cast<const QFileDevice*>(&out);
    if (file && file->error() == QFileDevice::NoError)
        return QStringLiteral("only part of it could be written; the disk may be full");
    return out.errorString();
}

bool writeFlashImage(const FlashSources& sources, QIODevice& out, QString& error)
{
    return ImageWriter(sources, out, error).run();
}

bool buildFlashFile(const FlashSources& sources, const QString& path, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = QStringLiteral("The image %1 could not be created (%2).")
                    .arg(quotedPath(path), file.errorString());
        return false;
    }
    if (!writeFlashImage(sources, file, error))
        return false;
    if (!file.commit()) {
        error = QStringLiteral("The image %1 could not be written (%2).")
                    .arg(quotedPath(path), file.errorString());
        return false;
    }
    return true;
}

} // namespace tessel
