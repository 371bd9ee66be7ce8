#include "flash/CreateFlash.h"

#include "core/Prompts.h"
#include "core/Settings.h"
#include "flash/FlashImage.h"
#include "flash/FlashSources.h"
#include "snapshots/SnapshotTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tessel {

namespace {

const QString kNotBuilt = QStringLiteral("The flash image was not created.\r");

void warn(Prompts& prompts, const QString& text)
{
    prompts.message(text, kAppTitle, Icon::Exclamation, Buttons::Ok);
}

bool checkWorkingFolder(const QString& RutaIni, QString& folder, QString& error)
{
    folder = LeerIni(RutaIni, kSection, kKeyWorkFolder);
    if (folder.isEmpty()) {
        error = QStringLiteral("The setting \"%1\" in section [%2] of %3 is missing; it must name "
                               "the working folder.")
                    .arg(kKeyWorkFolder, kSection, quotedPath(RutaIni));
        return false;
    }
    const QFileInfo info(folder);
    QString problem;
    if (!info.exists())
        problem = QStringLiteral("does not exist");
    else if (!info.isDir())
        problem = QStringLiteral("is a file, not a folder");
    else if (!info.isWritable())
        problem = QStringLiteral("cannot be written to");
    if (problem.isEmpty())
        return true;
    error = QStringLiteral("The working folder %1 (setting \"%2\") %3.")
                .arg(quotedPath(folder), kKeyWorkFolder, problem);
    return false;
}

// A copy that replaces the target only once complete.
bool copyImage(const QString& from, const QString& to, QString& error)
{
    QFile source(from);
    QString reason;
    if (!openSource(source, reason)) {
        error = QStringLiteral("The working image %1 cannot be read (%2).")
                    .arg(quotedPath(from), reason);
        return false;
    }
    if (source.size() != kImageSize) {
        error =
            QStringLiteral("The working image %1 is %2 bytes long, not %3; something changed it.")
                .arg(quotedPath(from))
                .arg(source.size())
                .arg(kImageSize);
        return false;
    }
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = QStringLiteral("The file %1 cannot be created (%2).")
                    .arg(quotedPath(to), target.errorString());
        return false;
    }
    QByteArray buffer(kAreaSize, '\0');
    for (;;) {
        const qint64 n = source.read(buffer.data(), buffer.size());
        if (n < 0) {
            error = QStringLiteral("The working image %1 cannot be read (%2).")
                        .arg(quotedPath(from), source.errorString());
            return false;
        }
        if (n == 0)
            break;
        if (target.write(buffer.constData(), n) != n) {
            error = QStringLiteral("The file %1 cannot be written (%2).")
                        .arg(quotedPath(to), writeFailure(target));
            return false; // never committed, so the file there is as it was
        }
    }
    if (target.commit())
        return true;
    error = QStringLiteral("The file %1 cannot be written (%2).")
                .arg(quotedPath(to), target.errorString());
    return false;
}

bool sameFile(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

void exportImage(const QString& image, const QString& folder, Prompts& prompts)
{
    SaveRequest request;
    request.title = QStringLiteral("Select a name for the Tessel file...");
    request.overwritePrompt = true;
    request.initialFolder = folder;
    request.defaultExtension = QStringLiteral("rom");
    for (;;) {
        const std::optional<QString> chosen = prompts.saveFileName(request);
        if (!chosen) {
            const Answer sure =
                prompts.message(QStringLiteral("Creation of Flash file cancelled. Are you sure? "),
                                kAppTitle, Icon::Exclamation, Buttons::YesNo);
            if (sure == Answer::Yes)
                return;
            continue;
        }
        QString error;
        if (!sameFile(*chosen, image) && !copyImage(image, *chosen, error)) {
            warn(prompts, QStringLiteral("The flash image was not saved.\r%1\rThe image is still "
                                         "in %2.")
                              .arg(error, quotedPath(image)));
            return;
        }
        prompts.message(QStringLiteral("The file ") + *chosen
                            + QStringLiteral(" has been saved sucessfully."),
                        kAppTitle, Icon::Information, Buttons::Ok);
        return;
    }
}

} // namespace

bool prepareCreateFlash(const SnapshotTable& table, const Kit& kit, const QString& RutaIni,
                        FlashJob& job, QString& error)
{
    FlashEntries entries;
    for (int i = 0; i < kFlashEntries; ++i)
        entries[i] = {table.TablaSnaps[i][kColPath], table.TablaSnaps[i][kColName]};
    return prepareFlash(kit, RutaIni, entries, job.sources, error)
           && checkWorkingFolder(RutaIni, job.workingFolder, error);
}

void buildAndExport(const FlashJob& job, Prompts& prompts)
{
    const QString image = QDir(job.workingFolder).filePath(QStringLiteral("tessel.rom"));
    QString error;
    if (!buildFlashFile(job.sources, image, error)) {
        warn(prompts, kNotBuilt + error);
        return;
    }
    exportImage(image, job.workingFolder, prompts);
}

void CrearFlash(const SnapshotTable& table, const Kit& kit, const QString& RutaIni,
                Prompts& prompts)
{
    FlashJob job;
    QString error;
    if (!prepareCreateFlash(table, kit, RutaIni, job, error)) {
        warn(prompts, kNotBuilt + error);
        return;
    }
    buildAndExport(job, prompts);
}

void runCreateFlash(const SnapshotTable& table, const Kit& kit, const QString& RutaIni,
                    Prompts& prompts, BusySign& busy)
{
    if (table.NumSnaps != kMaxSnaps) {
        prompts.message(
            QStringLiteral("The Compilation is not complete. Add more Snapshots to the list."),
            QStringLiteral("Tessel"), Icon::Exclamation, Buttons::Ok);
        return;
    }
    struct Shown
    {
        BusySign& sign;
        explicit Shown(BusySign& s)
            : sign(s)
        {
            sign.show();
        }
        ~Shown() { sign.hide(); }
    } shown(busy);
    CrearFlash(table, kit, RutaIni, prompts);
}

} // namespace tessel
