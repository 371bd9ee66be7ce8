// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Session.h"

#include "core/Prompts.h"
#include "snapshots/AddSnapshot.h"
#include "snapshots/RemoveSnapshot.h"

#include <QDir>

namespace tessel {

Session::Session(const Kit& kit_, Prompts& prompts_, const VolumeSource& volumes)
    : kit(kit_)
    , settings(kit_)
    , prompts(prompts_)
    , browser(kit_, settings, prompts_, volumes)
{ }

int Session::currentRow() const
{
    const QModelIndex index = current.currentIndex();
    return index.isValid() ? index.row() : -1;
}

void Session::setCurrentRow(int row)
{
    if (row < 0 || row >= list.rowCount()) {
        current.clear();
        return;
    }
    current.setCurrentIndex(list.index(row, 0),
                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QString Session::currentSnapshot() const
{
    return list.entry(currentRow()).path;
}

namespace {

enum class Step { Done, PathNotFound, Failed };

// The first-run marker must read as a number; 0 means the defaults are due.
Step writeDefaultsOnFirstRun(Session& s)
{
    const std::optional<double> start = s.settings.firstRunMarker();
    if (!start)
        return Step::Failed;
    if (*start == 0)
        s.settings.writeFirstRunDefaults(s.kit.programFolder(), s.kit.workingFolder());
    return Step::Done;
}

Step reopenSnapshotFolder(Session& s)
{
    // Read once: the handlers that run below write this very key.
    const QString folder = s.settings.snapshotFolder();
    if (folder.isEmpty())
        return Step::Failed;
    const QString root = s.browser.rootOf(folder);
    if (root.isEmpty())
        return Step::Failed;
    s.browser.setDrive(root);
    switch (s.browser.setPath(folder)) {
    case BrowserError::None:
        return Step::Done;
    // A folder that cannot be read is as good as gone: no message here.
    case BrowserError::PathNotFound:
    case BrowserError::Unreadable:
        return Step::PathNotFound;
    default:
        return Step::Failed;
    }
}

Step runSteps(Session& s)
{
    if (!QDir::setCurrent(s.kit.workingFolder()))
        return Step::PathNotFound;
    const Step firstRun = writeDefaultsOnFirstRun(s);
    if (firstRun != Step::Done)
        return firstRun;
    return reopenSnapshotFolder(s);
}

} // namespace

void startUp(Session& s)
{
    s.list.clear();

    if (runSteps(s) != Step::PathNotFound)
        return;
    // A missing working folder is made anew, and a remembered folder that is
    // gone gives way to it.
    const QString work = s.kit.workingFolder();
    if (!QDir().mkpath(work))
        return;
    s.browser.setPath(work);
}

void addSelected(Session& s)
{
    QStringList selected;
    for (int i = 0; i < s.browser.listCount() && !s.list.isFull(); ++i) {
        if (!s.browser.isSelected(i))
            continue;
        QString error;
        const std::optional<QString> path = s.browser.filePath(i, &error);
        if (!path) {
            // A name that does not lead back to its file is refused like a bad file.
            s.prompts.message(error, kAppTitle, Icon::Exclamation, Buttons::Ok);
            s.browser.setSelected(i, false);
            return;
        }
        selected << *path;
    }
    // Nothing selected and room left: nothing to do and nothing to say.
    if (selected.isEmpty() && !s.list.isFull())
        return;
    s.browser.deselectFirst(addSnapshots(s.list, selected, s.prompts));
}

void removeCurrent(Session& s)
{
    s.setCurrentRow(removeEntry(s.list, s.currentRow(), s.prompts));
}

} // namespace tessel
