#include "flash/FlashSources.h"

#include "core/Kit.h"
#include "core/Settings.h"
#include "flash/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tessel {

QString quotedPath(const QString& path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

bool openSource(QFile& file, QString& reason)
{
    // A folder opens for reading on some systems and then reads as nothing.
    if (QFileInfo(file.fileName()).isDir()) {
        reason = QStringLiteral("it is a folder, not a file");
        return false;
    }
    if (file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return true;
    reason = file.errorString();
    return false;
}

namespace {

bool checkBank(const QString& path, QString& error)
{
    QFile file(path);
    QString reason;
    if (openSource(file, reason))
        return true;
    // Banks come with the firmware, not the program: say where they must go.
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        error = QStringLiteral("The bank file %1 is missing: copy it from the cartridge firmware "
                               "into the folder %2.")
                    .arg(info.fileName(), quotedPath(info.absolutePath()));
    else
        error =
            QStringLiteral("The bank file %1 cannot be read (%2).").arg(quotedPath(path), reason);
    return false;
}

bool checkEntry(int index, const FlashEntry& entry, QString& error)
{
    const QString which = QStringLiteral("Entry %1").arg(index + 1);
    // Counted as the cartridge stores it: one byte a character.
    const qint64 length = toCp1252(entry.name).size();
    if (length < 1 || length > kNameLength) {
        error = QStringLiteral("%1: the menu name \"%2\" has %3 characters; it must have 1 to %4.")
                    .arg(which, entry.name)
                    .arg(length)
                    .arg(kNameLength);
        return false;
    }
    QFile file(entry.path);
    QString reason;
    if (!openSource(file, reason)) {
        error = QStringLiteral("%1 (\"%2\"): the snapshot %3 cannot be read (%4).")
                    .arg(which, entry.name, quotedPath(entry.path), reason);
        return false;
    }
    if (file.size() != kSnapshotFileSize) {
        error = QStringLiteral("%1 (\"%2\"): the snapshot %3 is %4 bytes long; a 48K snapshot "
                               "has %5 bytes.")
                    .arg(which, entry.name, quotedPath(entry.path))
                    .arg(file.size())
                    .arg(kSnapshotFileSize);
        return false;
    }
    return true;
}

bool readOffset(const QString& settingsPath, const QString& key, qint64 max, qint64& value,
                QString& error)
{
    const QString text = LeerIni(settingsPath, kSection, key).trimmed();
    const QString where = QStringLiteral("The setting \"%1\" in section [%2] of %3")
                              .arg(key, kSection, quotedPath(settingsPath));
    if (text.isEmpty()) {
        error =
            where + QStringLiteral(" is missing; it must hold the table's offset in the image.");
        return false;
    }
    bool ok = false;
    value = text.toLongLong(&ok, 10);
    if (!ok) {
        error =
            where + QStringLiteral(" is \"%1\", which is not a whole decimal number.").arg(text);
        return false;
    }
    if (value < 0 || value > max) {
        error = where + QStringLiteral(" is %1, outside the range 0 to %2.").arg(value).arg(max);
        return false;
    }
    return true;
}

} // namespace

bool prepareFlash(const Kit& kit, const QString& settingsPath, const FlashEntries& entries,
                  FlashSources& sources, QString& error)
{
    sources.bank1 = kit.file(QStringLiteral("bank1.rom"));
    sources.bank32 = kit.file(QStringLiteral("bank32.rom"));
    sources.entries = entries;
    if (!checkBank(sources.bank1, error) || !checkBank(sources.bank32, error))
        return false;
    for (int i = 0; i < kFlashEntries; ++i) {
        if (!checkEntry(i, entries[i], error))
            return false;
    }
    return readOffset(settingsPath, kKeyNamesOffset, kMaxNamesOffset, sources.namesOffset, error)
           && readOffset(settingsPath, kKeyRegistersOffset, kMaxRegistersOffset,
                         sources.registersOffset, error);
}

} // namespace tessel
