// SPDX-License-Identifier: GPL-3.0-or-later
// The file list on a folder of many files, beside lists built from Qt
// alone: how long until the list holds every snapshot name, the longest the
// event loop was kept from running meanwhile (what the user feels as a
// frozen window), and the process's peak memory.
//
//   tessel-bench-folder [--files N] [--runs R] [--dir PATH] [--variants A,B,...] [--trace]
//
// R defaults to 30. The folders are made in a new folder inside PATH (by
// default the system's temporary folder): /dev/shm for tmpfs, a folder on
// the disk for the disk's file system.
// Each run starts one process per variant, in turn (each run starting with
// the next variant), so each has a clean heap and a peak of its own:
//   ours    the program's window, as its main() builds it
//   worker  a QListView (uniform item sizes) on a QStringListModel set in one
//           go from names read with QDirIterator and sorted with QCollator on
//           Qt's thread pool: a bare list built the way ours is
//   fsm     a QListView (uniform item sizes) on a QFileSystemModel filtered by
//           *.sna*, icons by kind: the best set-up of Qt's own model
//   dir     a QListView (uniform item sizes) on a QStringListModel filled from
//           QDir::entryList on the window's thread
// Each builds its list on a small folder, then opens the big one (as a
// click in the folder list does), goes back to the small one, and opens the
// big one again. The summary gives, per phase, the median, the 90th
// percentile and the maximum over the runs, and ours against each bare list.
// --trace names each event that held the loop over 50 ms.
#include "BenchSupport.h"

#include "browser/Volumes.h"
#include "commands/ProcessLauncher.h"
#include "ui/MainWindow.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QFileSystemModel>
#include <QFutureWatcher>
#include <QListView>
#include <QMainWindow>
#include <QProcess>
#include <QPromise>
#include <QStorageInfo>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

using namespace tessel;
using namespace tessel::bench;

namespace {

const QStringList kPhases{QStringLiteral("open"), QStringLiteral("back"), QStringLiteral("again")};
const QStringList kVariants{QStringLiteral("ours"), QStringLiteral("worker"), QStringLiteral("fsm"),
                            QStringLiteral("dir")};

struct Figures
{
    double rowsMs = 0; // until the list holds every name
    double settledMs = 0; // until changes and stalls ended and the list painted
    double longestGapMs = 0;
    double longestCpuMs = 0; // the most CPU the window's thread spent between ticks
};

// Something that shows one folder's snapshot names in a list view.
class Subject
{
public:
    virtual ~Subject() = default;
    virtual void open(const QString& folder) = 0;
    virtual bool shows(const QString& folder, int expected) const = 0;
    virtual QAbstractItemModel* model() const = 0;
    virtual QListView* view() const = 0;
    virtual QStringList names() const = 0;
};

class OurWindow final : public Subject
{
public:
    OurWindow(const QString& kit)
        : m_window(Kit(kit), m_prompts, m_guard, m_launcher, m_volumes)
    {
        m_window.startUp();
        m_window.show();
    }
    void open(const QString& folder) override { browser().openFolder(folder); }
    bool shows(const QString& folder, int expected) const override
    {
        const FolderBrowser& b = const_cast<OurWindow*>(this)->browser();
        return b.fileListPath() == folder && b.isFileListLoaded() && b.listCount() == expected;
    }
    QAbstractItemModel* model() const override
    {
        return const_cast<OurWindow*>(this)->browser().fileModel();
    }
    QListView* view() const override
    {
        return m_window.findChild<QListView*>(QStringLiteral("fleSelecciona"));
    }
    QStringList names() const override
    {
        QStringList result;
        const FolderBrowser& b = const_cast<OurWindow*>(this)->browser();
        for (int i = 0; i < b.listCount(); ++i)
            result << b.list(i);
        return result;
    }

private:
    FolderBrowser& browser() { return m_window.browser(); }

    AutoPrompts m_prompts;
    NoGuard m_guard;
    SystemProcessLauncher m_launcher;
    SystemVolumes m_volumes;
    MainWindow m_window;
};

// Icons and types by kind, made once: Qt's default looks up each file's
// content type on the window's thread, which no list of 100,000 files can
// afford.
class KindIcons final : public QAbstractFileIconProvider
{
public:
    QIcon icon(IconType type) const override
    {
        return type == File     ? m_file
               : type == Folder ? m_folder
                                : QAbstractFileIconProvider::icon(type);
    }
    QIcon icon(const QFileInfo& info) const override { return info.isDir() ? m_folder : m_file; }
    QString type(const QFileInfo& info) const override
    {
        return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
    }

private:
    QIcon m_file = QAbstractFileIconProvider::icon(File);
    QIcon m_folder = QAbstractFileIconProvider::icon(Folder);
};

class BareList : public Subject
{
public:
    BareList()
    {
        m_view.setUniformItemSizes(true);
        m_window.setCentralWidget(&m_view);
        m_window.resize(640, 480);
    }
    ~BareList() override { m_window.takeCentralWidget(); }
    QListView* view() const override { return const_cast<QListView*>(&m_view); }
    QStringList names() const override
    {
        QStringList result;
        for (int row = 0; row < m_view.model()->rowCount(m_view.rootIndex()); ++row)
            result << m_view.model()->index(row, 0, m_view.rootIndex()).data().toString();
        return result;
    }

protected:
    QMainWindow m_window;
    QListView m_view;
};

class FileSystemModelList final : public BareList
{
public:
    FileSystemModelList()
    {
        m_model.setIconProvider(&m_icons);
        m_model.setFilter(QDir::Files | QDir::NoDotAndDotDot);
        m_model.setNameFilters({QStringLiteral("*.sna*")});
        m_model.setNameFilterDisables(false);
        m_model.setReadOnly(true);
        m_view.setModel(&m_model);
        m_window.show();
    }
    void open(const QString& folder) override
    {
        m_model.setRootPath(folder);
        m_view.setRootIndex(m_model.index(folder));
    }
    bool shows(const QString& folder, int expected) const override
    {
        const QModelIndex root = m_model.index(folder);
        return m_view.rootIndex() == root && m_model.rowCount(root) == expected;
    }
    QAbstractItemModel* model() const override { return const_cast<QFileSystemModel*>(&m_model); }

private:
    KindIcons m_icons;
    QFileSystemModel m_model;
};

class DirList final : public BareList
{
public:
    DirList()
    {
        m_view.setModel(&m_model);
        m_window.show();
    }
    void open(const QString& folder) override
    {
        m_folder = folder;
        m_model.setStringList(QDir(folder).entryList({QStringLiteral("*.sna*")}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase));
    }
    bool shows(const QString& folder, int expected) const override
    {
        return m_folder == folder && m_model.rowCount() == expected;
    }
    QAbstractItemModel* model() const override { return const_cast<QStringListModel*>(&m_model); }

private:
    QStringListModel m_model;
    QString m_folder;
};

class WorkerList final : public BareList
{
public:
    WorkerList()
    {
        m_view.setModel(&m_model);
        QObject::connect(&m_job, &QFutureWatcherBase::finished, [this] {
            if (m_job.future().resultCount() == 0)
                return;
            m_model.setStringList(m_job.future().result());
            m_shown = m_asked;
        });
        m_window.show();
    }
    void open(const QString& folder) override
    {
        m_asked = folder;
        m_job.cancel();
        auto promise = std::make_shared<QPromise<QStringList>>();
        m_job.setFuture(promise->future());
        promise->start();
        QThreadPool::globalInstance()->start([promise, folder] {
            QStringList names;
            QDirIterator it(folder, {QStringLiteral("*.sna*")}, QDir::Files);
            while (it.hasNext()) {
                it.next();
                names << it.fileName();
            }
            QCollator byName;
            byName.setNumericMode(true);
            byName.setCaseSensitivity(Qt::CaseInsensitive);
            std::sort(names.begin(), names.end(), byName);
            promise->addResult(names);
            promise->finish();
        });
    }
    bool shows(const QString& folder, int expected) const override
    {
        return m_shown == folder && m_model.rowCount() == expected;
    }
    QAbstractItemModel* model() const override { return const_cast<QStringListModel*>(&m_model); }

private:
    QStringListModel m_model;
    QFutureWatcher<QStringList> m_job;
    QString m_asked;
    QString m_shown;
};

// Paints of the list, on the monitor's clock.
class PaintLog final : public QObject
{
public:
    PaintLog(QWidget* viewport, const StallMonitor& clock)
        : m_clock(clock)
    {
        viewport->installEventFilter(this);
    }
    QList<double> times;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            times.append(m_clock.nowMs());
        return QObject::eventFilter(watched, event);
    }

private:
    const StallMonitor& m_clock;
};

// Opens `folder` from the event loop, as the folder list's click handler
// does, and watches until `expected` names are listed plus a quiet tail.
Figures measureOpen(Subject& subject, const QString& folder, int expected)
{
    StallMonitor monitor;
    PaintLog paints(subject.view()->viewport(), monitor);
    double lastChange = 0;
    QAbstractItemModel* model = subject.model();
    auto changed = [&] { lastChange = monitor.nowMs(); };
    QList<QMetaObject::Connection> links{
        QObject::connect(model, &QAbstractItemModel::rowsInserted, changed),
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, changed),
        QObject::connect(model, &QAbstractItemModel::layoutChanged, changed),
        QObject::connect(model, &QAbstractItemModel::modelReset, changed),
    };

    double start = -1;
    monitor.restart();
    QTimer::singleShot(20, [&] {
        start = monitor.nowMs();
        subject.open(folder);
    });
    const bool complete =
        waitUntil([&] { return start >= 0 && subject.shows(folder, expected); }, 300000);
    const double rowsAt = monitor.nowMs();
    // Sorting, laying out and re-reading may follow the last row: watch
    // until a second has passed with no change and no stall.
    waitUntil(
        [&] {
            const double now = monitor.nowMs();
            const double lastStall = monitor.lastGapOverEndMs(50);
            return now - std::max({rowsAt, lastChange, lastStall}) > 1000;
        },
        300000);
    for (const auto& link : links)
        QObject::disconnect(link);

    Figures f;
    if (!complete) {
        std::fprintf(stderr, "bench-folder: %s: %d of %d names listed\n", qPrintable(folder),
                     int(subject.names().size()), expected);
        f.rowsMs = -1;
    } else {
        f.rowsMs = rowsAt - start;
    }
    const double quietFrom = std::max({rowsAt, lastChange, monitor.lastGapOverEndMs(50)});
    double shown = -1;
    for (double t : paints.times) {
        if (t >= quietFrom) {
            shown = t;
            break;
        }
    }
    f.settledMs = (shown < 0 ? quietFrom : shown) - start;
    f.longestGapMs = monitor.longestMs();
    f.longestCpuMs = monitor.longestCpuMs();
    return f;
}

// The list must show exactly the snapshot names, sorted by name as a
// person reads them (numbers by value, letters in any case).
bool listIsRight(const QStringList& names, int expected)
{
    QStringList sorted = names;
    QCollator byName;
    byName.setNumericMode(true);
    byName.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(sorted.begin(), sorted.end(), byName);
    const bool allSna = std::all_of(names.begin(), names.end(), [](const QString& n) {
        return n.contains(QStringLiteral(".sna"), Qt::CaseInsensitive)
               && !n.startsWith(QLatin1Char('.'));
    });
    return names.size() == expected && allSna && names == sorted;
}

// With --trace, every event that keeps the loop over 50 ms is printed with
// its receiver: where a stall comes from.
class TracingApplication final : public QApplication
{
public:
    using QApplication::QApplication;
    bool trace = false;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!trace || m_depth > 0 || QThread::currentThread() != thread())
            return QApplication::notify(receiver, event);
        QElapsedTimer clock;
        clock.start();
        const qint64 cpu = threadCpuNs();
        const int type = event->type();
        // The receiver may delete itself while handling the event.
        const QString name = QLatin1String(receiver->metaObject()->className())
                             + QStringLiteral(" \"") + receiver->objectName() + QLatin1Char('"');
        ++m_depth;
        const bool result = QApplication::notify(receiver, event);
        --m_depth;
        const qint64 ms = clock.elapsed();
        if (ms > 50)
            std::fprintf(stderr, "    trace: %lld ms (CPU %lld ms) in event %d to %s\n",
                         static_cast<long long>(ms),
                         static_cast<long long>((threadCpuNs() - cpu) / 1000000), type,
                         qPrintable(name));
        return result;
    }

private:
    int m_depth = 0;
};

// One variant in this process; prints a line per phase and the peak memory.
//   --child VARIANT BIG SMALL EXPECTED KIT [--trace]
int child(int argc, char* argv[])
{
    TracingApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString variant = args[2];
    const QString big = args[3];
    const QString small = args[4];
    const int expected = args[5].toInt();
    app.trace = args.contains(QStringLiteral("--trace"));

    std::unique_ptr<Subject> subject;
    if (variant == QLatin1String("ours"))
        subject = std::make_unique<OurWindow>(args[6]);
    else if (variant == QLatin1String("worker"))
        subject = std::make_unique<WorkerList>();
    else if (variant == QLatin1String("fsm"))
        subject = std::make_unique<FileSystemModelList>();
    else
        subject = std::make_unique<DirList>();
    subject->open(small);
    if (!waitUntil([&] { return subject->shows(small, 1); }, 10000))
        qFatal("bench-folder: the small folder never listed");
    waitUntil([] { return false; }, 300);

    bool right = true;
    for (const QString& phase : kPhases) {
        const bool toBig = phase != QLatin1String("back");
        const Figures f = measureOpen(*subject, toBig ? big : small, toBig ? expected : 1);
        if (toBig)
            right = right && listIsRight(subject->names(), expected);
        std::printf("%s %.3f %.3f %.3f %.3f\n", qPrintable(phase), f.rowsMs, f.settledMs,
                    f.longestGapMs, f.longestCpuMs);
    }
    std::printf("peak %lld right %d\n", static_cast<long long>(peakRssKiB()), right ? 1 : 0);
    std::fflush(stdout);
    std::_Exit(0); // tearing down is no part of the figures
}

struct Run
{
    QHash<QString, Figures> phases;
    qint64 peakKiB = 0;
    bool right = false;
};

bool runChild(const QStringList& arguments, Run& run)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(), arguments);
    if (!process.waitForFinished(900000))
        return false;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.trimmed().split(' ');
        if (f.size() == 5 && kPhases.contains(QString::fromLatin1(f[0]))) {
            run.phases.insert(QString::fromLatin1(f[0]),
                              {f[1].toDouble(), f[2].toDouble(), f[3].toDouble(), f[4].toDouble()});
        } else if (f.size() == 4 && f[0] == "peak") {
            run.peakKiB = f[1].toLongLong();
            run.right = f[3] == "1";
        }
    }
    return run.phases.size() == kPhases.size() && run.peakKiB > 0;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll().split(' ').mid(0, 3).join(' '));
}

int parent(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    auto option = [&](const char* name, const QString& fallback) {
        const int i = args.indexOf(QLatin1String(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    const int files = option("--files", QStringLiteral("100000")).toInt();
    const int runs = option("--runs", QStringLiteral("30")).toInt();
    const QString base = option("--dir", QDir::tempPath());
    const bool trace = args.contains(QStringLiteral("--trace"));
    const QStringList variants =
        option("--variants", option("--only", kVariants.join(QLatin1Char(','))))
            .split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& variant : variants) {
        if (!kVariants.contains(variant)) {
            std::fprintf(stderr, "bench-folder: no variant %s\n", qPrintable(variant));
            return 2;
        }
    }

    QTemporaryDir tmp(QDir(base).filePath(QStringLiteral("tessel-bench-XXXXXX")));
    if (!tmp.isValid()) {
        std::fprintf(stderr, "bench-folder: cannot make a folder in %s\n", qPrintable(base));
        return 1;
    }
    const QString big = tmp.filePath(QStringLiteral("big"));
    const QString small = tmp.filePath(QStringLiteral("small"));
    QDir().mkpath(small);
    makeBigFolder(small, 1);
    const int expected = makeBigFolder(big, files);
    if (countListable(big) != expected || countListable(small) != 1)
        qFatal("bench-folder: the generated folders do not list as planned");
    std::printf("folder of %d files, %d of them snapshots, in %s (%s); %d runs of each variant, "
                "in turn; %d CPUs, load average %s\n",
                files, expected, qPrintable(tmp.path()),
                QStorageInfo(tmp.path()).fileSystemType().constData(), runs,
                QThread::idealThreadCount(), qPrintable(loadAverage()));
    std::fflush(stdout);

    QHash<QString, QList<Run>> results;
    bool right = true;
    for (int run = 0; run < runs; ++run) {
        for (qsizetype v = 0; v < variants.size(); ++v) {
            const QString& variant = variants[(run + v) % variants.size()];
            const QString kit =
                makeKit(tmp.filePath(QStringLiteral("run%1-%2").arg(run).arg(variant)), small);
            QStringList childArgs{QStringLiteral("--child"), variant, big, small,
                                  QString::number(expected), kit};
            if (trace)
                childArgs << QStringLiteral("--trace");
            Run r;
            if (!runChild(childArgs, r)) {
                std::fprintf(stderr, "bench-folder: %s run %d failed\n", qPrintable(variant),
                             run + 1);
                return 1;
            }
            std::printf("run %2d %-6s", run + 1, qPrintable(variant));
            for (const QString& phase : kPhases) {
                const Figures& f = r.phases[phase];
                std::printf(" | %s: filled %6.1f ms, stall %6.1f ms (CPU %5.1f)", qPrintable(phase),
                            f.rowsMs, f.longestGapMs, f.longestCpuMs);
            }
            std::printf(" | peak %lld KiB%s\n", static_cast<long long>(r.peakKiB),
                        r.right ? "" : " | LIST WRONG");
            std::fflush(stdout);
            right = right && r.right;
            results[variant] << r;
        }
    }

    auto values = [&](const QString& variant, const QString& phase, double Figures::*field) {
        QList<double> list;
        for (const Run& r : results[variant])
            list << r.phases[phase].*field;
        return list;
    };
    auto peaks = [&](const QString& variant) {
        QList<double> list;
        for (const Run& r : results[variant])
            list << double(r.peakKiB);
        return list;
    };
    auto maximum = [](const QList<double>& list) {
        return list.isEmpty() ? 0.0 : *std::max_element(list.begin(), list.end());
    };
    const QString ours = QStringLiteral("ours");
    const bool paired = results.contains(ours);
    std::printf("\n%d runs, load average %s at the end; median, 90th percentile and maximum\n",
                runs, qPrintable(loadAverage()));
    for (const QString& phase : kPhases) {
        std::printf("%s:\n", qPrintable(phase));
        for (const QString& variant : variants) {
            const QList<double> filled = values(variant, phase, &Figures::rowsMs);
            const QList<double> stall = values(variant, phase, &Figures::longestGapMs);
            const QList<double> cpu = values(variant, phase, &Figures::longestCpuMs);
            const auto over50 =
                std::count_if(stall.begin(), stall.end(), [](double ms) { return ms > 50; });
            std::printf("  %-6s filled %7.1f / %7.1f / %7.1f ms  stall %6.1f / %6.1f / %6.1f ms "
                        "(CPU max %5.1f), %d over 50 ms\n",
                        qPrintable(variant), median(filled), percentile(filled, 0.9),
                        maximum(filled), median(stall), percentile(stall, 0.9), maximum(stall),
                        maximum(cpu), int(over50));
        }
        if (!paired)
            continue;
        for (const QString& variant : variants) {
            if (variant == ours)
                continue;
            auto ratio = [&](double Figures::*field, auto statistic) {
                return statistic(values(ours, phase, field))
                       / statistic(values(variant, phase, field));
            };
            auto p90 = [](const QList<double>& list) { return percentile(list, 0.9); };
            std::printf("  ours to %-6s filled %.2f / %.2f / %.2f, stall %.2f / %.2f / %.2f\n",
                        qPrintable(variant), ratio(&Figures::rowsMs, median),
                        ratio(&Figures::rowsMs, p90), ratio(&Figures::rowsMs, maximum),
                        ratio(&Figures::longestGapMs, median), ratio(&Figures::longestGapMs, p90),
                        ratio(&Figures::longestGapMs, maximum));
        }
    }
    std::printf("peak memory, median / maximum:\n");
    for (const QString& variant : variants) {
        std::printf("  %-6s %8.0f / %8.0f KiB", qPrintable(variant), median(peaks(variant)),
                    maximum(peaks(variant)));
        if (paired && variant != ours)
            std::printf("  ours to it %.3f / %.3f", median(peaks(ours)) / median(peaks(variant)),
                        maximum(peaks(ours)) / maximum(peaks(variant)));
        std::printf("\n");
    }
    std::printf("list content and order: %s\n", right ? "right" : "WRONG");
    return right ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 7 && std::string_view(argv[1]) == "--child")
        return child(argc, argv);
    return parent(argc, argv);
}
