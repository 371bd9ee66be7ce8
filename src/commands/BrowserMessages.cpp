// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/BrowserMessages.h"

#include "commands/Prompts.h"

#include <QCoreApplication>
#include <QDir>

namespace tessel {

namespace {

void warn(Prompts& prompts, const QString& text)
{
    prompts.message(text, kAppTitle, Icon::Exclamation, Buttons::Ok);
}

} // namespace

void warnNoDisk(Prompts& prompts)
{
    warn(prompts,
         QCoreApplication::translate(
             "BrowserMessages",
             "There is not a disk in the selected unit. Insert a disk or change the unit."));
}

void warnFolderGone(Prompts& prompts, const QString& folder)
{
    warn(prompts, QCoreApplication::translate(
                      "BrowserMessages", "The folder %1 cannot be opened: it no longer exists.")
                      .arg(QDir::toNativeSeparators(folder)));
}

void warnFolderUnreadable(Prompts& prompts, const QString& folder)
{
    warn(prompts,
         QCoreApplication::translate(
             "BrowserMessages", "The files of the folder %1 cannot be listed: it cannot be read.")
             .arg(QDir::toNativeSeparators(folder)));
}

} // namespace tessel
