// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/Firmware.h"
#include "core/Kit.h"

#include <QDialog>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessel {

class Prompts;

// Tools > Firmware...: the program folder, its two bank files (there or not,
// and their sizes) and the two table offsets. The user picks files to copy
// in as banks and types the offsets; Save checks and writes them all at once
// (applyFirmware()), and is the only way the program writes the offsets.
class FirmwareWindow final : public QDialog
{
    Q_OBJECT

public:
    FirmwareWindow(const Kit& kit, Prompts& prompts, QWidget* parent = nullptr);

    // Reads the folder and the settings file again; choices not saved go.
    void refresh();
    void save();

private:
    struct BankRow
    {
        QLabel* status = nullptr;
        QPushButton* choose = nullptr;
        QString source;
    };

    void addBankRow(QGridLayout* grid, int row, const QString& name, BankRow& bank);
    void choose(BankRow& bank, const QString& name);
    void showBank(const BankRow& bank, const BankStatus& status);

    Kit m_kit;
    Prompts& m_prompts;
    BankRow m_bank1;
    BankRow m_bank32;
    QLineEdit* m_names = nullptr;
    QLineEdit* m_registers = nullptr;
    QLabel* m_status = nullptr;
};

} // namespace tessel
