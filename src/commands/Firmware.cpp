// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Firmware.h"

#include "commands/Prompts.h"
#include "core/Cartridge.h"
#include "core/DurableFile.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/Kit.h"
#include "core/Settings.h"
#include "flash/FlashBuild.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <memory>
#include <vector>

namespace tessel {

namespace {

BankStatus bankStatus(const QString& path)
{
    const QFileInfo info(path);
    return {path, info.isFile(), info.isFile() ? info.size() : 0};
}

// A bank as chosen: its bytes, or why not. Anything larger than a whole
// image cannot be meant as a bank.
bool readBankSource(const QString& path, QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!openRegularFile(
            file, error,
            QCoreApplication::translate("Firmware", "The file %1 cannot be read (%2)."))) {
        if (error)
            *error +=
                QLatin1Char(' ') + QCoreApplication::translate("Firmware", "No file was copied.");
        return false;
    }
    if (file.size() == 0)
        return fail(error,
                    QCoreApplication::translate(
                        "Firmware", "The file %1 is empty, so it is no bank; no file was copied.")
                        .arg(quotedPath(path)));
    if (file.size() > kImageSize)
        return fail(error, QCoreApplication::translate(
                               "Firmware",
                               "The file %1 is %2 bytes long, larger than a whole flash image, "
                               "so it is no bank; no file was copied.")
                               .arg(quotedPath(path), QString::number(file.size())));
    bytes = file.read(kImageSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        return fail(error, QCoreApplication::translate(
                               "Firmware", "The file %1 cannot be read (%2); no file was copied.")
                               .arg(quotedPath(path), file.errorString()));
    return true;
}

// One table's offset as typed; the messages name the table.
struct OffsetField
{
    QString key;
    qint64 max;
    const char* empty;
    const char* wrong;
};

const OffsetField kNamesField = {
    Settings::kNamesOffset, kMaxNamesOffset,
    QT_TRANSLATE_NOOP("Firmware", "The offset of the name table is empty; type a whole number "
                                  "from 0 to %1."),
    QT_TRANSLATE_NOOP("Firmware", "The offset of the name table is \"%1\"; it must be a whole "
                                  "number from 0 to %2.")};
const OffsetField kRegistersField = {
    Settings::kRegistersOffset, kMaxRegistersOffset,
    QT_TRANSLATE_NOOP("Firmware", "The offset of the register table is empty; type a whole "
                                  "number from 0 to %1."),
    QT_TRANSLATE_NOOP("Firmware", "The offset of the register table is \"%1\"; it must be a "
                                  "whole number from 0 to %2.")};

bool checkTypedOffset(const QString& text, const OffsetField& field, QString* error)
{
    switch (checkOffset(text, field.max, nullptr)) {
    case OffsetCheck::Ok:
        return true;
    case OffsetCheck::Missing:
        return fail(error, QCoreApplication::translate("Firmware", field.empty).arg(field.max));
    case OffsetCheck::NotNumber:
    case OffsetCheck::OutOfRange:
        break;
    }
    return fail(error, QCoreApplication::translate("Firmware", field.wrong)
                           .arg(text.trimmed(), QString::number(field.max)));
}

} // namespace

FirmwareStatus firmwareStatus(const Kit& kit)
{
    const Settings settings(kit);
    return {kit.programFolder(), bankStatus(kit.bank1Path()), bankStatus(kit.bank32Path()),
            settings.value(Settings::kNamesOffset).trimmed(),
            settings.value(Settings::kRegistersOffset).trimmed()};
}

QString firmwareProblem(const Kit& kit)
{
    QStringList warnings;
    QString error;
    if (!checkBankFile(kit.bank1Path(), warnings, &error)
        || !checkBankFile(kit.bank32Path(), warnings, &error)
        || !Settings(kit).imageSettings(&error))
        return error;
    return {};
}

bool applyFirmware(const Kit& kit, const FirmwareChoice& choice, QString* error)
{
    const FirmwareStatus now = firmwareStatus(kit);
    QList<std::pair<QString, QString>> offsets;
    const auto typed = [&](const QString& text, const QString& stored, const OffsetField& field) {
        if (text.trimmed() == stored)
            return true;
        offsets.append({field.key, text.trimmed()});
        return checkTypedOffset(text, field, error);
    };
    if (!typed(choice.namesOffset, now.namesOffset, kNamesField)
        || !typed(choice.registersOffset, now.registersOffset, kRegistersField))
        return false;

    // Either bank may come from the other's current file (to swap them),
    // but never both from one file.
    const QString bank1From = choice.bank1Source.isEmpty() ? kit.bank1Path() : choice.bank1Source;
    const QString bank32From =
        choice.bank32Source.isEmpty() ? kit.bank32Path() : choice.bank32Source;
    if (sameFile(bank1From, bank32From))
        return fail(error, QCoreApplication::translate(
                               "Firmware",
                               "The same file, %1, was chosen for both banks; bank 1 and bank 32 "
                               "are different files. No file was copied.")
                               .arg(quotedPath(choice.bank1Source.isEmpty() ? choice.bank32Source
                                                                            : choice.bank1Source)));
    struct Copy
    {
        QString target;
        QByteArray bytes;
    };
    QList<Copy> copies;
    for (const auto& [source, target] : {std::pair{choice.bank1Source, kit.bank1Path()},
                                         std::pair{choice.bank32Source, kit.bank32Path()}}) {
        if (source.isEmpty())
            continue;
        Copy copy{target, {}};
        if (!readBankSource(source, copy.bytes, error))
            return false;
        copies.append(copy);
    }

    // Both written before either takes its name: a failure leaves both old
    // banks.
    std::vector<std::unique_ptr<DurableFile>> files;
    QString why;
    for (const Copy& copy : copies) {
        files.push_back(std::make_unique<DurableFile>(copy.target, OutputRules{{}, true}));
        if (!files.back()->open(&why) || !files.back()->write(copy.bytes, &why))
            break;
    }
    if (why.isEmpty())
        DurableFile::commitAll(files, &why);
    if (!why.isEmpty())
        return fail(error,
                    QCoreApplication::translate("Firmware", "The bank files were not changed.\r%1")
                        .arg(why));
    if (!offsets.isEmpty() && !Settings(kit).setValues(offsets, Settings::kSection))
        return fail(error, QCoreApplication::translate(
                               "Firmware",
                               "The table offsets could not be written to the settings file %1.")
                               .arg(quotedPath(kit.settingsPath())));
    return true;
}

std::optional<QString> chooseBankFile(Prompts& prompts, const QString& name,
                                      const QString& lastChoice)
{
    OpenRequest request;
    request.title =
        QCoreApplication::translate("Firmware", "Select the file to copy in as %1...").arg(name);
    request.initialFolder =
        lastChoice.isEmpty() ? QDir::homePath() : QFileInfo(lastChoice).absolutePath();
    request.filters = {QCoreApplication::translate("Firmware", "Bank files (*.rom *.bin)"),
                       QCoreApplication::translate("Firmware", "All files (*)")};
    return prompts.openFileName(request);
}

std::optional<QString> saveFirmware(const Kit& kit, const FirmwareChoice& choice, Prompts& prompts)
{
    QString error;
    if (!applyFirmware(kit, choice, &error)) {
        prompts.message(error, kAppTitle, Icon::Exclamation, Buttons::Ok);
        return std::nullopt;
    }
    const QString missing = firmwareProblem(kit);
    if (missing.isEmpty())
        return QCoreApplication::translate("Firmware", "Saved: Create Flash has all it needs.");
    return QCoreApplication::translate("Firmware", "Saved, but Create Flash still lacks something.")
           + QLatin1Char(' ') + missing;
}

} // namespace tessel
