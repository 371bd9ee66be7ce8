// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace tessel {

class Kit;

// A table offset as typed or stored: a whole decimal number from 0 to `max`.
enum class OffsetCheck { Ok, Missing, NotNumber, OutOfRange };
OffsetCheck checkOffset(const QString& text, qint64 max, qint64* value);

// The settings file tessel.ini of a kit, section [tessel]. Read anew at every
// call and never cached, so what one command writes the next one sees.
// Writes go through at once; a write that fails leaves the file as it was.
class Settings
{
public:
    static inline const QString kSection = QStringLiteral("tessel");
    static inline const QString kStart = QStringLiteral("start");
    static inline const QString kSnapshotFolder = QStringLiteral("DirectorioSnaps");
    static inline const QString kWorkingFolder = QStringLiteral("DirectorioTrabajo");
    static inline const QString kNamesOffset = QStringLiteral("DireccionNombres");
    static inline const QString kRegistersOffset = QStringLiteral("DireccionRegistros");
    // The Spectrum ROM tapes load with; relative to the program folder.
    static inline const QString kRomPath = QStringLiteral("Rom48");

    explicit Settings(const Kit& kit);
    // defaultWorkingFolder stands in for a missing "DirectorioTrabajo".
    explicit Settings(const QString& filePath, const QString& defaultWorkingFolder = {});

    QString filePath() const { return m_path; }

    // Any key of a section, as the platform's functions read it: at most 254
    // bytes, empty when the file, the section or the key is missing.
    QString value(const QString& key, const QString& section = kSection) const;
    // False when nothing was stored. A value is written so that it reads
    // back exactly, blanks and quotes included.
    bool setValue(const QString& key, const QString& value, const QString& section = kSection);
    // A value read whole, whatever its length, such as a path.
    QString wholeValue(const QString& key, const QString& section) const;
    // Several keys of one section in one replace of the file: all or none.
    bool setValues(const QList<std::pair<QString, QString>>& values, const QString& section);

    // The first-run marker "start" as a number; nothing when it is not one.
    std::optional<double> firstRunMarker() const;
    // "start" = 1 and the two folders, in one replace of the file: all or none.
    bool writeFirstRunDefaults(const QString& snapshotFolder, const QString& workingFolder);

    // Paths are read whole, whatever their length.
    QString snapshotFolder() const;
    bool setSnapshotFolder(const QString& folder);
    // The working folder; the program folder's "flash" when the key is missing.
    QString workingFolder() const;

    // What a build needs from the file, read in one go and checked: the
    // working folder and the two table offsets, within their ranges.
    struct ImageSettings
    {
        QString workingFolder;
        qint64 namesOffset = 0;
        qint64 registersOffset = 0;
    };
    std::optional<ImageSettings> imageSettings(QString* error) const;

private:
    QString pathValue(const QString& key) const;

    QString m_path;
    QString m_defaultWorkingFolder;
};

} // namespace tessel
