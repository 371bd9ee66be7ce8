// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/CompilationCommands.h"

#include "commands/AddSnapshot.h"
#include "commands/Compilation.h"
#include "commands/Prompts.h"
#include "commands/RemoveSnapshot.h"
#include "commands/SaveQuestions.h"
#include "commands/Session.h"
#include "commands/TapeLoading.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "flash/FlashExtract.h"
#include "formats/EntryList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tessel {

namespace {

QString saveTitle()
{
    return QCoreApplication::translate("CompilationCommands",
                                       "Select a name for the compilation...");
}

QStringList compilationFilters()
{
    return {QCoreApplication::translate("CompilationCommands", "Compilations (*.%1)")
                .arg(kCompilationExtension),
            QCoreApplication::translate("CompilationCommands", "All files (*)")};
}

void warn(Prompts& prompts, const QString& text)
{
    // Engine messages put a line break between lines; prompts a lone CR.
    prompts.message(QString(text).replace(QLatin1Char('\n'), QLatin1Char('\r')), kAppTitle,
                    Icon::Exclamation, Buttons::Ok);
}

RecentCompilations recent(const Session& s)
{
    return RecentCompilations(s.settings);
}

// Where a compilation dialog starts: beside the last compilation, else in
// the folder the browser shows.
QString compilationFolder(const Session& s, const QString& browsed)
{
    const QStringList last = recent(s).paths();
    if (!last.isEmpty() && QFileInfo(last.constFirst()).absoluteDir().exists())
        return QFileInfo(last.constFirst()).absolutePath();
    return browsed;
}

// Asked only when there is something to lose.
bool mayReplaceList(Session& s, const QString& question)
{
    if (s.captures.hasUnsavedChanges())
        return settleChanges(s);
    if (s.list.count() == 0)
        return true;
    return s.prompts.message(question, kAppTitle, Icon::Critical, Buttons::YesNo) == Answer::Yes;
}

// The entries read as the door reads them, given their notes; asked about
// once, listing them all, when some need hardware the cartridge lacks.
// `question` has %1 for the list file or image and %2 for those entries.
bool admitAll(Session& s, SnapshotEntries& entries, const QString& question, const QString& path)
{
    QString error;
    const std::optional<QStringList> needs = inspectEntries(entries, &s.kit, &error);
    if (!needs) {
        warn(s.prompts, error);
        return false;
    }
    if (needs->isEmpty())
        return true;
    return s.prompts.message(question.arg(quotedPath(path), needs->join(QLatin1Char('\r'))),
                             kAppTitle, Icon::Exclamation, Buttons::YesNo)
           == Answer::Yes;
}

void showEntries(Session& s, SnapshotEntries entries)
{
    for (SnapshotEntry& entry : entries)
        entry.path = QDir::toNativeSeparators(entry.path);
    // A new list: no row stays current.
    s.list.setEntries(entries);
}

} // namespace

void openCompilation(Session& s, const QString& browsed)
{
    OpenRequest request;
    request.title =
        QCoreApplication::translate("CompilationCommands", "Select a compilation to open...");
    request.initialFolder = compilationFolder(s, browsed);
    request.filters = compilationFilters();
    if (const std::optional<QString> chosen = s.prompts.openFileName(request))
        loadCompilation(s, *chosen);
}

bool loadCompilation(Session& s, const QString& path)
{
    QString error;
    // Its tapes loaded first, each with a progress bar, so that the check
    // below reads them from the cache.
    if (const std::optional<QList<EntryLine>> lines = readEntryLines(path, nullptr)) {
        QStringList sources;
        for (const EntryLine& line : *lines)
            sources << line.entry.path;
        if (!loadTapes(sources, &s.kit, s.prompts))
            return false;
    }
    std::optional<SnapshotEntries> entries = readCompilation(path, &s.kit, &error);
    if (!entries) {
        if (!QFileInfo::exists(path))
            recent(s).remove(path);
        warn(s.prompts, error);
        return false;
    }
    if (!admitAll(s, *entries,
                  QCoreApplication::translate(
                      "CompilationCommands",
                      "Some snapshots of the compilation %1 were saved with hardware the "
                      "cartridge does not give, and may not work without it:\r%2\rOpen the "
                      "compilation all the same?"),
                  path)
        || !mayReplaceList(s, QCoreApplication::translate("CompilationCommands",
                                                          "Are you sure? The actual list of SNAs "
                                                          "will be replaced by the compilation %1.")
                                  .arg(quotedPath(path))))
        return false;
    showEntries(s, *entries);
    s.captures.compilationHolds(path);
    recent(s).add(path);
    return true;
}

bool saveCompilation(Session& s, const QString& browsed)
{
    const SnapshotEntries entries = s.list.entries();
    if (entries.isEmpty()) {
        warn(s.prompts,
             QCoreApplication::translate("CompilationCommands",
                                         "The list is empty: there is no compilation to save."));
        return false;
    }
    QStringList inputs;
    for (const SnapshotEntry& entry : entries)
        inputs << entry.path;
    SaveRequest request;
    request.title = saveTitle();
    request.initialFolder = compilationFolder(s, browsed);
    request.defaultExtension = kCompilationExtension;
    request.filters = compilationFilters();
    QString target;
    for (;;) {
        const std::optional<QString> chosen = s.prompts.saveFileName(request);
        if (!chosen)
            return false;
        target = withDefaultExtension(*chosen, kCompilationExtension);
        const QString notAFile = notAFileMessage(target, fileKind(target));
        const bool snapshot = std::any_of(inputs.cbegin(), inputs.cend(),
                                          [&](const QString& in) { return sameFile(target, in); });
        if (!notAFile.isEmpty() || snapshot) {
            const QString why =
                snapshot ? QCoreApplication::translate(
                               "CompilationCommands", "The file %1 is one of the listed snapshots.")
                               .arg(quotedPath(target))
                         : notAFile;
            warn(s.prompts,
                 why + QLatin1Char('\r')
                     + QCoreApplication::translate("CompilationCommands", "Choose another name."));
            continue;
        }
        if (mayReplaceFile(s.prompts, target, saveTitle()))
            break;
    }
    QString error;
    if (!writeEntryList(target, entries, &error)) {
        warn(s.prompts,
             QCoreApplication::translate("CompilationCommands", "The compilation was not saved.")
                 + QLatin1Char('\r') + error);
        return false;
    }
    s.captures.compilationHolds(target);
    recent(s).add(target);
    s.prompts.message(
        QCoreApplication::translate("CompilationCommands", "The compilation %1 has been saved.")
            .arg(quotedPath(target)),
        kAppTitle, Icon::Information, Buttons::Ok);
    return true;
}

std::optional<OpenedImage> chooseFlashImage(Session& s, const QString& title)
{
    OpenRequest request;
    request.title = title;
    request.initialFolder = s.settings.workingFolder();
    request.filters = {
        QCoreApplication::translate("CompilationCommands", "Flash images (*.rom *.bin)"),
        QCoreApplication::translate("CompilationCommands", "All files (*)")};
    const std::optional<QString> image = s.prompts.openFileName(request);
    if (!image)
        return std::nullopt;
    QString error;
    std::optional<FlashContents> contents = readFlashImage(s.kit, *image, &error);
    if (!contents) {
        warn(s.prompts, error);
        return std::nullopt;
    }
    return OpenedImage{*image, std::move(*contents)};
}

bool takeApartImage(Session& s, const OpenedImage& opened)
{
    const QString& image = opened.path;
    const FlashContents& contents = opened.contents;
    if (!mayReplaceList(s,
                        QCoreApplication::translate("CompilationCommands",
                                                    "Are you sure? The actual list of SNAs will be "
                                                    "replaced by the snapshots of the "
                                                    "image %1.")
                            .arg(quotedPath(image))))
        return false;

    FolderRequest where;
    where.title = QCoreApplication::translate("CompilationCommands",
                                              "Select a folder for the snapshots of the image...");
    where.initialFolder = QFileInfo(image).absolutePath();
    QString folder;
    for (;;) {
        const std::optional<QString> chosen = s.prompts.folderName(where);
        if (!chosen)
            return false;
        folder = *chosen;
        where.initialFolder = folder;
        const QStringList taken = existingFiles(contents, folder);
        if (taken.isEmpty())
            break;
        const Answer replace =
            s.prompts.message(QCoreApplication::translate(
                                  "CompilationCommands",
                                  "The folder %1 already holds:\r%2\rDo you want to replace them?")
                                  .arg(quotedPath(folder), taken.join(QLatin1Char('\r'))),
                              kAppTitle, Icon::Exclamation, Buttons::YesNoDefaultNo);
        if (replace == Answer::Yes)
            break;
    }
    QString error;
    std::optional<Extraction> done = writeExtraction(contents, folder, image, true, &error);
    if (!done) {
        warn(s.prompts,
             QCoreApplication::translate("CompilationCommands", "The image was not taken apart.")
                 + QLatin1Char('\r') + error);
        return false;
    }
    // Its snapshots are plain .sna files, which name no hardware; read back,
    // they pass the door as any other.
    if (!admitAll(s, done->entries,
                  QCoreApplication::translate(
                      "CompilationCommands",
                      "Some snapshots of the image %1 were saved with hardware the cartridge does "
                      "not give, and may not work without it:\r%2\rList them all the same?"),
                  image))
        return false;
    showEntries(s, done->entries);
    s.captures.compilationHolds(done->listFile);
    recent(s).add(done->listFile);
    QString text =
        QCoreApplication::translate("CompilationCommands",
                                    "The snapshots of %1 and their compilation %2 have been "
                                    "written.")
            .arg(quotedPath(image), quotedPath(done->listFile));
    text += QLatin1Char('\r')
            + QCoreApplication::translate(
                "CompilationCommands",
                "Each snapshot holds its memory as the image holds it, with the pokes of any "
                "trainers the image was built with.");
    for (const QString& warning : contents.warnings)
        text += QLatin1Char('\r') + warning;
    s.prompts.message(text, kAppTitle, Icon::Information, Buttons::Ok);
    return true;
}

void openFlashImage(Session& s)
{
    if (const std::optional<OpenedImage> image =
            chooseFlashImage(s, QCoreApplication::translate("CompilationCommands",
                                                            "Select a flash image to open...")))
        takeApartImage(s, *image);
}

bool loadFlashImage(Session& s, const QString& image)
{
    QString error;
    std::optional<FlashContents> contents = readFlashImage(s.kit, image, &error);
    if (!contents) {
        warn(s.prompts, error);
        return false;
    }
    return takeApartImage(s, OpenedImage{image, std::move(*contents)});
}

bool settleChanges(Session& s)
{
    if (!s.captures.hasUnsavedChanges())
        return true;
    const QString name = s.captures.compilationName();
    const QString question =
        name.isEmpty()
            ? QCoreApplication::translate("CompilationCommands",
                                          "The list has not been saved as a compilation.\rDo you "
                                          "want to save it?")
            : QCoreApplication::translate("CompilationCommands",
                                          "The compilation \"%1\" has changes that are not "
                                          "saved.\rDo you want to save them?")
                  .arg(name);
    switch (s.prompts.message(question, kAppTitle, Icon::Exclamation, Buttons::SaveDiscardCancel)) {
    case Answer::Save:
        return saveCompilation(s, s.settings.snapshotFolder());
    case Answer::Discard:
        return true;
    default:
        return false;
    }
}

bool newList(Session& s)
{
    if (s.captures.hasUnsavedChanges()) {
        if (!settleChanges(s))
            return false;
        s.list.clear();
    } else if (!clearList(s.list, s.prompts)) {
        return false;
    }
    s.captures.setCompilation({});
    return true;
}

} // namespace tessel
