// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/Prompts.h"
#include "core/InstanceGuard.h"
#include "core/Progress.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <utility>

namespace tessel::bench {

// A kit of its own for each run: the settings file says the first run is
// over and names the snapshot folder to show, so start-up goes straight to it.
// Returns the kit folder (inside base).
QString makeKit(const QString& base, const QString& snapshotFolder);

// The files a folder's list should show: visible files whose names match
// *.sna* in any case. Counted without Qt's models, to check them against.
int countListable(const QString& folder);

// Creates `total` empty files in folder, every fifth one a snapshot name.
// Returns the number of snapshot names.
int makeBigFolder(const QString& folder, int total);

double median(QList<double> values);
// The value below which the share `fraction` of the values lie (nearest rank).
double percentile(QList<double> values, double fraction);

// CPU time the calling thread has used, in ns.
qint64 threadCpuNs();

// Peak resident memory of the process, in KiB, since start or the last reset.
qint64 peakRssKiB();
qint64 rssKiB();
// False where the kernel cannot reset the peak; it then counts from start.
bool resetPeakRss();

// Runs the event loop until pred holds or timeoutMs passes.
bool waitUntil(const std::function<bool()>& pred, int timeoutMs);

// Records the longest wait between ticks of a short timer: how long the
// event loop was kept from running.
class StallMonitor : public QObject
{
public:
    explicit StallMonitor(int intervalMs = 4);
    void restart();
    // Time on the monitor's clock, in ms since restart().
    double nowMs() const { return m_clock.nsecsElapsed() / 1e6; }
    double longestMs() const { return m_longestNs / 1e6; }
    // The most CPU time this thread used between two ticks: the stall less
    // the time other processes held the CPU, for busy machines.
    double longestCpuMs() const { return m_longestCpuNs / 1e6; }
    // When the longest gap ended, in ms since restart().
    double longestEndMs() const { return m_longestEndNs / 1e6; }
    int gapsOver(double ms) const;
    // When the last gap longer than ms ended, in ms since restart(); 0 if none.
    double lastGapOverEndMs(double ms) const;

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longestNs = 0;
    qint64 m_longestEndNs = 0;
    qint64 m_lastCpu = 0;
    qint64 m_longestCpuNs = 0;
    QList<std::pair<qint64, qint64>> m_gaps; // end and length, in ns
};

class NoGuard final : public InstanceGuard
{
public:
    bool tryAcquire() override { return true; }
};

// Answers every question at once so a run never waits on a dialog: the
// default button, and the save path set here. Each message is echoed to
// stderr, since one in a benchmark means something went wrong.
class AutoPrompts final : public Prompts
{
public:
    QString savePath;
    int messages = 0;

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    InputAnswer input(const InputRequest& request) override;
    std::optional<QString> saveFileName(const SaveRequest& request) override;
    std::optional<QString> openFileName(const OpenRequest&) override { return std::nullopt; }
    std::optional<QString> folderName(const FolderRequest&) override { return std::nullopt; }
    bool runWithProgress(const ProgressRequest&, const std::function<void(Progress&)>& job) override
    {
        Progress progress;
        job(progress);
        return true;
    }
};

} // namespace tessel::bench
