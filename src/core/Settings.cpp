// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Settings.h"

#include "core/Cartridge.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/IniFile.h"
#include "core/Kit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <limits>

namespace tessel {

namespace {

// The platform's functions were always called with a buffer of this size.
constexpr int kReadBuffer = 255;
constexpr int kWhole = std::numeric_limits<int>::max();

QString decoded(const QByteArray& bytes)
{
    // A multibyte character cut at the limit is held back rather than turned
    // into a replacement character; a leading U+FEFF is text, not a mark.
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

QByteArray read(const QByteArray& content, const QString& section, const QString& key, int limit)
{
    return readProfileString(content, section.toLocal8Bit(), key.toLocal8Bit(), {}, limit).bytes;
}

// Reading trims blanks and drops one pair of enclosing quotes, so a value
// that starts or ends with either is written quoted to come back whole.
QByteArray storedForm(const QByteArray& value)
{
    const QByteArray probe = "[s]\nk=" + value + '\n';
    if (readProfileString(probe, "s", "k", {}, kWhole).bytes == value)
        return value;
    return '"' + value + '"';
}

QByteArray keyValue(const QString& text)
{
    return storedForm(text.toLocal8Bit());
}

} // namespace

OffsetCheck checkOffset(const QString& text, qint64 max, qint64* value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return OffsetCheck::Missing;
    bool ok = false;
    const qint64 number = trimmed.toLongLong(&ok, 10);
    if (!ok)
        return OffsetCheck::NotNumber;
    if (value)
        *value = number;
    return number < 0 || number > max ? OffsetCheck::OutOfRange : OffsetCheck::Ok;
}

Settings::Settings(const Kit& kit)
    : Settings(kit.settingsPath(), kit.workingFolder())
{ }

Settings::Settings(const QString& filePath, const QString& defaultWorkingFolder)
    : m_path(filePath)
    , m_defaultWorkingFolder(defaultWorkingFolder)
{ }

QString Settings::value(const QString& key, const QString& section) const
{
    return decoded(read(readProfileFile(m_path).value_or(QByteArray()), section, key, kReadBuffer));
}

bool Settings::setValue(const QString& key, const QString& value, const QString& section)
{
    return writeProfileStringToFile(m_path, section.toLocal8Bit(), key.toLocal8Bit(),
                                    keyValue(value));
}

QString Settings::wholeValue(const QString& key, const QString& section) const
{
    return decoded(read(readProfileFile(m_path).value_or(QByteArray()), section, key, kWhole));
}

bool Settings::setValues(const QList<std::pair<QString, QString>>& values, const QString& section)
{
    QList<std::pair<QByteArray, QByteArray>> bytes;
    for (const auto& [key, value] : values)
        bytes.append({key.toLocal8Bit(), keyValue(value)});
    return writeProfileStringsToFile(m_path, section.toLocal8Bit(), bytes);
}

QString Settings::pathValue(const QString& key) const
{
    return wholeValue(key, kSection);
}

std::optional<double> Settings::firstRunMarker() const
{
    bool isNumber = false;
    const double start = value(kStart).trimmed().toDouble(&isNumber);
    return isNumber ? std::optional<double>(start) : std::nullopt;
}

bool Settings::writeFirstRunDefaults(const QString& snapshotFolder, const QString& workingFolder)
{
    return writeProfileStringsToFile(
        m_path, kSection.toLocal8Bit(),
        {{kStart.toLocal8Bit(), "1"},
         {kSnapshotFolder.toLocal8Bit(), keyValue(QDir::toNativeSeparators(snapshotFolder))},
         {kWorkingFolder.toLocal8Bit(), keyValue(QDir::toNativeSeparators(workingFolder))}});
}

QString Settings::snapshotFolder() const
{
    return pathValue(kSnapshotFolder);
}

bool Settings::setSnapshotFolder(const QString& folder)
{
    return setValue(kSnapshotFolder, QDir::toNativeSeparators(folder));
}

QString Settings::workingFolder() const
{
    const QString folder = pathValue(kWorkingFolder);
    return folder.isEmpty() ? m_defaultWorkingFolder : folder;
}

std::optional<Settings::ImageSettings> Settings::imageSettings(QString* error) const
{
    const QString file = quotedPath(m_path);
    const QString notAFile = notAFileMessage(m_path, fileKind(m_path));
    const std::optional<QByteArray> content =
        notAFile.isEmpty() ? readProfileFile(m_path) : std::nullopt;
    if (!content) {
        fail(error, notAFile.isEmpty() ? QCoreApplication::translate(
                                             "Settings", "The settings file %1 cannot be read.")
                                             .arg(file)
                                       : notAFile);
        return std::nullopt;
    }

    if (!QFileInfo::exists(m_path)) {
        fail(error, QCoreApplication::translate(
                        "Settings", "The settings file %1 does not exist; the kit needs one with "
                                    "the table offsets in section [%2].")
                        .arg(file, kSection));
        return std::nullopt;
    }
    if (!profileHasSection(*content, kSection.toLocal8Bit())) {
        fail(error, QCoreApplication::translate(
                        "Settings", "The settings file %1 has no section [%2]; is it a settings "
                                    "file? The section holds the table offsets.")
                        .arg(file, kSection));
        return std::nullopt;
    }

    ImageSettings values;
    values.workingFolder = decoded(read(*content, kSection, kWorkingFolder, kWhole));
    if (values.workingFolder.isEmpty())
        values.workingFolder = m_defaultWorkingFolder;

    const auto offset = [&](const QString& key, qint64 max, qint64& out) {
        const QString text = decoded(read(*content, kSection, key, kReadBuffer)).trimmed();
        switch (checkOffset(text, max, &out)) {
        case OffsetCheck::Ok:
            return true;
        case OffsetCheck::Missing:
            return fail(error, QCoreApplication::translate(
                                   "Settings", "The setting \"%1\" in section [%2] of %3 is "
                                               "missing; it must hold the table's offset in the "
                                               "image.")
                                   .arg(key, kSection, file));
        case OffsetCheck::NotNumber:
            return fail(error, QCoreApplication::translate(
                                   "Settings", "The setting \"%1\" in section [%2] of %3 is "
                                               "\"%4\", which is not a whole decimal number.")
                                   .arg(key, kSection, file, text));
        case OffsetCheck::OutOfRange:
            break;
        }
        return fail(error,
                    QCoreApplication::translate("Settings",
                                                "The setting \"%1\" in section [%2] of %3 is %4, "
                                                "outside the range 0 to %5.")
                        .arg(key, kSection, file, QString::number(out), QString::number(max)));
    };
    if (!offset(kNamesOffset, kMaxNamesOffset, values.namesOffset)
        || !offset(kRegistersOffset, kMaxRegistersOffset, values.registersOffset))
        return std::nullopt;
    return values;
}

} // namespace tessel
