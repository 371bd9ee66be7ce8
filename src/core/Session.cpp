#include "core/Session.h"

#include "core/Settings.h"

#include <QDir>

namespace tessel {

Session::Session(const Kit& kit_, Prompts& prompts_, const VolumeSource& volumes)
    : kit(kit_)
    , prompts(prompts_)
    , browser(kit_, RutaIni, prompts_, volumes)
{ }

namespace {

enum class Step { Done, PathNotFound, Failed };

// The first-run marker must read as a number; 0 means the defaults are due.
Step writeDefaultsOnFirstRun(Session& s)
{
    bool isNumber = false;
    const double start = LeerIni(s.RutaIni, kSection, kKeyStart).trimmed().toDouble(&isNumber);
    if (!isNumber)
        return Step::Failed;
    if (start == 0) {
        EscribirIni(s.RutaIni, kSection, kKeyStart, QStringLiteral("1"));
        EscribirIni(s.RutaIni, kSection, kKeySnapsFolder,
                    QDir::toNativeSeparators(s.kit.programFolder()));
        EscribirIni(s.RutaIni, kSection, kKeyWorkFolder,
                    QDir::toNativeSeparators(s.kit.workingFolder()));
    }
    return Step::Done;
}

Step reopenSnapshotFolder(Session& s)
{
    // Read once: the handlers that run below write this very key.
    const QString folder = LeerIni(s.RutaIni, kSection, kKeySnapsFolder);
    if (folder.isEmpty())
        return Step::Failed;
    const QString root = s.browser.rootOf(folder);
    if (root.isEmpty())
        return Step::Failed;
    s.browser.setDrive(root);
    switch (s.browser.setPath(folder)) {
    case BrowserError::None:
        return Step::Done;
    case BrowserError::PathNotFound:
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
    s.RutaIni = s.kit.settingsPath();
    s.table.NumSnaps = 0;
    VaciarTabla(s.table);

    if (runSteps(s) != Step::PathNotFound)
        return;
    // A missing working folder is made anew, and a remembered folder that is
    // gone gives way to it.
    const QString work = s.kit.workingFolder();
    if (!QDir().mkpath(work))
        return;
    s.browser.setPath(work);
}

} // namespace tessel
