// SPDX-License-Identifier: GPL-3.0-or-later
// Create Flash's build phase in-process, against a plain copy of the same
// source bytes into one file (what cat does), with the peak memory of each.
//
//   tessel-bench-build --kit KIT [--out FOLDER] [--runs N]
//
// KIT holds bank1.rom, bank32.rom, tessel.ini with the table offsets, and at
// least ten 48K snapshots in KIT/snapshots. FOLDER (default: a new one under
// the current folder) takes the outputs; put it on the disk you care about.
#include "BenchSupport.h"

#include "commands/CreateFlash.h"
#include "core/Cartridge.h"
#include "core/DurableFile.h"
#include "core/Kit.h"
#include "core/Settings.h"
#include "flash/FlashBuild.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

using namespace tessel;
using namespace tessel::bench;

namespace {

// What cat does: each source in turn, read and written in 128 KiB blocks.
bool catInto(const QStringList& sources, const QString& target)
{
    const int out = ::open(QFile::encodeName(target).constData(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0)
        return false;
    static char buffer[128 * 1024];
    bool ok = true;
    for (const QString& source : sources) {
        const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
        if (in < 0) {
            ok = false;
            break;
        }
        ssize_t n = 0;
        while ((n = ::read(in, buffer, sizeof buffer)) > 0)
            ok = ok && ::write(out, buffer, size_t(n)) == n;
        ::close(in);
    }
    return ::close(out) == 0 && ok;
}

struct Result
{
    double medianMs = 0;
    double minMs = 0;
    qint64 peakKiB = 0; // the process's peak while it ran
    qint64 addedKiB = 0; // that peak over what the process held before
};

// Once for the peak memory (first, so nothing of it is held yet), then timed.
Result measure(int runs, const std::function<bool()>& job)
{
    Result r;
    const qint64 before = rssKiB();
    const bool reset = resetPeakRss();
    if (!job())
        qFatal("bench-build: a run failed");
    r.peakKiB = reset ? peakRssKiB() : -1;
    r.addedKiB = reset ? r.peakKiB - before : -1;
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (!job())
            qFatal("bench-build: a run failed");
        times << clock.nsecsElapsed() / 1e6;
    }
    r.medianMs = median(times);
    r.minMs = *std::min_element(times.begin(), times.end());
    return r;
}

// The image saved through a plain save file, or through the program's own
// writer (every byte checked, the file and its folder flushed); alternating,
// so that both meet the same disk and load.
void compareCommits(const QString& image, const QString& folder, int runs)
{
    QFile source(image);
    if (!source.open(QIODevice::ReadOnly))
        qFatal("bench-build: no image to save");
    const QByteArray bytes = source.readAll();
    const QString target = QDir(folder).filePath(QStringLiteral("saved-again.rom"));
    auto save = [&](bool durably) {
        QElapsedTimer clock;
        clock.start();
        if (durably) {
            if (!writeDurably(target, bytes, {}, nullptr))
                qFatal("bench-build: a save failed");
        } else {
            QSaveFile file(target);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()
                || !file.commit())
                qFatal("bench-build: a save failed");
        }
        return clock.nsecsElapsed() / 1e6;
    };
    QList<double> plain;
    QList<double> durable;
    for (int i = 0; i < runs; ++i) {
        const bool durableFirst = i % 2 != 0;
        if (durableFirst)
            durable << save(true);
        plain << save(false);
        if (!durableFirst)
            durable << save(true);
    }
    std::printf("%-44s %8.3f ms (min %.3f)\n", "save the image, commit", median(plain),
                *std::min_element(plain.begin(), plain.end()));
    std::printf("%-44s %8.3f ms (min %.3f)\n", "save the image, durable writer", median(durable),
                *std::min_element(durable.begin(), durable.end()));
    std::printf("durable writer: %.2fx the plain commit (medians), %+.3f ms\n",
                median(durable) / median(plain), median(durable) - median(plain));
}

void print(const char* what, const Result& r)
{
    std::printf("%-44s %8.3f ms (min %.3f)  peak RSS %6lld KiB (+%lld KiB)\n", what, r.medianMs,
                r.minMs, static_cast<long long>(r.peakKiB), static_cast<long long>(r.addedKiB));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    auto option = [&](const char* name, const QString& fallback) {
        const int i = args.indexOf(QLatin1String(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    const QString kitFolder = option("--kit", {});
    const int runs = option("--runs", QStringLiteral("50")).toInt();
    if (kitFolder.isEmpty()) {
        std::fprintf(stderr, "usage: tessel-bench-build --kit KIT [--out FOLDER] [--runs N]\n");
        return 2;
    }
    const Kit kit(QDir(kitFolder).absolutePath());
    QTemporaryDir tmp(
        QDir(option("--out", QDir::currentPath())).filePath(QStringLiteral("bench-build.XXXXXX")));
    if (!tmp.isValid())
        qFatal("bench-build: no output folder");
    const QString out = tmp.path();

    // A kit of the run's own: the kit's banks and offsets, a working folder here.
    const Kit runKit(out);
    const QString work = runKit.workingFolder();
    QDir().mkpath(work);
    QFile::copy(kit.bank1Path(), runKit.bank1Path());
    QFile::copy(kit.bank32Path(), runKit.bank32Path());
    Settings settings(runKit);
    for (const QString& key : {Settings::kNamesOffset, Settings::kRegistersOffset})
        settings.setValue(key, Settings(kit).value(key));
    settings.setValue(Settings::kWorkingFolder, work);

    const QStringList snaps = QDir(kit.file(QStringLiteral("snapshots")), QStringLiteral("*.sna"),
                                   QDir::Name, QDir::Files)
                                  .entryList()
                                  .mid(0, kEntryCount);
    if (snaps.size() != kEntryCount)
        qFatal("bench-build: fewer than ten snapshots in the kit");
    SnapshotEntries entries;
    QStringList sources{runKit.bank1Path()};
    for (int i = 0; i < kEntryCount; ++i) {
        const QString path = kit.file(QStringLiteral("snapshots/") + snaps[i]);
        entries.append({path, QStringLiteral("Snapshot %1").arg(i + 1)});
        sources << path;
    }
    sources << runKit.bank32Path();

    const QString image = QDir(out).filePath(QStringLiteral("flash.rom"));
    const QString copy = QDir(out).filePath(QStringLiteral("cat.rom"));
    AutoPrompts prompts;
    prompts.savePath = QDir(out).filePath(QStringLiteral("saved.rom"));

    std::printf("%d runs each after one untimed run; outputs in %s\n", runs, qPrintable(out));
    // The build first: its buffers then come from a heap nothing has grown yet.
    const Result build = measure(runs, [&] {
        return tessel::build(runKit, entries, {image, {}}, nullptr).has_value();
    });
    QString error;
    const std::optional<FlashJob> prepared = prepareBuild(runKit, entries, {image, {}}, &error);
    if (!prepared)
        qFatal("bench-build: %s", qPrintable(error));
    const Result writeOnly = measure(runs, [&] { return writeBuild(*prepared, nullptr); });
    const Result whole = measure(runs, [&] {
        // A new name each time: no question about replacing the last one.
        QFile::remove(prompts.savePath);
        const int before = prompts.messages;
        createFlash(entries, runKit, prompts);
        return prompts.messages == before + 1 && QFile::exists(prompts.savePath);
    });
    const Result cat = measure(runs, [&] { return catInto(sources, copy); });

    print("copy of the same source bytes (as cat)", cat);
    print("build phase: check sources + write image", build);
    print("write image alone (writeBuild)", writeOnly);
    print("Create Flash whole (build + save a copy)", whole);
    // Minimums too: on a busy machine they show the work, the medians the waits.
    std::printf(
        "ratio to the copy, medians: build phase %.1fx, write alone %.1fx, Create Flash %.1fx\n",
        build.medianMs / cat.medianMs, writeOnly.medianMs / cat.medianMs,
        whole.medianMs / cat.medianMs);
    std::printf(
        "ratio to the copy, minimums: build phase %.1fx, write alone %.1fx, Create Flash %.1fx\n",
        build.minMs / cat.minMs, writeOnly.minMs / cat.minMs, whole.minMs / cat.minMs);
    compareCommits(image, out, runs);
    std::printf("image %lld bytes; source bytes copied %lld\n",
                static_cast<long long>(QFileInfo(image).size()),
                static_cast<long long>(QFileInfo(copy).size()));
    return 0;
}
