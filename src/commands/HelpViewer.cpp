// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/HelpViewer.h"

#include "commands/Prompts.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/Kit.h"

#include <QCoreApplication>
#include <QFile>

namespace tessel {

namespace {

// A help text is a few pages; more is not a help text.
constexpr qint64 kMaxHelpSize = qint64(1) << 20;

} // namespace

QString helpFile(const Kit& kit)
{
    return kit.file(QStringLiteral("help.txt"));
}

std::optional<QString> readHelp(const Kit& kit, Prompts& prompts)
{
    const QString path = helpFile(kit);
    QFile file(path);
    const QString cannotRead =
        QCoreApplication::translate("HelpViewer", "The help text %1 cannot be read (%2).");
    QString message;
    if (openRegularFile(file, &message, cannotRead)) {
        if (file.size() > kMaxHelpSize)
            message =
                QCoreApplication::translate(
                    "HelpViewer", "The help text %1 cannot be read: it is larger than %2 bytes.")
                    .arg(quotedPath(path), QString::number(kMaxHelpSize));
        else if (const QByteArray bytes = file.readAll(); file.error() == QFileDevice::NoError)
            return QString::fromUtf8(bytes);
        else
            message = cannotRead.arg(quotedPath(path), file.errorString());
    }
    prompts.message(message, kAppTitle, Icon::Exclamation, Buttons::Ok);
    return std::nullopt;
}

} // namespace tessel
