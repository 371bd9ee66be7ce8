// Start-up of the window: from launch until the main window is shown and
// the file list holds the names of its folder. Each run is a new process,
// built as the program's own main() builds it, on a kit of its own.
//
//   tessel-bench-startup [--runs N] [--folder SNAPSHOT_FOLDER]
//
// The parent times each child from its launch to the line it prints when
// ready (so loading and linking count); the child also reports its own
// times from the top of main(). The child then quits at once: tearing the
// window down is no part of start-up.
#include "BenchSupport.h"

#include "companions/ProcessLauncher.h"
#include "core/InstanceGuard.h"
#include "snapshots/Volumes.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QListView>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
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

int child(int argc, char* argv[], const QElapsedTimer& clock)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessel-zizerev"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessel Zizerev"));
    QApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessel-zizerev"));
    const QStringList args = QCoreApplication::arguments();
    const int expected = args.value(3).toInt();

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
    FirstPaint paint;
    list->viewport()->installEventFilter(&paint);
    FolderBrowser& browser = window.session().browser;
    // Only a paint after the last change of the list counts.
    QAbstractItemModel* model = browser.fileModel();
    auto unpainted = [&paint] { paint.painted = false; };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &paint, unpainted);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, &paint, unpainted);
    QObject::connect(model, &QAbstractItemModel::modelReset, &paint, unpainted);
    double shownMs = -1;
    // Filled: every name in the model, then painted by the list.
    const bool ready = waitUntil(
        [&] {
            if (shownMs < 0 && window.windowHandle() && window.windowHandle()->isExposed())
                shownMs = clock.nsecsElapsed() / 1e6;
            if (browser.listCount() != expected) {
                paint.painted = false;
                return false;
            }
            return shownMs >= 0 && paint.painted;
        },
        60000);
    if (!ready) {
        std::fprintf(stderr, "bench-startup: %d of %d names listed\n", browser.listCount(),
                     expected);
        return 4;
    }
    std::printf("ready %.3f shown %.3f built %.3f\n", clock.nsecsElapsed() / 1e6, shownMs, builtMs);
    std::fflush(stdout);
    std::_Exit(0);
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
    QList<double> wall, ready, shown, built;
    for (int run = 0; run < runs; ++run) {
        const QString kit = makeKit(tmp.filePath(QStringLiteral("run%1").arg(run)), folder);
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--child"), kit, QString::number(expected)});
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
        wall << wallMs;
        ready << f[1].toDouble();
        shown << f[3].toDouble();
        built << f[5].toDouble();
        std::printf("run %2d: launch to ready %7.1f ms | from main(): built and shown %6.1f ms, "
                    "exposed %6.1f ms, list filled %6.1f ms\n",
                    run + 1, wallMs, built.last(), shown.last(), ready.last());
    }
    std::printf("median of %d: launch to window shown with the file list filled %.1f ms "
                "(from main(): %.1f ms; window built and shown %.1f ms)\n",
                runs, median(wall), median(ready), median(built));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer clock;
    clock.start();
    if (argc >= 4 && std::string_view(argv[1]) == "--child")
        return child(argc, argv, clock);
    return parent(argc, argv);
}
