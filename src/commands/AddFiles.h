// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace tessel {

struct Session;

// The snapshot files of a folder, as the browser would list them.
struct FolderFiles
{
    QStringList paths; // in name order
    QStringList refused; // files listed that cannot be added, one sentence each
};

// Lists a folder's snapshot files; nothing when the folder cannot be read
// (*error says why).
using FolderLister =
    std::function<std::optional<FolderFiles>(const QString& folder, QString* error)>;

// Files dropped on the file list or the grid, in the order given: a
// compilation (.tessel) opens as Open Compilation opens it, a flash image
// (524,288 bytes) as Open Flash Image does, a folder gives its snapshots,
// and the snapshots are added as one batch (see addBatch()), with Skip and
// Stop when there are several. Stop ends the whole drop.
void dropFiles(Session& session, const QStringList& paths, const FolderLister& listFolder);

// File > Add Folder...: a folder chosen (the dialog starts in `browsed`),
// then its snapshots added in name order until the list is full.
void addFolder(Session& session, const QString& browsed, const FolderLister& listFolder);

} // namespace tessel
