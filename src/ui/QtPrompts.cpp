#include "ui/QtPrompts.h"

#include "ui/NamingDialog.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tessel {

namespace {

// Messages separate their lines with a lone carriage return.
QString displayed(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Answer QtPrompts::message(const QString& text, const QString& title, Icon icon, Buttons buttons)
{
    QMessageBox box(toQt(icon), title, displayed(text), QMessageBox::NoButton, m_parent);
    QPushButton* first = nullptr;
    switch (buttons) {
    case Buttons::Ok:
        first = box.addButton(QMessageBox::Ok);
        box.setEscapeButton(first);
        break;
    case Buttons::OkCancel:
        first = box.addButton(QMessageBox::Ok);
        box.addButton(QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        first = box.addButton(QMessageBox::Yes);
        box.setEscapeButton(box.addButton(QMessageBox::No));
        break;
    }
    box.setDefaultButton(first);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // Closing the box counts as its way out.
        return buttons == Buttons::Ok ? Answer::Ok
                                      : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
}

QString QtPrompts::input(const QString& prompt, const QString& title, const QString& defaultText)
{
    NamingDialog dialog(title, displayed(prompt), defaultText, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.name();
}

std::optional<QString> QtPrompts::saveFileName(const SaveRequest& request)
{
    QFileDialog dialog(m_parent, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace tessel
