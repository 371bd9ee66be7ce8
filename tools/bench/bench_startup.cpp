// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the window: from launch until the main window is shown and
// the file list holds the names of its folder, beside a bare window built
// from Qt alone (a QMainWindow whose central widget is a QListView on a
// QFileSystemModel of the same folder, filtered by *.sna*). Each run is a
// new process, ours built as the program's own main() builds it, on a kit
// of its own; ours and the bare one take turns.
//
//   tessel-bench-startup [--runs N] [--folder SNAPSHOT_FOLDER]
//   tessel-bench-startup --bare SNAPSHOT_FOLDER COUNT --stay
//
// The second form only opens the bare window and keeps it open: the bare
// program tessel-bench-first-window compares the real one with.
//
// The parent times each child from its launch to the line it prints when
// ready (so loading and linking count); the child also reports its own
// times from the top of main(). The child then quits at once: tearing the
// window down is no part of start-up.
#include "BenchSupport.h"

#include "app/FontWarmUp.h"
#include "browser/Volumes.h"
#include "commands/ProcessLauncher.h"
#include "core/InstanceGuard.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QListView>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string_view>

using namespace tessel;
using namespace tessel::bench;

namespace {

class FirstPaint final : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// Waits until the window is exposed and the list holds `expected` names and
// has painted them, then prints the times and ends the process.
int reportWhenReady(QWidget& window, QListView& list, const std::function<int()>& count,
                    int expected, double builtMs, const QElapsedTimer& clock)
{
    FirstPaint paint;
    list.viewport()->installEventFilter(&paint);
    // Only a paint after the last change of the list counts.
    QAbstractItemModel* model = list.model();
    auto unpainted = [&paint] { paint.painted = false; };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &paint, unpainted);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, &paint, unpainted);
    QObject::connect(model, &QAbstractItemModel::modelReset, &paint, unpainted);
    double shownMs = -1;
    const bool ready = waitUntil(
        [&] {
            if (shownMs < 0 && window.windowHandle() && window.windowHandle()->isExposed())
                shownMs = clock.nsecsElapsed() / 1e6;
            if (count() != expected) {
                paint.painted = false;
                return false;
            }
            return shownMs >= 0 && paint.painted;
        },
        60000);
    if (!ready) {
        std::fprintf(stderr, "bench-startup: %d of %d names listed\n", count(), expected);
        return 4;
    }
    std::printf("ready %.3f shown %.3f built %.3f\n", clock.nsecsElapsed() / 1e6, shownMs, builtMs);
    std::fflush(stdout);
    // Kept open for tessel-bench-first-window, which ends it.
    if (QCoreApplication::arguments().contains(QStringLiteral("--stay")))
        return QCoreApplication::exec();
    std::_Exit(0);
}

// fonts: ours reads the font configuration ahead, as main() has it do.
int child(int argc, char* argv[], const QElapsedTimer& clock, FontWarmUp* fonts)
{
    QApplication app(argc, argv);
    if (fonts)
        fonts->join();
    QApplication::setApplicationName(QStringLiteral("tessel-zizerev"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessel Zizerev"));
    QApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessel-zizerev"));
    const QStringList args = QCoreApplication::arguments();
    const int expected = args.value(3).toInt();

    if (args.value(1) == QLatin1String("--bare")) {
        const QString folder = args.value(2);
        QMainWindow window;
        window.setWindowTitle(QStringLiteral("Tessel Zizerev")); // as ours, found by its title
        QFileSystemModel model;
        model.setFilter(QDir::Files | QDir::NoDotAndDotDot);
        model.setNameFilters({QStringLiteral("*.sna*")});
        model.setNameFilterDisables(false);
        auto* list = new QListView;
        list->setModel(&model);
        list->setRootIndex(model.setRootPath(folder));
        window.setCentralWidget(list);
        window.show();
        const double builtMs = clock.nsecsElapsed() / 1e6;
        return reportWhenReady(
            window, *list, [&] { return model.rowCount(list->rootIndex()); }, expected, builtMs,
            clock);
    }

    const Kit kit(args.value(2));
    QtPrompts prompts;
    LockFileInstanceGuard instance(kit.programFolder());
    SystemProcessLauncher launcher;
    SystemVolumes volumes;

    MainWindow window(kit, prompts, instance, launcher, volumes);
    prompts.setParentWidget(&window);
    if (!window.startUp())
        return 3;
    window.show();
    const double builtMs = clock.nsecsElapsed() / 1e6;

    auto* list = window.findChild<QListView*>(QStringLiteral("fleSelecciona"));
    FolderBrowser& browser = window.browser();
    return reportWhenReady(
        window, *list, [&] { return browser.isFileListLoaded() ? browser.listCount() : -1; },
        expected, builtMs, clock);
}

int parent(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    auto option = [&](const char* name, const QString& fallback) {
        const int i = args.indexOf(QLatin1String(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    const int runs = option("--runs", QStringLiteral("10")).toInt();
    const QString folder = QDir(option("--folder", QCoreApplication::applicationDirPath()
                                                       + QStringLiteral("/../../kit/snapshots")))
                               .absolutePath();
    const int expected = countListable(folder);
    if (!QFileInfo(folder).isDir() || expected == 0) {
        std::fprintf(stderr, "bench-startup: no snapshots in %s; give --folder\n",
                     qPrintable(folder));
        return 1;
    }
    std::printf("file list folder %s (%d names), %d runs, platform %s\n", qPrintable(folder),
                expected, runs, qgetenv("QT_QPA_PLATFORM").constData());

    QTemporaryDir tmp;
    struct Times
    {
        QList<double> wall, ready, shown, built;
    };
    Times ours, bare;
    for (int run = 0; run < runs; ++run) {
        for (const bool isBare : {false, true}) {
            const QString kit = makeKit(tmp.filePath(QStringLiteral("run%1").arg(run)), folder);
            QProcess process;
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            QElapsedTimer clock;
            clock.start();
            process.start(QCoreApplication::applicationFilePath(),
                          {isBare ? QStringLiteral("--bare") : QStringLiteral("--child"),
                           isBare ? folder : kit, QString::number(expected)});
            QByteArray line;
            while (!line.contains('\n') && process.waitForReadyRead(60000))
                line += process.readAllStandardOutput();
            const double wallMs = clock.nsecsElapsed() / 1e6;
            process.waitForFinished(10000);
            const QList<QByteArray> f = line.trimmed().split(' ');
            if (f.size() != 6 || f[0] != "ready") {
                std::fprintf(stderr, "bench-startup: run %d failed (exit %d)\n", run + 1,
                             process.exitCode());
                return 1;
            }
            Times& t = isBare ? bare : ours;
            t.wall << wallMs;
            t.ready << f[1].toDouble();
            t.shown << f[3].toDouble();
            t.built << f[5].toDouble();
            std::printf("run %2d %-4s: launch to ready %7.1f ms | from main(): built and shown "
                        "%6.1f ms, exposed %6.1f ms, list filled %6.1f ms\n",
                        run + 1, isBare ? "bare" : "ours", wallMs, t.built.last(), t.shown.last(),
                        t.ready.last());
        }
    }
    std::printf("median of %d, launch to window shown with the file list filled:\n", runs);
    for (const auto& [name, t] : {std::pair{"ours", &ours}, std::pair{"bare", &bare}})
        std::printf("  %s %7.1f ms (from main(): %.1f ms; window built and shown %.1f ms)\n", name,
                    median(t->wall), median(t->ready), median(t->built));
    std::printf("  ratio ours to bare: %.2f whole process, %.2f from main(), %.2f built\n",
                median(ours.wall) / median(bare.wall), median(ours.ready) / median(bare.ready),
                median(ours.built) / median(bare.built));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer clock;
    clock.start();
    if (argc >= 4 && std::string_view(argv[1]) == "--child") {
        FontWarmUp fonts;
        return child(argc, argv, clock, &fonts);
    }
    if (argc >= 4 && std::string_view(argv[1]) == "--bare")
        return child(argc, argv, clock, nullptr);
    return parent(argc, argv);
}
