// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace tessel::test {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(bytes) == bytes.size();
}

QMap<QString, QByteArray> treeContents(const QString& folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QByteArray mode = QByteArray::number(int(info.permissions()), 16) + ' ';
        entries.insert(QDir(folder).relativeFilePath(info.filePath()),
                       mode + (info.isDir() ? QByteArray("<dir>") : readFile(info.filePath())));
    }
    return entries;
}

} // namespace tessel::test
