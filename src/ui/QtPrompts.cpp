// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QtPrompts.h"

#include "core/Progress.h"
#include "ui/NamingDialog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <memory>

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

std::optional<QString> chosen(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace

Answer QtPrompts::message(const QString& text, const QString& title, Icon icon, Buttons buttons)
{
    // A long path or name gets places to wrap, or it widens the box past the screen.
    QMessageBox box(toQt(icon), title, breakableText(displayed(text)), QMessageBox::NoButton,
                    m_parent);
    // Names and paths are the user's own text: "<b>x</b>" shows as typed.
    box.setTextFormat(Qt::PlainText);
    QPushButton* first = nullptr;
    QPushButton* skip = nullptr;
    QPushButton* stop = nullptr;
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
    case Buttons::YesNoDefaultNo:
        box.addButton(QMessageBox::Yes);
        first = box.addButton(QMessageBox::No);
        box.setEscapeButton(first);
        break;
    case Buttons::OkSkipStop:
        first = box.addButton(QMessageBox::Ok);
        skip = box.addButton(QCoreApplication::translate("QtPrompts", "&Skip"),
                             QMessageBox::ActionRole);
        stop = box.addButton(QCoreApplication::translate("QtPrompts", "S&top"),
                             QMessageBox::RejectRole);
        box.setEscapeButton(stop);
        break;
    case Buttons::SaveDiscardCancel:
        first = box.addButton(QMessageBox::Save);
        box.addButton(QMessageBox::Discard);
        box.setEscapeButton(box.addButton(QMessageBox::Cancel));
        break;
    }
    box.setDefaultButton(first);
    box.exec();
    if (skip && box.clickedButton() == skip)
        return Answer::Skip;
    if (stop && box.clickedButton() == stop)
        return Answer::Stop;
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    default:
        // Closing the box counts as its way out.
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
        case Buttons::SaveDiscardCancel:
            return Answer::Cancel;
        case Buttons::OkSkipStop:
            return Answer::Stop;
        case Buttons::YesNo:
        case Buttons::YesNoDefaultNo:
            break;
        }
        return Answer::No;
    }
}

InputAnswer QtPrompts::input(const InputRequest& request)
{
    NamingDialog dialog(request.title, displayed(request.prompt), request.defaultText, request.note,
                        request.buttons, m_parent);
    if (m_screens && !request.snapshotPath.isEmpty())
        dialog.showScreenOf(*m_screens, request.snapshotPath);
    dialog.exec();
    if (dialog.answer() != Answer::Ok)
        return {dialog.answer(), {}};
    return {Answer::Ok, dialog.name()};
}

std::optional<QString> QtPrompts::saveFileName(const SaveRequest& request)
{
    QFileDialog dialog(m_parent, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultExtension);
    // The caller asks about the final name; a platform dialog would ask about
    // the name as typed, before the extension is added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.filters.isEmpty())
        dialog.setNameFilters(request.filters);
    return chosen(dialog);
}

std::optional<QString> QtPrompts::openFileName(const OpenRequest& request)
{
    QFileDialog dialog(m_parent, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!request.filters.isEmpty())
        dialog.setNameFilters(request.filters);
    return chosen(dialog);
}

std::optional<QString> QtPrompts::folderName(const FolderRequest& request)
{
    QFileDialog dialog(m_parent, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    return chosen(dialog);
}

bool QtPrompts::runWithProgress(const ProgressRequest& request,
                                const std::function<void(Progress&)>& job)
{
    constexpr int kSteps = 1000;
    Progress progress;
    QProgressDialog dialog(m_parent); // with Qt's own Cancel button
    dialog.setLabelText(displayed(request.text));
    dialog.setRange(0, kSteps);
    dialog.setWindowTitle(request.title);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // A job that ends at once shows nothing.
    dialog.setMinimumDuration(200);
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] { progress.cancel(); });

    QEventLoop loop;
    const std::unique_ptr<QThread> worker(QThread::create([&] { job(progress); }));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &dialog, [&] {
        if (!progress.cancelled())
            dialog.setValue(static_cast<int>(progress.done() * kSteps));
    });
    tick.start(40);
    worker->start();
    loop.exec();
    worker->wait();
    return !progress.cancelled();
}

} // namespace tessel
