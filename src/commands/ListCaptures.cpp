// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ListCaptures.h"

#include "commands/SnapshotList.h"
#include "formats/EntryList.h"

#include <QDir>
#include <QFileInfo>

namespace tessel {

namespace {

QString fileKey(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

ListCaptures::ListCaptures(const SnapshotList& list, QObject* parent)
    : QObject(parent)
    , m_list(list)
{
    connect(&list, &QAbstractItemModel::modelReset, this, &ListCaptures::changed);
    connect(&list, &QAbstractItemModel::rowsInserted, this, &ListCaptures::changed);
    connect(&list, &QAbstractItemModel::rowsRemoved, this, &ListCaptures::changed);
    connect(&list, &QAbstractItemModel::rowsMoved, this, &ListCaptures::changed);
    connect(&list, &QAbstractItemModel::dataChanged, this, &ListCaptures::changed);
}

QString ListCaptures::compilationName() const
{
    QString name = QFileInfo(m_compilation).fileName();
    const QString extension = QLatin1Char('.') + kCompilationExtension;
    if (name.endsWith(extension, Qt::CaseInsensitive) && name.size() > extension.size())
        name.chop(extension.size());
    return name;
}

void ListCaptures::setCompilation(const QString& path)
{
    if (path == m_compilation)
        return;
    m_compilation = path;
    emit changed();
}

void ListCaptures::compilationHolds(const QString& path)
{
    hold(path);
    m_compilation = path;
    emit changed();
}

void ListCaptures::imageHolds(const QString& path)
{
    hold(path);
    emit changed();
}

void ListCaptures::hold(const QString& path)
{
    m_held.insert(fileKey(path), m_list.entries());
}

bool ListCaptures::hasUnsavedChanges() const
{
    if (m_list.count() == 0)
        return false;
    for (const SnapshotEntries& held : m_held) {
        if (held == m_list.entries())
            return false;
    }
    return true;
}

} // namespace tessel
