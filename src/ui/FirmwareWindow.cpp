// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FirmwareWindow.h"

#include "core/Cartridge.h"
#include "core/Errors.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessel {

FirmwareWindow::FirmwareWindow(const Kit& kit, Prompts& prompts, QWidget* parent)
    : QDialog(parent)
    , m_kit(kit)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmFirmware"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Firmware"));

    auto* folder = new QLabel(
        tr("The program folder %1 holds the firmware banks and, in its tessel.ini, the table "
           "offsets that came with them.")
            .arg(quotedPath(kit.programFolder())),
        this);
    folder->setObjectName(QStringLiteral("lblFolder"));
    folder->setTextFormat(Qt::PlainText);
    folder->setWordWrap(true);
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* banks = new QGroupBox(tr("Firmware banks"), this);
    auto* bankGrid = new QGridLayout(banks);
    addBankRow(bankGrid, 0, QStringLiteral("bank1.rom"), m_bank1);
    addBankRow(bankGrid, 1, QStringLiteral("bank32.rom"), m_bank32);
    m_bank1.choose->setObjectName(QStringLiteral("cmdBank1"));
    m_bank1.status->setObjectName(QStringLiteral("lblBank1"));
    m_bank32.choose->setObjectName(QStringLiteral("cmdBank32"));
    m_bank32.status->setObjectName(QStringLiteral("lblBank32"));
    bankGrid->setColumnStretch(1, 1);

    auto* offsets = new QGroupBox(tr("Table offsets"), this);
    auto* offsetGrid = new QGridLayout(offsets);
    m_names = new QLineEdit(offsets);
    m_names->setObjectName(QStringLiteral("txtNamesOffset"));
    m_registers = new QLineEdit(offsets);
    m_registers->setObjectName(QStringLiteral("txtRegistersOffset"));
    const auto addOffset = [&](int row, const QString& caption, QLineEdit* field) {
        auto* label = new QLabel(caption, offsets);
        label->setBuddy(field);
        field->setAccessibleName(caption);
        offsetGrid->addWidget(label, row, 0);
        offsetGrid->addWidget(field, row, 1);
    };
    addOffset(0, tr("&Name table, 0 to %1:").arg(kMaxNamesOffset), m_names);
    addOffset(1, tr("&Register table, 0 to %1:").arg(kMaxRegistersOffset), m_registers);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Save)->setObjectName(QStringLiteral("cmdSave"));
    buttons->button(QDialogButtonBox::Save)->setDefault(true);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this,
            &FirmwareWindow::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folder);
    layout->addWidget(banks);
    layout->addWidget(offsets);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);

    refresh();
}

void FirmwareWindow::addBankRow(QGridLayout* grid, int row, const QString& name, BankRow& bank)
{
    auto* label = new QLabel(name, grid->parentWidget());
    bank.status = new QLabel(grid->parentWidget());
    bank.status->setTextFormat(Qt::PlainText);
    bank.status->setWordWrap(true);
    bank.choose = new QPushButton(tr("Choose..."), grid->parentWidget());
    bank.choose->setAutoDefault(false);
    bank.choose->setAccessibleName(tr("Choose the file to copy in as %1").arg(name));
    grid->addWidget(label, row, 0);
    grid->addWidget(bank.status, row, 1);
    grid->addWidget(bank.choose, row, 2);
    connect(bank.choose, &QPushButton::clicked, this, [this, &bank, name] { choose(bank, name); });
}

void FirmwareWindow::refresh()
{
    const FirmwareStatus status = firmwareStatus(m_kit);
    m_bank1.source.clear();
    m_bank32.source.clear();
    showBank(m_bank1, status.bank1);
    showBank(m_bank32, status.bank32);
    m_names->setText(status.namesOffset);
    m_registers->setText(status.registersOffset);
}

void FirmwareWindow::showBank(const BankRow& bank, const BankStatus& status)
{
    QString text;
    if (!bank.source.isEmpty())
        text = tr("Save copies %1 here.").arg(quotedPath(bank.source));
    else if (!status.present)
        text = tr("Missing: choose the file that came with the cartridge firmware.");
    else if (status.size == kBankSize)
        text = tr("%1 bytes.").arg(locale().toString(status.size));
    else
        text = tr("%1 bytes, not %2: the image gets it fitted to that size.")
                   .arg(locale().toString(status.size), locale().toString(kBankSize));
    bank.status->setText(text);
}

void FirmwareWindow::choose(BankRow& bank, const QString& name)
{
    const std::optional<QString> chosen = chooseBankFile(m_prompts, name, bank.source);
    if (!chosen)
        return;
    bank.source = *chosen;
    const FirmwareStatus status = firmwareStatus(m_kit);
    showBank(bank, &bank == &m_bank1 ? status.bank1 : status.bank32);
    m_status->clear();
}

void FirmwareWindow::save()
{
    FirmwareChoice choice;
    choice.bank1Source = m_bank1.source;
    choice.bank32Source = m_bank32.source;
    choice.namesOffset = m_names->text();
    choice.registersOffset = m_registers->text();
    const std::optional<QString> saved = saveFirmware(m_kit, choice, m_prompts);
    if (!saved)
        return;
    refresh();
    m_status->setText(*saved);
}

} // namespace tessel
