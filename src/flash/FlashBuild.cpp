// SPDX-License-Identifier: GPL-3.0-or-later
#include "flash/FlashBuild.h"

#include "core/Cartridge.h"
#include "core/DurableFile.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/Kit.h"
#include "core/MenuName.h"
#include "core/Settings.h"
#include "formats/FormatLibrary.h"
#include "machine/Rom.h"
#include "machine/Source.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tessel {

bool checkBankFile(const QString& path, QStringList& warnings, QString* error)
{
    // Banks come with the firmware, not the program: say where they must go.
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return fail(error,
                    QCoreApplication::translate(
                        "FlashBuild", "The bank file %1 is missing: copy it from the cartridge "
                                      "firmware into the folder %2.")
                        .arg(info.fileName(), quotedPath(info.absolutePath())));
    QFile file(path);
    if (!openRegularFile(
            file, error,
            QCoreApplication::translate("FlashBuild", "The bank file %1 cannot be read (%2).")))
        return false;
    if (file.size() == 0)
        return fail(error, QCoreApplication::translate("FlashBuild", "The bank file %1 is empty.")
                               .arg(quotedPath(path)));
    if (file.size() > kBankSize)
        warnings << QCoreApplication::translate(
                        "FlashBuild",
                        "The bank file %1 is %2 bytes long, not %3: only its first %3 "
                        "bytes were used.")
                        .arg(quotedPath(path), QString::number(file.size()),
                             QString::number(kBankSize));
    else if (file.size() < kBankSize)
        warnings << QCoreApplication::translate(
                        "FlashBuild", "The bank file %1 is %2 bytes long, not %3: the rest of its "
                                      "bank was filled with blanks.")
                        .arg(quotedPath(path), QString::number(file.size()),
                             QString::number(kBankSize));
    return true;
}

namespace {

// A tape's warnings go to `warnings`, each once: they were told when it was
// added, but a build from a list file is where tessel-flash hears them.
bool checkEntry(int index, const SnapshotEntry& entry, const Kit& kit, QStringList& warnings,
                QString* error)
{
    const QString number = QString::number(index + 1);
    const NameCheck name = checkMenuName(entry.name);
    if (name.problem == NameCheck::Length)
        return fail(error, QCoreApplication::translate(
                               "FlashBuild", "Entry %1: the menu name \"%2\" has %3 characters; "
                                             "it must have 1 to %4.")
                               .arg(number, entry.name, QString::number(name.length),
                                    QString::number(kMaxNameLength)));
    if (name.problem == NameCheck::Control)
        return fail(error, QCoreApplication::translate(
                               "FlashBuild", "Entry %1: the menu name \"%2\" holds the control "
                                             "character U+%3; a menu name may hold "
                                             "only printable characters.")
                               .arg(number, controlsShown(entry.name),
                                    QString::number(name.control, 16)
                                        .toUpper()
                                        .rightJustified(4, QLatin1Char('0'))));
    QString why;
    const std::optional<SnapshotRead> read = readEntrySource(entry, &kit, &why);
    if (!read)
        return fail(error, QCoreApplication::translate("FlashBuild", "Entry %1 (\"%2\"): %3")
                               .arg(number, entry.name, why));
    if (hasTapeName(entry.path)) {
        for (const HardwareWarning& warning : read->warnings) {
            if (!warnings.contains(warning.text))
                warnings << warning.text;
        }
    }
    return true;
}

bool checkWorkingFolder(const QString& folder, QString* error)
{
    const QFileInfo info(folder);
    QString message;
    if (!info.exists())
        message = QCoreApplication::translate(
            "FlashBuild", "The working folder %1 (setting \"%2\") does not exist.");
    else if (!info.isDir())
        message = QCoreApplication::translate(
            "FlashBuild", "The working folder %1 (setting \"%2\") is a file, not a folder.");
    else if (!info.isWritable())
        message = QCoreApplication::translate(
            "FlashBuild", "The working folder %1 (setting \"%2\") cannot be written to.");
    if (message.isEmpty())
        return true;
    return fail(error, message.arg(quotedPath(folder), Settings::kWorkingFolder));
}

} // namespace

std::optional<FlashJob> prepareBuild(const Kit& kit, const SnapshotEntries& entries,
                                     const BuildOptions& options, QString* error)
{
    FlashJob job;
    job.sources.bank1 = kit.bank1Path();
    job.sources.bank32 = kit.bank32Path();
    job.sources.entries = entries;
    job.sources.kit = kit;
    if (entries.size() != kEntryCount) {
        // Worded so that English needs no singular: "1 entries given" read wrong.
        fail(error, QCoreApplication::translate(
                        "FlashBuild", "The cartridge takes exactly %1 entries, not %2.")
                        .arg(QString::number(kEntryCount), QString::number(entries.size())));
        return std::nullopt;
    }
    if (!checkBankFile(job.sources.bank1, job.warnings, error)
        || !checkBankFile(job.sources.bank32, job.warnings, error))
        return std::nullopt;
    for (int i = 0; i < kEntryCount; ++i) {
        if (!checkEntry(i, entries.at(i), kit, job.warnings, error))
            return std::nullopt;
    }

    const Settings settings(kit);
    const std::optional<Settings::ImageSettings> values = settings.imageSettings(error);
    if (!values)
        return std::nullopt;
    job.sources.namesOffset = values->namesOffset;
    job.sources.registersOffset = values->registersOffset;

    job.output = options.output;
    if (job.output.isEmpty()) {
        if (!checkWorkingFolder(values->workingFolder, error))
            return std::nullopt;
        job.output = QDir(values->workingFolder).filePath(QStringLiteral("tessel.rom"));
    }

    job.inputs << job.sources.bank1 << job.sources.bank32 << settings.filePath();
    bool tapes = false;
    for (const SnapshotEntry& entry : entries) {
        job.inputs << entry.path;
        tapes = tapes || hasTapeName(entry.path);
    }
    // Tapes are loaded with the kit's ROM, an input like any other.
    if (const std::optional<Rom> rom = tapes ? findRom(&kit, nullptr) : std::nullopt)
        job.inputs << rom->path;
    job.inputs << options.otherInputs;
    if (!checkOutputFile(job.output, {job.inputs}, error))
        return std::nullopt;
    return job;
}

bool writeBuild(const FlashJob& job, QString* error)
{
    DurableFile file(job.output, {job.inputs});
    if (!file.open(error))
        return false;
    QString why;
    bool writing = false;
    if (!writeFlashImage(job.sources, file.device(), &why, &writing))
        return fail(error, writing ? file.writeFailure() : why);
    return file.commit(error);
}

std::optional<FlashJob> build(const Kit& kit, const SnapshotEntries& entries,
                              const BuildOptions& options, QString* error)
{
    std::optional<FlashJob> job = prepareBuild(kit, entries, options, error);
    if (!job || !writeBuild(*job, error))
        return std::nullopt;
    return job;
}

bool exportImage(const QString& image, const QString& target, const QStringList& inputs,
                 QString* error)
{
    QFile source(image);
    const QString cannotRead =
        QCoreApplication::translate("FlashBuild", "The working image %1 cannot be read (%2).");
    if (!openRegularFile(source, error, cannotRead))
        return false;
    if (source.size() != kImageSize)
        return fail(error, QCoreApplication::translate(
                               "FlashBuild", "The working image %1 is %2 bytes long, not %3; "
                                             "something changed it.")
                               .arg(quotedPath(image), QString::number(source.size()),
                                    QString::number(kImageSize)));
    DurableFile copy(target, {inputs + QStringList{image}});
    if (!copy.open(error))
        return false;
    QByteArray buffer(kAreaSize, '\0');
    for (;;) {
        const qint64 n = source.read(buffer.data(), buffer.size());
        if (n < 0)
            return fail(error, cannotRead.arg(quotedPath(image), source.errorString()));
        if (n == 0)
            break;
        if (!copy.write(QByteArrayView(buffer.constData(), n), error))
            return false;
    }
    return copy.commit(error);
}

} // namespace tessel
