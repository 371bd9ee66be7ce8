// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace tessel {

class Kit;
class Prompts;

// One of the kit's two bank files as it stands.
struct BankStatus
{
    QString path;
    bool present = false; // a regular file
    qint64 size = 0;
};

// What Tools > Firmware... shows: the program folder, its banks, and the two
// table offsets as the settings file holds them (text, perhaps not a number).
struct FirmwareStatus
{
    QString folder;
    BankStatus bank1;
    BankStatus bank32;
    QString namesOffset;
    QString registersOffset;
};

FirmwareStatus firmwareStatus(const Kit& kit);

// What Create Flash would lack of the firmware: a bank missing, unreadable or
// empty, or a table offset missing or out of its range; empty when nothing.
QString firmwareProblem(const Kit& kit);

// What the user set in Tools > Firmware...: files to copy in as the banks
// (empty: keep the bank there), and the two offsets as typed.
struct FirmwareChoice
{
    QString bank1Source;
    QString bank32Source;
    QString namesOffset;
    QString registersOffset;
};

// Checks everything first and changes nothing on a refusal: a bank source
// that is empty, unreadable or far too large, one file chosen for both
// banks, an offset that is not a whole number within its range (as Create
// Flash checks them). Then copies the chosen banks into the program folder,
// each replacing the old one only once whole (the sources stay where they
// are), and writes the offsets that differ from the settings file's, both
// in one replace: the only place the program writes them.
bool applyFirmware(const Kit& kit, const FirmwareChoice& choice, QString* error);

// Asks for the file to copy in as the bank `name` ("bank1.rom"), starting in
// the folder of the last choice, else the home folder; nothing on Cancel.
std::optional<QString> chooseBankFile(Prompts& prompts, const QString& name,
                                      const QString& lastChoice);

// Save in Tools > Firmware...: applies the choice, or tells the user why not
// and returns nothing. Saved, it says whether Create Flash has all it needs.
std::optional<QString> saveFirmware(const Kit& kit, const FirmwareChoice& choice, Prompts& prompts);

} // namespace tessel
