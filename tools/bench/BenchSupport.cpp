// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchSupport.h"

#include "core/Kit.h"
#include "core/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace tessel::bench {

QString makeKit(const QString& base, const QString& snapshotFolder)
{
    const QString folder = QDir(base).filePath(QStringLiteral("kit"));
    const Kit kit(folder);
    QDir().mkpath(kit.workingFolder());
    const QString ini = kit.settingsPath();
    Settings(ini).setValue(Settings::kStart, QStringLiteral("1"));
    Settings(ini).setValue(Settings::kSnapshotFolder, snapshotFolder);
    Settings(ini).setValue(Settings::kWorkingFolder, kit.workingFolder());
    Settings(ini).setValue(Settings::kNamesOffset, QStringLiteral("8192"));
    Settings(ini).setValue(Settings::kRegistersOffset, QStringLiteral("8448"));
    return folder;
}

int countListable(const QString& folder)
{
    QDir dir(folder, QStringLiteral("*.sna*"), QDir::NoSort, QDir::Files);
    return int(dir.count());
}

int makeBigFolder(const QString& folder, int total)
{
    QDir().mkpath(folder);
    const QByteArray base = QFile::encodeName(folder);
    int snapshots = 0;
    for (int i = 0; i < total; ++i) {
        const char* ext = ".txt";
        if (i % 5 == 0) {
            ext = i % 10 == 0 ? ".sna" : ".SNA";
            ++snapshots;
        }
        const QByteArray path =
            base + QByteArray("/entry-") + QByteArray::number(i).rightJustified(6, '0') + ext;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            qFatal("cannot create %s", path.constData());
        ::close(fd);
    }
    return snapshots;
}

qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double percentile(QList<double> values, double fraction)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = qsizetype(std::ceil(fraction * double(values.size())));
    return values[std::clamp<qsizetype>(rank - 1, 0, values.size() - 1)];
}

namespace {
qint64 statusField(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(name) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}
} // namespace

qint64 peakRssKiB()
{
    return statusField("VmHWM");
}
qint64 rssKiB()
{
    return statusField("VmRSS");
}

bool resetPeakRss()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs)
{
    if (pred())
        return true;
    // Polled from the event loop, so the loop sleeps between checks.
    QEventLoop loop;
    QTimer poll;
    bool met = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (pred()) {
            met = true;
            loop.quit();
        }
    });
    poll.start(1);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return met;
}

StallMonitor::StallMonitor(int intervalMs)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &StallMonitor::tick);
}

void StallMonitor::restart()
{
    m_gaps.clear();
    m_longestNs = m_longestEndNs = m_longestCpuNs = 0;
    m_clock.start();
    m_last = 0;
    m_lastCpu = threadCpuNs();
    m_timer.start();
}

void StallMonitor::tick()
{
    const qint64 now = m_clock.nsecsElapsed();
    const qint64 gap = now - m_last;
    m_last = now;
    m_gaps.append({now, gap});
    const qint64 cpu = threadCpuNs();
    m_longestCpuNs = std::max(m_longestCpuNs, cpu - m_lastCpu);
    m_lastCpu = cpu;
    if (gap > m_longestNs) {
        m_longestNs = gap;
        m_longestEndNs = now;
    }
}

int StallMonitor::gapsOver(double ms) const
{
    return int(std::count_if(m_gaps.begin(), m_gaps.end(),
                             [ms](const auto& gap) { return gap.second / 1e6 > ms; }));
}

double StallMonitor::lastGapOverEndMs(double ms) const
{
    for (auto it = m_gaps.crbegin(); it != m_gaps.crend(); ++it) {
        if (it->second / 1e6 > ms)
            return it->first / 1e6;
    }
    return 0;
}

Answer AutoPrompts::message(const QString& text, const QString& title, Icon icon, Buttons buttons)
{
    Q_UNUSED(title)
    ++messages;
    // Information is the expected "saved" note of Create Flash.
    if (icon != Icon::Information)
        std::fprintf(stderr, "message: %s\n",
                     qPrintable(QString(text).replace(QLatin1Char('\r'), QLatin1Char(' '))));
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoDefaultNo ? Answer::Yes
                                                                           : Answer::Ok;
}

InputAnswer AutoPrompts::input(const InputRequest& request)
{
    return {Answer::Ok, request.defaultText};
}

std::optional<QString> AutoPrompts::saveFileName(const SaveRequest& request)
{
    Q_UNUSED(request)
    if (savePath.isEmpty())
        return std::nullopt;
    return savePath;
}

} // namespace tessel::bench
