// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StartUp.h"

#include "browser/FolderBrowser.h"
#include "commands/BrowserMessages.h"
#include "commands/Session.h"

#include <QDir>

namespace tessel {

namespace {

StartStep reopenSnapshotFolder(Session& s, FolderBrowser& browser)
{
    // Read once: the handlers that run below write this very key.
    const QString folder = s.settings.snapshotFolder();
    if (folder.isEmpty())
        return StartStep::Failed;
    const QString root = browser.rootOf(folder);
    if (root.isEmpty())
        return StartStep::Failed;
    browser.setDrive(root);
    switch (browser.setPath(folder)) {
    case BrowserError::None:
        return StartStep::Done;
    // A folder that cannot be read is as good as gone: no message here.
    case BrowserError::PathNotFound:
    case BrowserError::Unreadable:
        return StartStep::PathNotFound;
    default:
        return StartStep::Failed;
    }
}

} // namespace

void startUp(Session& s, FolderBrowser& browser)
{
    StartStep step = prepareRun(s);
    if (step == StartStep::Done)
        step = reopenSnapshotFolder(s, browser);
    if (step != StartStep::PathNotFound)
        return;
    // A missing working folder is made anew, and a remembered folder that is
    // gone gives way to it.
    const QString work = s.kit.workingFolder();
    if (!QDir().mkpath(work))
        return;
    browser.setPath(work);
}

void tellFolderProblems(FolderBrowser& browser, Prompts& prompts)
{
    QObject::connect(&browser, &FolderBrowser::problem, &browser,
                     [&prompts](FolderProblem problem, const QString& folder) {
                         switch (problem) {
                         case FolderProblem::NoDisk:
                             warnNoDisk(prompts);
                             break;
                         case FolderProblem::Gone:
                             warnFolderGone(prompts, folder);
                             break;
                         case FolderProblem::Unreadable:
                             warnFolderUnreadable(prompts, folder);
                             break;
                         }
                     });
}

} // namespace tessel
