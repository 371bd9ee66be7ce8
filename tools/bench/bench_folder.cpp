// The file list on a folder of many files: how long until the list holds
// every snapshot name, and the longest the event loop was kept from running
// meanwhile (what the user feels as a frozen window).
//
//   tessel-bench-folder [--files N] [--runs R] [--trace] [--non-uniform]
//
// Each run builds the window anew on a small folder, then opens the big one
// the way a click in the folder list does, leaves it and opens it again.
// --trace names each event that held the loop over 50 ms; --non-uniform
// undoes the list's uniform item sizes, to see what that setting saves.
#include "BenchSupport.h"

#include "companions/ProcessLauncher.h"
#include "snapshots/Volumes.h"
#include "ui/MainWindow.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QListView>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace tessel;
using namespace tessel::bench;

namespace {

struct Figures
{
    double rowsMs = 0; // until the list holds every name
    double settledMs = 0; // until changes and stalls ended and the list painted
    double longestGapMs = 0;
    double longestCpuMs = 0; // the most CPU the window's thread spent between ticks
    double longestAtMs = 0; // when that gap ended
    int gapsOver100 = 0;
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
Figures measureOpen(MainWindow& window, const QString& folder, int expected)
{
    FolderBrowser& browser = window.session().browser;
    auto* view = window.findChild<QListView*>(QStringLiteral("fleSelecciona"));
    StallMonitor monitor;
    PaintLog paints(view->viewport(), monitor);
    double lastChange = 0;
    QAbstractItemModel* model = browser.fileModel();
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
        browser.openFolder(folder);
    });
    const bool complete = waitUntil(
        [&] {
            return start >= 0 && browser.fileListPath() == folder
                   && browser.listCount() == expected;
        },
        300000);
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
                     browser.listCount(), expected);
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
    f.longestAtMs = monitor.longestEndMs() - start;
    f.gapsOver100 = monitor.gapsOver(100);
    return f;
}

// The list must still show exactly the snapshot names, sorted by name.
bool listIsRight(FolderBrowser& browser, int expected)
{
    QStringList names;
    for (int i = 0; i < browser.listCount(); ++i)
        names << browser.list(i);
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

void print(const char* what, const Figures& f)
{
    std::printf("  %-22s list filled %8.1f ms  settled %8.1f ms  longest stall %7.1f ms "
                "(CPU %6.1f ms, at %7.1f ms)  stalls >100 ms: %d\n",
                what, f.rowsMs, f.settledMs, f.longestGapMs, f.longestCpuMs, f.longestAtMs,
                f.gapsOver100);
    std::fflush(stdout);
}

// With --trace, every event that keeps the loop over 50 ms is printed with
// its receiver and what the models signalled meanwhile: where a stall comes from.
class TracingApplication final : public QApplication
{
public:
    using QApplication::QApplication;
    bool trace = false;
    QStringList signalled;

    void watch(QAbstractItemModel* model, const QString& name)
    {
        model->setObjectName(name);
        auto note = [this, name](const char* what) {
            return
                [this, name, what] { signalled << name + QLatin1Char(':') + QLatin1String(what); };
        };
        connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, note("layout"));
        connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, note("insert"));
        connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, note("remove"));
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this, note("reset"));
    }

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
        signalled.clear();
        ++m_depth;
        const bool result = QApplication::notify(receiver, event);
        --m_depth;
        const qint64 ms = clock.elapsed();
        if (ms > 50) {
            signalled.removeDuplicates();
            std::fprintf(stderr, "    trace: %lld ms (CPU %lld ms) in event %d to %s [%s]\n",
                         static_cast<long long>(ms),
                         static_cast<long long>((threadCpuNs() - cpu) / 1000000), type,
                         qPrintable(name), qPrintable(signalled.join(QLatin1Char(' '))));
        }
        return result;
    }

private:
    int m_depth = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    TracingApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    auto option = [&](const char* name, int fallback) {
        const int i = args.indexOf(QLatin1String(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1].toInt() : fallback;
    };
    const int files = option("--files", 100000);
    const int runs = option("--runs", 3);
    app.trace = args.contains(QStringLiteral("--trace"));
    // What the list costs when it measures every name: the window's setting undone.
    const bool nonUniform = args.contains(QStringLiteral("--non-uniform"));

    QTemporaryDir tmp;
    const QString big = tmp.filePath(QStringLiteral("big"));
    const QString small = tmp.filePath(QStringLiteral("small"));
    QDir().mkpath(small);
    makeBigFolder(small, 1);
    const int expected = makeBigFolder(big, files);
    if (countListable(big) != expected || countListable(small) != 1)
        qFatal("bench-folder: the generated folders do not list as planned");
    std::printf("folder of %d files, %d of them snapshots; %d runs\n", files, expected, runs);

    AutoPrompts prompts;
    NoGuard guard;
    SystemProcessLauncher launcher;
    SystemVolumes volumes;
    QList<Figures> first, back, again;
    bool right = true;
    for (int run = 0; run < runs; ++run) {
        const QString kit = makeKit(tmp.filePath(QStringLiteral("run%1").arg(run)), small);
        auto window = std::make_unique<MainWindow>(Kit(kit), prompts, guard, launcher, volumes);
        window->startUp();
        if (nonUniform)
            window->findChild<QListView*>(QStringLiteral("fleSelecciona"))
                ->setUniformItemSizes(false);
        window->show();
        FolderBrowser& browser = window->session().browser;
        if (app.trace) {
            app.watch(browser.folderModel(), QStringLiteral("folders"));
            app.watch(browser.fileModel(), QStringLiteral("list"));
            if (auto* proxy = qobject_cast<QAbstractProxyModel*>(browser.fileModel()))
                app.watch(proxy->sourceModel(), QStringLiteral("files"));
        }
        if (!waitUntil([&] { return browser.listCount() == 1; }, 10000))
            qFatal("bench-folder: the small folder never listed");
        waitUntil([] { return false; }, 300);

        std::printf("run %d\n", run + 1);
        first << measureOpen(*window, big, expected);
        print("open big folder", first.last());
        right = right && listIsRight(browser, expected);
        back << measureOpen(*window, small, 1);
        print("back to small folder", back.last());
        again << measureOpen(*window, big, expected);
        print("open big folder again", again.last());
        right = right && listIsRight(browser, expected);
        window.reset();
        waitUntil([] { return false; }, 200);
    }

    auto med = [](const QList<Figures>& list, double Figures::*field) {
        QList<double> values;
        for (const Figures& f : list)
            values << f.*field;
        return median(values);
    };
    std::printf("median of %d runs\n", runs);
    for (const auto& [name, list] :
         {std::pair{"open big folder", &first}, std::pair{"back to small folder", &back},
          std::pair{"open big folder again", &again}}) {
        std::printf("  %-22s list filled %8.1f ms  settled %8.1f ms  longest stall %7.1f ms (CPU "
                    "%.1f ms)\n",
                    name, med(*list, &Figures::rowsMs), med(*list, &Figures::settledMs),
                    med(*list, &Figures::longestGapMs), med(*list, &Figures::longestCpuMs));
    }
    std::printf("list content and order: %s\n", right ? "right" : "WRONG");
    return right ? 0 : 1;
}
