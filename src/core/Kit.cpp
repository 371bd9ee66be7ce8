// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Kit.h"

#include <QDir>
#include <QFileInfo>

namespace tessel {

Kit::Kit(const QString& programFolder, KitMode mode)
    : m_folder(QDir::cleanPath(QDir(programFolder).absolutePath()))
    , m_mode(mode)
{ }

QString Kit::file(const QString& relativePath) const
{
    return QDir(m_folder).filePath(relativePath);
}

QString Kit::settingsPath() const
{
    return file(QStringLiteral("tessel.ini"));
}

QString Kit::workingFolder() const
{
    return file(QStringLiteral("flash"));
}

QString Kit::bank1Path() const
{
    return file(QStringLiteral("bank1.rom"));
}

QString Kit::bank32Path() const
{
    return file(QStringLiteral("bank32.rom"));
}

QString Kit::firstSnapshotFolder() const
{
    if (m_mode == KitMode::Installed)
        return QDir::homePath();
    const QString demo = file(QStringLiteral("snapshots"));
    return QFileInfo(demo).isDir() ? demo : m_folder;
}

} // namespace tessel
