// SPDX-License-Identifier: GPL-3.0-or-later
#include "flash/FlashExtract.h"

#include "core/Cartridge.h"
#include "core/Cp1252.h"
#include "core/DurableFile.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/Kit.h"
#include "core/MenuName.h"
#include "core/Settings.h"
#include "flash/FlashImage.h"
#include "formats/EntryList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <vector>

namespace tessel {

namespace {

constexpr qint64 kRegistersSize = kRecordSize * kEntryCount;
constexpr int kInterruptModeByte = 25;

// Where the tables lie in the image; they are written last, over anything.
class Tables
{
public:
    Tables(qint64 names, qint64 registers)
        : m_names(names)
        , m_registers(registers)
    { }

    bool inRegisters(qint64 at) const
    {
        return at >= m_registers && at < m_registers + kRegistersSize;
    }
    bool inNames(qint64 at) const
    {
        const qint64 d = at - m_names;
        return d >= 0 && d < kSlotSize * kEntryCount && d % kSlotSize < kMaxNameLength;
    }
    bool covers(qint64 at) const { return inNames(at) || inRegisters(at); }

private:
    qint64 m_names;
    qint64 m_registers;
};

// The records are always whole: the register table is written last. The
// builder takes any 49,179-byte .sna, so an odd interrupt mode proves
// nothing about the offsets: it is told, not refused.
bool checkRecords(QByteArrayView image, const QString& shown, qint64 registers,
                  const Tables& tables, QStringList& warnings, QString* error)
{
    for (int i = 0; i < kEntryCount; ++i) {
        const QByteArrayView record = image.sliced(registers + kRecordSize * i, kRecordSize);
        // The record's last five bytes are also the first five of the memory
        // area, where no table lies over them.
        for (qint64 k = 0; k < kRecordSize - kSnaHeaderSize; ++k) {
            const qint64 at = areaOffset(i) + k;
            if (!tables.covers(at) && image.at(at) != record.at(kSnaHeaderSize + k))
                return fail(error, QCoreApplication::translate(
                                       "FlashExtract",
                                       "The flash image %1 cannot be opened: its register table "
                                       "at byte %2 (setting \"%3\") does not hold the registers "
                                       "of its snapshots: entry %4 does not match the start of "
                                       "its memory area. Was it made with other table offsets "
                                       "than this kit's?")
                                       .arg(shown, QString::number(registers),
                                            Settings::kRegistersOffset, QString::number(i + 1)));
        }
        const int mode = static_cast<unsigned char>(record.at(kInterruptModeByte));
        if (mode > 2)
            warnings << QCoreApplication::translate(
                            "FlashExtract",
                            "Entry %1: its snapshot has the interrupt mode %2, which no Spectrum "
                            "has; it was kept as it is, and it may not run.")
                            .arg(i + 1)
                            .arg(mode);
    }
    return true;
}

// An image of nothing: every memory area one byte over and over, as in a
// blank or erased flash. A real snapshot holds at least the system
// variables and its own code.
bool allAreasBlank(QByteArrayView image, const Tables& tables)
{
    for (int i = 0; i < kEntryCount; ++i) {
        std::optional<char> seen;
        for (qint64 at = areaOffset(i); at < areaOffset(i) + kAreaSize; ++at) {
            if (tables.covers(at))
                continue;
            if (seen && *seen != image.at(at))
                return false;
            seen = image.at(at);
        }
    }
    return true;
}

// Where the kit's bank 1 is known, the bytes around the name table must be
// its bytes: names written at other offsets leave their letters there.
bool checkNamesPlace(QByteArrayView image, const QString& shown, qint64 names, const Tables& tables,
                     QByteArrayView bank1, QString* error)
{
    if (bank1.size() != kBankSize)
        return true;
    const qint64 from = std::max<qint64>(0, names - kSlotSize);
    const qint64 to = std::min<qint64>(kBankSize, names + kSlotSize * (kEntryCount + 1));
    for (qint64 at = from; at < to; ++at) {
        if (!tables.covers(at) && image.at(at) != bank1.at(at))
            return fail(error, QCoreApplication::translate(
                                   "FlashExtract",
                                   "The flash image %1 cannot be opened: its names do not lie at "
                                   "byte %2 (setting \"%3\"): the bytes beside that name table "
                                   "at byte %4 are not those of the kit's bank 1. Was it made "
                                   "with other table offsets or other firmware than this kit's?")
                                   .arg(shown, QString::number(names), Settings::kNamesOffset,
                                        QString::number(at)));
    }
    return true;
}

std::optional<QString> readName(QByteArrayView image, const QString& shown, qint64 names, int index,
                                const Tables& tables, QStringList& warnings, QString* error)
{
    const qint64 slot = names + kSlotSize * index;
    QByteArray bytes = image.sliced(slot, kMaxNameLength).toByteArray();
    int lost = 0;
    for (qint64 k = 0; k < kMaxNameLength; ++k) {
        if (tables.inRegisters(slot + k)) {
            bytes[k] = '?';
            ++lost;
        }
    }
    while (bytes.endsWith(' ') || bytes.endsWith('\0'))
        bytes.chop(1);
    for (const char byte : std::as_const(bytes)) {
        if (isCp1252Control(byte)) {
            fail(error,
                 QCoreApplication::translate(
                     "FlashExtract",
                     "The flash image %1 cannot be opened: its name table at byte %2 (setting "
                     "\"%3\") does not hold menu names: entry %4 holds the byte 0x%5, which no "
                     "name has. Was it made with other table offsets than this kit's?")
                     .arg(shown, QString::number(names), Settings::kNamesOffset,
                          QString::number(index + 1),
                          QString::number(static_cast<unsigned char>(byte), 16)
                              .rightJustified(2, QLatin1Char('0'))));
            return std::nullopt;
        }
    }
    const QString number = QString::number(index + 1);
    if (lost == kMaxNameLength) {
        const QString name = defaultName(index + 1);
        warnings << QCoreApplication::translate(
                        "FlashExtract",
                        "Entry %1: its menu name lies under the register table in the "
                        "image and is lost; it was named \"%2\".")
                        .arg(number, name);
        return name;
    }
    if (bytes.isEmpty()) {
        const QString name = defaultName(index + 1);
        warnings << QCoreApplication::translate(
                        "FlashExtract",
                        "Entry %1: its menu name is blank in the image; it was named "
                        "\"%2\".")
                        .arg(number, name);
        return name;
    }
    const QString name = fromCp1252(bytes);
    if (lost > 0)
        warnings << QCoreApplication::translate(
                        "FlashExtract",
                        "Entry %1 (\"%2\"): %3 characters of its menu name lie under "
                        "the register table in the image and are lost; they show as "
                        "\"?\".")
                        .arg(number, name, QString::number(lost));
    return name;
}

QString uniqueIn(const QString& base, const QString& extension, QStringList& taken)
{
    QString name = base + QLatin1Char('.') + extension;
    for (int n = 2; taken.contains(name, Qt::CaseInsensitive); ++n)
        name = QStringLiteral("%1 (%2).%3").arg(base, QString::number(n), extension);
    taken << name;
    return name;
}

// The bank as the builder puts it in the image; empty when it cannot be read.
QByteArray fittedBank(const QString& path)
{
    QFile file(path);
    if (!openRegularFile(file, nullptr, {}))
        return {};
    QByteArray bank = file.read(kBankSize);
    if (bank.isEmpty() || file.error() != QFileDevice::NoError)
        return {};
    bank.append(kBankSize - bank.size(), kFill);
    return bank;
}

QString imageSizeMessage(const QString& shown, qint64 size)
{
    return QCoreApplication::translate("FlashExtract", "The flash image %1 cannot be opened: it is "
                                                       "%2 bytes long; a flash image has %3 bytes.")
        .arg(shown, QString::number(size), QString::number(kImageSize));
}

QStringList targetNames(const FlashContents& contents)
{
    QStringList names;
    for (const ExtractedEntry& entry : contents.entries)
        names << entry.fileName;
    names << contents.listFileName;
    return names;
}

} // namespace

QString safeFileName(const QString& name)
{
    static const QString reserved = QStringLiteral("<>:\"/\\|?*");
    QString safe;
    for (const QChar c : name)
        safe += c.unicode() < 0x20 || c.unicode() == 0x7F || reserved.contains(c) ? QChar(u'_') : c;
    while (safe.startsWith(QLatin1Char('.')) || safe.startsWith(QLatin1Char(' ')))
        safe.remove(0, 1);
    while (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' ')))
        safe.chop(1);
    // Windows keeps these for devices, whatever extension follows, with the
    // digits 0 to 9 and the superscripts ¹ ² ³ alike.
    static const QStringList devices = [] {
        QStringList names = {QStringLiteral("CON"),    QStringLiteral("PRN"),
                             QStringLiteral("AUX"),    QStringLiteral("NUL"),
                             QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
        for (const QString& port : {QStringLiteral("COM"), QStringLiteral("LPT")}) {
            for (const QChar digit : QStringLiteral("0123456789\u00B9\u00B2\u00B3"))
                names << port + digit;
        }
        return names;
    }();
    const QString stem = safe.section(QLatin1Char('.'), 0, 0);
    if (devices.contains(stem.trimmed(), Qt::CaseInsensitive))
        safe.insert(stem.size(), QLatin1Char('_'));
    return safe;
}

std::optional<FlashContents> readFlashContents(QByteArrayView image, const QString& imagePath,
                                               qint64 namesOffset, qint64 registersOffset,
                                               QString* error, QByteArrayView kitBank1)
{
    const QString shown = quotedPath(imagePath);
    if (image.size() != kImageSize) {
        fail(error, imageSizeMessage(shown, image.size()));
        return std::nullopt;
    }
    if (namesOffset < 0 || namesOffset > kMaxNamesOffset || registersOffset < 0
        || registersOffset > kMaxRegistersOffset) {
        fail(error,
             QCoreApplication::translate("FlashExtract",
                                         "The flash image %1 cannot be opened: the table "
                                         "offsets %2 and %3 lie outside the range the "
                                         "cartridge addresses.")
                 .arg(shown, QString::number(namesOffset), QString::number(registersOffset)));
        return std::nullopt;
    }
    const Tables tables(namesOffset, registersOffset);
    FlashContents contents;
    if (allAreasBlank(image, tables)) {
        fail(error, QCoreApplication::translate("FlashExtract",
                                                "The flash image %1 cannot be opened: its ten "
                                                "memory areas are blank, so it holds no snapshots. "
                                                "Is it an image this program made?")
                        .arg(shown));
        return std::nullopt;
    }
    if (!checkRecords(image, shown, registersOffset, tables, contents.warnings, error)
        || !checkNamesPlace(image, shown, namesOffset, tables, kitBank1, error))
        return std::nullopt;

    QStringList taken;
    for (int i = 0; i < kEntryCount; ++i) {
        ExtractedEntry entry;
        const std::optional<QString> name =
            readName(image, shown, namesOffset, i, tables, contents.warnings, error);
        if (!name)
            return std::nullopt;
        entry.name = *name;
        QString base = safeFileName(entry.name);
        if (base.isEmpty())
            base = safeFileName(defaultName(i + 1));
        entry.fileName = uniqueIn(base, QStringLiteral("sna"), taken);

        const qint64 area = areaOffset(i);
        entry.sna = image.sliced(registersOffset + kRecordSize * i, kRecordSize).toByteArray();
        entry.sna += image.sliced(area + kRecordSize - kSnaHeaderSize,
                                  kAreaSize - (kRecordSize - kSnaHeaderSize));
        qint64 lost = 0;
        qint64 first = -1;
        for (qint64 at = area + kRecordSize - kSnaHeaderSize; at < area + kAreaSize; ++at) {
            if (tables.covers(at)) {
                ++lost;
                first = first < 0 ? at - area : first;
            }
            // Past the tables' last byte nothing more is covered.
            if (at > namesOffset + kSlotSize * kEntryCount && at > registersOffset + kRegistersSize)
                break;
        }
        if (lost > 0)
            contents.warnings << QCoreApplication::translate(
                                     "FlashExtract",
                                     "Entry %1 (\"%2\"): %3 bytes of its memory, from address "
                                     "%4 on, lie under the tables in the image and are lost; "
                                     "the snapshot holds what the image holds there.")
                                     .arg(QString::number(i + 1), entry.name, QString::number(lost),
                                          QString::number(0x4000 + first));
        contents.entries.append(entry);
    }
    return contents;
}

std::optional<FlashContents> readFlashImage(const Kit& kit, const QString& image, QString* error)
{
    const std::optional<Settings::ImageSettings> settings = Settings(kit).imageSettings(error);
    if (!settings)
        return std::nullopt;
    QFile file(image);
    const QString cannotOpen =
        QCoreApplication::translate("FlashExtract", "The flash image %1 cannot be opened: %2.");
    if (!openRegularFile(file, error, cannotOpen))
        return std::nullopt;
    if (file.size() != kImageSize) {
        fail(error, imageSizeMessage(quotedPath(image), file.size()));
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kImageSize + 1);
    if (bytes.size() != kImageSize) {
        fail(error, file.error() != QFileDevice::NoError
                        ? cannotOpen.arg(quotedPath(image), file.errorString())
                        : QCoreApplication::translate(
                              "FlashExtract", "The flash image %1 cannot be opened: it changed "
                                              "while it was read.")
                              .arg(quotedPath(image)));
        return std::nullopt;
    }
    const QByteArray bank1 = fittedBank(kit.bank1Path());
    std::optional<FlashContents> contents = readFlashContents(
        bytes, image, settings->namesOffset, settings->registersOffset, error, bank1);
    if (!contents)
        return std::nullopt;
    if (bank1.isEmpty())
        contents->warnings.prepend(
            QCoreApplication::translate(
                "FlashExtract",
                "The kit's bank 1 file %1 cannot be read, so the place of the name table "
                "(setting \"%2\") was not checked: names shifted onto other games mean the "
                "image was made with other table offsets.")
                .arg(quotedPath(kit.bank1Path()), Settings::kNamesOffset));
    QString base = safeFileName(QFileInfo(image).completeBaseName());
    if (base.isEmpty())
        base = QStringLiteral("compilation");
    contents->listFileName = base + QLatin1Char('.') + kCompilationExtension;
    return contents;
}

QStringList existingFiles(const FlashContents& contents, const QString& folder)
{
    QStringList existing;
    const QDir dir(folder);
    for (const QString& name : targetNames(contents)) {
        if (QFileInfo::exists(dir.filePath(name)) || QFileInfo(dir.filePath(name)).isSymLink())
            existing << name;
    }
    return existing;
}

std::optional<Extraction> writeExtraction(const FlashContents& contents, const QString& folder,
                                          const QString& image, bool replaceExisting,
                                          QString* error)
{
    const auto refuse = [error](const QString& message) {
        fail(error, message);
        return std::nullopt;
    };
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return refuse(QCoreApplication::translate("FlashExtract",
                                                  "The folder %1 cannot be made: a file of that "
                                                  "name stands there.")
                          .arg(quotedPath(folder)));
    // Followed, it would make a folder elsewhere; refused, it must not read
    // as another extraction holding the folder.
    if (info.isSymLink() && !info.exists())
        return refuse(QCoreApplication::translate("FlashExtract",
                                                  "The folder %1 is a link to %2, which does not "
                                                  "exist; nothing was written.")
                          .arg(quotedPath(folder), quotedPath(info.symLinkTarget())));
    if (folder.contains(QChar::ReplacementCharacter) && !info.exists())
        return refuse(QCoreApplication::translate("FlashExtract",
                                                  "The folder name %1 is not valid UTF-8 text, so "
                                                  "no folder can be made under it; choose a name "
                                                  "that is.")
                          .arg(quotedPath(folder)));
    // A folder still to be made receives the whole set in one rename. One
    // that exists is never replaced, empty or not (it may be a mount point,
    // the current folder, or one a dialog just made): the set goes in as
    // one commit, under a lock.
    const bool fresh = !info.exists() && !info.isSymLink();
    std::optional<StagingFolder> staging;
    std::optional<FolderLock> lock;
    const auto notMade = [&] {
        return refuse(
            QCoreApplication::translate("FlashExtract", "The folder %1 could not be made: %2.")
                .arg(quotedPath(folder), staging->failure()));
    };
    if (fresh) {
        staging.emplace(folder);
        if (!staging->isReady())
            return notMade();
    } else {
        // Two extractions into one folder would mix their files and lists.
        lock.emplace(folder);
        if (!lock->isLocked())
            return refuse(QCoreApplication::translate(
                              "FlashExtract",
                              "Another extraction is writing into the folder %1; nothing was "
                              "written. Try again once it is done.")
                              .arg(quotedPath(folder)));
        const QStringList existing = existingFiles(contents, folder);
        if (!replaceExisting && !existing.isEmpty())
            return refuse(QCoreApplication::translate("FlashExtract",
                                                      "The folder %1 already holds %2; nothing "
                                                      "was written.")
                              .arg(quotedPath(folder), existing.join(QStringLiteral(", "))));
    }

    // Every file is written in full before any takes its name, so that a
    // full disk, a bad target or a kill leaves the folder as it was.
    const QDir dir(folder);
    const QDir writeDir(fresh ? staging->path() : folder);
    const OutputRules rules{{image}};
    if (!fresh) {
        for (const QString& name : targetNames(contents)) {
            if (!checkOutputFile(dir.filePath(name), rules, error))
                return std::nullopt;
        }
    }
    Extraction done;
    std::vector<std::unique_ptr<DurableFile>> staged;
    const auto stage = [&](const QString& name, QByteArrayView bytes) {
        staged.push_back(std::make_unique<DurableFile>(writeDir.filePath(name), rules));
        return staged.back()->open(error) && staged.back()->write(bytes, error);
    };
    for (const ExtractedEntry& entry : contents.entries) {
        if (!stage(entry.fileName, entry.sna))
            return std::nullopt;
        done.entries.append({dir.filePath(entry.fileName), entry.name});
    }
    done.listFile = dir.filePath(contents.listFileName);
    const std::optional<QByteArray> list = formatEntryList(done.entries, folder, error);
    if (!list || !stage(contents.listFileName, *list))
        return std::nullopt;
    // The list last, so that it never names a snapshot that is not there.
    if (!DurableFile::commitAll(staged, error))
        return std::nullopt;
    if (fresh && !staging->publish()) {
        const QStringList existing = existingFiles(contents, folder);
        if (existing.isEmpty())
            return notMade();
        return refuse(QCoreApplication::translate("FlashExtract",
                                                  "The folder %1 already holds %2; nothing "
                                                  "was written.")
                          .arg(quotedPath(folder), existing.join(QStringLiteral(", "))));
    }
    return done;
}

} // namespace tessel
