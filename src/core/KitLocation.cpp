// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/KitLocation.h"

#include "core/DurableFile.h"
#include "core/Errors.h"
#include "core/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace tessel {

namespace {

const QString kSettingsName = QStringLiteral("tessel.ini");
const QString kWorkingFolderName = QStringLiteral("flash");

// Windows names files in UTF-16; the bytes stand for them as UTF-8.
QString decodePath(const QByteArray& bytes)
{
#ifdef Q_OS_WIN
    return QString::fromUtf8(bytes);
#else
    return QFile::decodeName(bytes);
#endif
}

QByteArray encodePath(const QString& path)
{
#ifdef Q_OS_WIN
    return path.toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

std::nullopt_t refuse(QString* error, const QString& message)
{
    fail(error, message);
    return std::nullopt;
}

// Template files are small: read whole.
std::unique_ptr<DurableFile> stageFromTemplate(const QString& from, const QString& to,
                                               QString* error)
{
    QFile source(from);
    if (!openRegularFile(source, error,
                         QCoreApplication::translate("KitLocation",
                                                     "The template file %1 cannot be read (%2).")))
        return nullptr;
    const QByteArray bytes = source.readAll();
    auto target = std::make_unique<DurableFile>(to);
    // Writable by its owner even when the template is not: the program
    // writes its settings there.
    target->setPermissions(source.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    if (!target->open(error) || !target->write(bytes, error))
        return nullptr;
    return target;
}

bool fillDataFolder(const QString& templateFolder, const QString& dataFolder, QString* error)
{
    const QFileInfo data(dataFolder);
    if (data.exists() && !data.isDir()) {
        fail(error, QCoreApplication::translate(
                        "KitLocation", "The data folder %1 is a file, not a folder; move that file "
                                       "away so the program can keep its settings there.")
                        .arg(quotedPath(dataFolder)));
        return false;
    }
    if (!QDir().mkpath(dataFolder)) {
        fail(error,
             QCoreApplication::translate("KitLocation", "The data folder %1 cannot be created.")
                 .arg(quotedPath(dataFolder)));
        return false;
    }
    const QDir from(templateFolder);
    const QDir to(dataFolder);
    // Every missing file is written in full before any takes its name, so a
    // start stopped by a full disk leaves none of them (later starts never
    // replace a file, so a cut one would stay) and the next start tries again.
    std::vector<std::unique_ptr<DurableFile>> staged;
    QDirIterator files(templateFolder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to.filePath(from.relativeFilePath(source));
        const QFileInfo existing(target);
        if (existing.exists() || existing.isSymLink())
            continue;
        if (!QDir().mkpath(existing.absolutePath())) {
            fail(error,
                 QCoreApplication::translate("KitLocation", "The folder %1 cannot be created.")
                     .arg(quotedPath(existing.absolutePath())));
            return false;
        }
        std::unique_ptr<DurableFile> file = stageFromTemplate(source, target, error);
        if (!file)
            return false;
        staged.push_back(std::move(file));
    }
    if (!DurableFile::commitAll(staged, error))
        return false;
    // Made here rather than left to start-up, which skips the first-run
    // defaults when it has to make the working folder itself.
    const QString work = to.filePath(kWorkingFolderName);
    if (!QFileInfo(work).isDir() && !QDir().mkpath(work)) {
        fail(error,
             QCoreApplication::translate("KitLocation", "The working folder %1 cannot be created.")
                 .arg(quotedPath(work)));
        return false;
    }
    return true;
}

} // namespace

QByteArray executableFolder()
{
#ifdef Q_OS_LINUX
    QByteArray path(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            break;
        if (length < path.size()) {
            path.truncate(length);
            const qsizetype slash = path.lastIndexOf('/');
            return slash <= 0 ? QByteArray("/") : path.left(slash);
        }
        path.resize(path.size() * 2);
    }
#endif
    if (QCoreApplication::instance() == nullptr)
        return {};
    // Qt replaces what it cannot decode; such a name is no name at all.
    const QString folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty() || folder.contains(QChar::ReplacementCharacter))
        return {};
    return encodePath(folder);
}

#ifdef Q_OS_UNIX
QByteArray homeFolder()
{
    // Without HOME (cron, env -i, a service) the password database names
    // the home folder, never the root or the current folder.
    QByteArray home = qgetenv("HOME");
    if (!home.startsWith('/')) {
        home.clear();
        if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
            home = user->pw_dir;
    }
    return home.startsWith('/') ? home : QByteArray();
}

namespace {

// As the XDG rules say, a relative folder in the variable is ignored.
QString userFolder(const char* variable, const char* belowHome)
{
    QByteArray base = qgetenv(variable);
    if (!base.startsWith('/')) {
        const QByteArray home = homeFolder();
        if (home.isEmpty())
            return {};
        base = home + '/' + belowHome;
    }
    // Undecodable bytes show as the replacement character, which callers refuse.
    return QDir::cleanPath(QFile::decodeName(base) + QLatin1Char('/') + kInstalledFolderName);
}

} // namespace
#endif

QString userDataFolder()
{
#ifdef Q_OS_UNIX
    return userFolder("XDG_DATA_HOME", ".local/share");
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : QDir(base).filePath(kInstalledFolderName);
#endif
}

QString userCacheFolder()
{
#ifdef Q_OS_UNIX
    return userFolder("XDG_CACHE_HOME", ".cache");
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return base.isEmpty() ? QString() : QDir(base).filePath(kInstalledFolderName);
#endif
}

std::optional<KitLocation> locateKit(const QByteArray& executableFolder, const QString& dataFolder,
                                     QString* error)
{
    if (executableFolder.isEmpty())
        return refuse(error,
                      QCoreApplication::translate(
                          "KitLocation", "The folder this program lies in cannot be found, so "
                                         "neither can its settings file %1.")
                          .arg(kSettingsName));
    const QString folder = decodePath(executableFolder);
    if (encodePath(folder) != executableFolder)
        return refuse(error,
                      QCoreApplication::translate(
                          "KitLocation", "The program lies in the folder %1, whose name is not "
                                         "valid UTF-8; rename that folder, or move the program "
                                         "to one whose name is.")
                          .arg(quotedPath(folder)));
    const QDir exe(folder);
    if (QFileInfo::exists(exe.filePath(kSettingsName)))
        return KitLocation{KitMode::Portable, QDir::cleanPath(exe.absolutePath())};

    const QString templateFolder =
        QDir::cleanPath(exe.absoluteFilePath(QStringLiteral("../share/") + kInstalledFolderName));
    if (!QFileInfo(QDir(templateFolder).filePath(kSettingsName)).isFile())
        return refuse(error,
                      QCoreApplication::translate(
                          "KitLocation", "There is no settings file %1 beside the program in %2, "
                                         "nor an installed template in %3; put a %1 beside the "
                                         "program, or install it again.")
                          .arg(kSettingsName, quotedPath(folder), quotedPath(templateFolder)));
    if (dataFolder.isEmpty())
        return refuse(error,
                      QCoreApplication::translate(
                          "KitLocation", "The user's data folder cannot be found; set HOME or "
                                         "XDG_DATA_HOME."));
    if (dataFolder.contains(QChar::ReplacementCharacter))
        return refuse(error,
                      QCoreApplication::translate(
                          "KitLocation", "The data folder %1 has a name that is not valid UTF-8; "
                                         "set XDG_DATA_HOME to a folder whose name is.")
                          .arg(quotedPath(dataFolder)));
    const QString data = QDir::cleanPath(QDir(dataFolder).absolutePath());
    if (!fillDataFolder(templateFolder, data, error))
        return std::nullopt;
    return KitLocation{KitMode::Installed, data};
}

std::optional<KitLocation> locateKit(QString* error)
{
    return locateKit(executableFolder(), userDataFolder(), error);
}

} // namespace tessel
