// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/SaveQuestions.h"

#include "commands/Prompts.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tessel {

QString withDefaultExtension(const QString& chosen, const QString& extension)
{
    const QFileInfo file(chosen);
    if (!file.suffix().isEmpty() || file.fileName().isEmpty())
        return chosen;
    return chosen + (chosen.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral("."))
           + extension;
}

bool mayReplaceFile(Prompts& prompts, const QString& target, const QString& title)
{
    if (!QFileInfo::exists(target))
        return true;
    return prompts.message(QCoreApplication::translate(
                               "SaveQuestions", "%1 already exists.\rDo you want to replace it?")
                               .arg(QFileInfo(target).fileName()),
                           title, Icon::Exclamation, Buttons::YesNoDefaultNo)
           == Answer::Yes;
}

} // namespace tessel
