// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/AddFiles.h"

#include "commands/AddSnapshot.h"
#include "commands/CompilationCommands.h"
#include "commands/Prompts.h"
#include "commands/Session.h"
#include "core/Cartridge.h"
#include "core/Errors.h"
#include "formats/EntryList.h"
#include "formats/FormatLibrary.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tessel {

namespace {

QString emptyFolderText(const QString& folder)
{
    return QCoreApplication::translate("AddFiles", "The folder %1 holds no snapshot files.")
        .arg(quotedPath(folder));
}

// Of the files dropped, what is read from a folder joins the batch.
void addFolderTo(Batch& batch, const QString& folder, const FolderLister& listFolder)
{
    QString error;
    const std::optional<FolderFiles> files = listFolder(folder, &error);
    if (!files)
        batch.refused << error;
    else if (files->paths.isEmpty() && files->refused.isEmpty())
        batch.refused << emptyFolderText(folder);
    else {
        batch.paths << files->paths;
        batch.refused << files->refused;
    }
}

bool isCompilation(const QFileInfo& file)
{
    return file.suffix().compare(kCompilationExtension, Qt::CaseInsensitive) == 0;
}

// A snapshot is never this size; a file of any other is no image. A tape
// may be, by chance.
bool isImage(const QFileInfo& file)
{
    return file.isFile() && file.size() == kImageSize && !hasTapeName(file.fileName());
}

} // namespace

void dropFiles(Session& s, const QStringList& paths, const FolderLister& listFolder)
{
    // Snapshots wait in a batch; a compilation or an image, which replaces
    // the list, comes after the snapshots dropped before it.
    Batch batch;
    const auto addWaiting = [&] {
        const bool waiting = !batch.paths.isEmpty() || !batch.refused.isEmpty();
        const bool stopped = waiting && addBatch(s.list, batch, s.prompts, &s.kit).stopped;
        batch = {};
        return !stopped;
    };
    for (const QString& path : paths) {
        const QFileInfo file(path);
        if (file.isDir()) {
            addFolderTo(batch, path, listFolder);
        } else if (isCompilation(file) || isImage(file)) {
            if (!addWaiting())
                return;
            if (isCompilation(file))
                loadCompilation(s, path);
            else
                loadFlashImage(s, path);
        } else {
            batch.paths << path;
        }
    }
    addWaiting();
}

void addFolder(Session& s, const QString& browsed, const FolderLister& listFolder)
{
    if (s.list.isFull()) {
        s.prompts.message(QCoreApplication::translate("AddFiles", "The compilation is complete. "
                                                                  "It's not posible to add more "
                                                                  "SNA's."),
                          kAppTitle, Icon::Exclamation, Buttons::Ok);
        return;
    }
    FolderRequest request;
    request.title =
        QCoreApplication::translate("AddFiles", "Select a folder whose snapshots to add...");
    request.initialFolder = browsed;
    const std::optional<QString> folder = s.prompts.folderName(request);
    if (!folder)
        return;
    QString error;
    std::optional<FolderFiles> files = listFolder(*folder, &error);
    if (files && files->paths.isEmpty() && files->refused.isEmpty()) {
        files.reset();
        error = emptyFolderText(*folder);
    }
    if (!files) {
        s.prompts.message(error, kAppTitle, Icon::Exclamation, Buttons::Ok);
        return;
    }
    addBatch(s.list, {files->paths, files->refused, Batch::Folder, *folder}, s.prompts, &s.kit);
}

} // namespace tessel
