// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tessel::test {

// The folder where the argument-recording stand-in program logs each start.
// While one exists, every stand-in started from this process logs into it.
class StandInLog
{
public:
    StandInLog();
    ~StandInLog();
    StandInLog(const StandInLog&) = delete;
    StandInLog& operator=(const StandInLog&) = delete;

    // Copies the stand-in to `target` (creating its folder), executable.
    static bool install(const QString& target);

    // The arguments of each start logged so far, in no particular order.
    QList<QStringList> starts() const;

private:
    QTemporaryDir m_dir;
};

} // namespace tessel::test
