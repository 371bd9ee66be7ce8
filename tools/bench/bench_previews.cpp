// SPDX-License-Identifier: GPL-3.0-or-later
// Loading-screen previews while a list of many snapshots scrolls under a
// resting pointer: the longest the event loop was kept from running, with
// the previews on and, alternating in the same run, without them.
//
//   tessel-bench-previews [--files N] [--runs R] [--step-ms S]
//
// Each run makes a new cache (nothing kept from the run before) and scrolls
// a list of N distinct snapshot copies (default 500) one row every S ms
// (default 8) from top to bottom; each scroll brings another file under the
// pointer, so each asks for its screen.
#include "BenchSupport.h"

#include "screens/ScreenCache.h"
#include "ui/HoverPreview.h"
#include "ui/ScreenPreview.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QHoverEvent>
#include <QListView>
#include <QScrollBar>
#include <QStringListModel>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

using namespace tessel;
using namespace tessel::bench;

namespace {

struct Figures
{
    double longestMs = 0;
    double longestCpuMs = 0;
    int gapsOver50 = 0;
    int shown = 0; // screens made and shown while scrolling
};

// N snapshots of the same size with different screens.
QStringList makeSnapshots(const QString& folder, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        QByteArray bytes(49179, '\0');
        for (int b = 27; b < 27 + 6912; ++b)
            bytes[b] = static_cast<char>((b * 7 + i * 13) & 0xFF);
        const QString name = QStringLiteral("game%1.sna").arg(i, 4, 10, QLatin1Char('0'));
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        names << name;
    }
    return names;
}

Figures scroll(QListView& view, const QString& folder, bool previews, int stepMs)
{
    ScreenCache cache;
    std::unique_ptr<HoverPreview> hover;
    Figures f;
    if (previews) {
        hover = std::make_unique<HoverPreview>(view, cache, [&](const QModelIndex& index) {
            return QDir(folder).filePath(index.data().toString());
        });
        QObject::connect(&cache, &ScreenCache::ready, [&] { ++f.shown; });
    }
    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(0);
    // The pointer comes to rest in the middle of the list.
    const QPoint centre = view.viewport()->rect().center();
    QCursor::setPos(view.viewport()->mapToGlobal(centre));
    QHoverEvent arrive(QEvent::HoverEnter, centre, view.viewport()->mapToGlobal(centre),
                       QPointF(-1, -1));
    QCoreApplication::sendEvent(view.viewport(), &arrive);
    waitUntil([] { return false; }, 200);

    StallMonitor monitor;
    monitor.restart();
    QTimer stepper;
    stepper.setTimerType(Qt::PreciseTimer);
    QObject::connect(&stepper, &QTimer::timeout, [&] { bar->setValue(bar->value() + 1); });
    stepper.start(stepMs);
    waitUntil([&] { return bar->value() >= bar->maximum(); }, 600000);
    stepper.stop();
    waitUntil([] { return false; }, 300); // the last screens arrive
    f.longestMs = monitor.longestMs();
    f.longestCpuMs = monitor.longestCpuMs();
    f.gapsOver50 = monitor.gapsOver(50);
    if (hover && hover->preview())
        hover->preview()->hide();
    return f;
}

void print(const char* what, const Figures& f)
{
    std::printf("  %-9s longest stall %6.1f ms (CPU %6.1f ms)  stalls >50 ms: %d  screens: %d\n",
                what, f.longestMs, f.longestCpuMs, f.gapsOver50, f.shown);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    // The headless platform cannot raise windows and says so for each preview.
    static const QtMessageHandler standard = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.contains(QStringLiteral("does not support raise()")))
                standard(type, context, text);
        });
    QApplication app(argc, argv);
    int files = 500;
    int runs = 3;
    int stepMs = 8;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--files"))
            files = args[i + 1].toInt();
        else if (args[i] == QStringLiteral("--runs"))
            runs = args[i + 1].toInt();
        else if (args[i] == QStringLiteral("--step-ms"))
            stepMs = args[i + 1].toInt();
    }

    QTemporaryDir dir;
    const QStringList names = makeSnapshots(dir.path(), files);
    if (names.size() != files) {
        std::fprintf(stderr, "bench-previews: cannot write the snapshots in %s\n",
                     qPrintable(dir.path()));
        return 1;
    }
    QStringListModel model(names);
    QListView view;
    view.setUniformItemSizes(true);
    view.setModel(&model);
    view.resize(240, 300);
    view.show();
    view.activateWindow();
    waitUntil([] { return false; }, 300);

    QList<double> plain;
    QList<double> previewed;
    QList<double> plainCpu;
    QList<double> previewedCpu;
    for (int run = 0; run < runs; ++run) {
        std::printf("run %d\n", run + 1);
        const Figures without = scroll(view, dir.path(), false, stepMs);
        print("without", without);
        const Figures with = scroll(view, dir.path(), true, stepMs);
        print("with", with);
        plain << without.longestMs;
        previewed << with.longestMs;
        plainCpu << without.longestCpuMs;
        previewedCpu << with.longestCpuMs;
    }
    // On a shared machine the CPU figure is the steadier one: the wall-clock
    // stall also counts the time other processes held the CPU.
    std::printf("median longest stall: without %.1f ms, with previews %.1f ms (ratio %.2f)\n",
                median(plain), median(previewed), median(previewed) / median(plain));
    std::printf("median longest CPU between ticks: without %.1f ms, with previews %.1f ms "
                "(ratio %.2f)\n",
                median(plainCpu), median(previewedCpu), median(previewedCpu) / median(plainCpu));
    return 0;
}
