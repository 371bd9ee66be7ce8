// SPDX-License-Identifier: GPL-3.0-or-later
#include "StandIn.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tessel::test {

StandInLog::StandInLog()
{
    qputenv("TESSEL_STANDIN_LOG", QFile::encodeName(m_dir.path()));
}

StandInLog::~StandInLog()
{
    qunsetenv("TESSEL_STANDIN_LOG");
}

bool StandInLog::install(const QString& target)
{
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return false;
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(TESSEL_ARGV_STANDIN), target))
        return false;
    return QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                             | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

QList<QStringList> StandInLog::starts() const
{
    QList<QStringList> result;
    const QDir dir(m_dir.path());
    for (const QString& name : dir.entryList({QStringLiteral("*.args")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QStringList arguments;
        for (const QByteArray& argument : file.readAll().split('\0'))
            arguments.append(QFile::decodeName(argument));
        arguments.removeLast(); // after the last NUL
        result.append(arguments);
    }
    return result;
}

} // namespace tessel::test
