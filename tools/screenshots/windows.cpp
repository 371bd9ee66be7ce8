// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the whole screen with the main window and what opens beside
// it: the loading-screen preview of a file and of a grid row (a real pointer
// moved by the display server), Help, Firmware, Image Contents, Trainers
// (from a trainer file it writes beside the first snapshot) and the Edit
// menu after a move. Run it
// under xvfb-run at the screen sizes worth looking at, on a copy of a kit
// with its demo snapshots.
#include "browser/Volumes.h"
#include "commands/ProcessLauncher.h"
#include "core/InstanceGuard.h"
#include "core/Language.h"
#include "flash/FlashBuild.h"
#include "flash/FlashExtract.h"
#include "ui/ImageContentsWindow.h"
#include "ui/ItemViews.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompts.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

class NoGuard final : public tessel::InstanceGuard
{
public:
    bool tryAcquire() override { return true; }
};

QString g_out;

void saveScreen(const QString& name)
{
    const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
    QGuiApplication::primaryScreen()->grabWindow(0).save(path);
    std::printf("%s\n", qPrintable(path));
}

// The steps, each after the last has had time to show.
void run(QList<std::function<void()>> steps)
{
    if (steps.isEmpty()) {
        QApplication::quit();
        return;
    }
    const std::function<void()> step = steps.takeFirst();
    step();
    QTimer::singleShot(900, [steps] { run(steps); });
}

void pointAt(QAbstractItemView* view, int row, int column)
{
    const QRect cell = view->visualRect(view->model()->index(row, column));
    QCursor::setPos(view->viewport()->mapToGlobal(cell.center()));
}

// One trainer of each kind the window tells apart, one of them chosen
// earlier, so that the grid shows its mark too.
void showTrainers(tessel::MainWindow& window, const tessel::SnapshotEntry& entry)
{
    const QFileInfo snapshot(entry.path);
    QFile pok(snapshot.dir().filePath(snapshot.completeBaseName() + QStringLiteral(".pok")));
    if (!pok.open(QIODevice::WriteOnly))
        return;
    pok.write("NInfinite lives\nM 8 40000 0 0\nZ 8 40001 0 0\n"
              "NStart on level\nZ 8 41000 256 0\n"
              "NNo collisions\nZ 8 42000 201 7\n"
              "NImmunity (128K)\nZ 1 50000 0 0\n"
              "NSkip the intro\nM 8 1234 0 0\nZ 8 43000 0 0\nY\n");
    pok.close();
    window.setCurrentRow(0);
    window.setTrainers(0, {{QStringLiteral("Infinite lives"), {{40000, 0}, {40001, 0}}}});
    window.findChild<QAction*>(QStringLiteral("mnuTrainers"))->trigger();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // In the system's language, as the program shows itself.
    tessel::installTranslations();
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessel-screenshots-windows KIT OUTPUT-FOLDER\n");
        return 2;
    }
    const tessel::Kit kit(QString::fromLocal8Bit(argv[1]));
    g_out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);

    tessel::QtPrompts prompts;
    NoGuard guard;
    tessel::SystemProcessLauncher launcher;
    tessel::SystemVolumes volumes;
    tessel::MainWindow window(kit, prompts, guard, launcher, volumes);
    prompts.setParentWidget(&window);
    prompts.setScreenCache(&window.screenCache());
    window.startUp();
    window.show();
    const QString snaps = kit.file(QStringLiteral("snapshots"));
    window.browser().setPath(snaps);

    tessel::SnapshotEntries entries;
    const QStringList files = QDir(snaps).entryList({QStringLiteral("*.sna")}, QDir::Files);
    for (int i = 0; i < tessel::kEntryCount && i < files.size(); ++i)
        entries.append({QDir(snaps).filePath(files[i]), QFileInfo(files[i]).completeBaseName()});
    window.session().list.setEntries(entries);
    const QString suffix = QStringLiteral("-%1x%2")
                               .arg(window.screen()->size().width())
                               .arg(window.screen()->size().height());
    auto* fileList = window.findChild<QAbstractItemView*>(QStringLiteral("fleSelecciona"));
    auto* grid = window.findChild<QAbstractItemView*>(QStringLiteral("msgRom"));
    const auto trigger = [&window](const char* name) {
        window.findChild<QAction*>(QLatin1String(name))->trigger();
    };
    QWidget* contents = nullptr;

    QTimer::singleShot(1500, [&] {
        run({[&] { pointAt(fileList, 2, 0); },
             [&] { saveScreen(QStringLiteral("preview-files") + suffix); },
             [&] { pointAt(grid, 3, 1); },
             [&] { saveScreen(QStringLiteral("preview-grid") + suffix); },
             [&] {
                 QCursor::setPos(window.frameGeometry().bottomRight() + QPoint(40, 40));
                 trigger("mnuHelp");
             },
             [&] {
                 saveScreen(QStringLiteral("help") + suffix);
                 window.helpWindow()->close();
                 trigger("mnuFirmware");
             },
             [&] {
                 saveScreen(QStringLiteral("firmware") + suffix);
                 window.firmwareWindow()->close();
                 const QString image = QDir(g_out).filePath(QStringLiteral("contents.rom"));
                 QString error;
                 tessel::build(kit, entries, {image, {}}, &error);
                 if (auto read = tessel::readFlashImage(kit, image, &error)) {
                     contents = new tessel::ImageContentsWindow(image, *read, &window);
                     contents->show();
                 } else {
                     std::fprintf(stderr, "%s\n", qPrintable(error));
                 }
             },
             [&] {
                 saveScreen(QStringLiteral("image-contents") + suffix);
                 if (contents)
                     contents->close();
                 showTrainers(window, entries.constFirst());
             },
             [&] {
                 saveScreen(QStringLiteral("trainers") + suffix);
                 if (auto* trainers = window.findChild<QDialog*>(QStringLiteral("frmTrainers")))
                     trainers->accept();
             },
             [&] { saveScreen(QStringLiteral("trainers-marked") + suffix); },
             [&] {
                 window.activateWindow();
                 window.setCurrentRow(2);
                 window.moveCurrent(1);
                 QMenu* edit = window.findChild<QMenu*>(QStringLiteral("mnuEdit"));
                 window.menuBar()->setActiveAction(edit->menuAction());
             },
             [&] { saveScreen(QStringLiteral("edit-menu-undo") + suffix); }});
    });
    return QApplication::exec();
}
