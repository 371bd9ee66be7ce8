// Takes pictures of every window in the states worth looking at, on a copy
// of a kit: empty, ten snapshots listed, busy during Create Flash, the About
// window, the burn window and the Burn EPROM notice. Run it under a real
// display (xvfb-run) and look at the pictures; QT_SCALE_FACTOR=2 gives the
// high-density ones.
#include "companions/ProcessLauncher.h"
#include "core/InstanceGuard.h"
#include "snapshots/Volumes.h"
#include "ui/AboutWindow.h"
#include "ui/BurnWindow.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

class NoGuard final : public tessel::InstanceGuard
{
public:
    bool tryAcquire() override { return true; }
};

QString g_out;

void save(QWidget* widget, const QString& name)
{
    const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
    widget->grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

// Grabs whatever modal window the next command opens, then dismisses it.
void grabNextModal(const QString& name)
{
    QTimer::singleShot(800, [name] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        save(modal, name);
        // The default answer ends each question (Yes ends the cancel one).
        if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->defaultButton())
            box->defaultButton()->click();
        else
            modal->close();
    });
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessel-screenshots KIT OUTPUT-FOLDER\n");
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
    window.startUp();
    window.show();

    tessel::Session& session = window.session();
    const QString snaps = kit.file(QStringLiteral("snapshots"));
    session.browser.setPath(snaps);

    QTimer::singleShot(1500, [&] {
        save(&window, QStringLiteral("main-empty"));

        const QStringList files = QDir(snaps).entryList({QStringLiteral("*.sna")}, QDir::Files);
        for (int i = 0; i < tessel::kEntryCount && i < files.size(); ++i)
            session.list.append({QDir::toNativeSeparators(QDir(snaps).filePath(files[i])),
                                 QFileInfo(files[i]).completeBaseName()});
        session.setCurrentRow(2);
        save(&window, QStringLiteral("main-ten"));

        // The save dialog opens under the busy sign: picture the window then.
        QTimer::singleShot(800, [&] {
            save(&window, QStringLiteral("main-busy"));
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                save(dialog, QStringLiteral("save-dialog"));
                grabNextModal(QStringLiteral("cancel-question"));
                dialog->close();
            }
        });
        window.findChild<QAction*>(QStringLiteral("mnuCreate"))->trigger();

        grabNextModal(QStringLiteral("burn-notice"));
        window.findChild<QAction*>(QStringLiteral("mnuEprom"))->trigger();

        window.findChild<QAction*>(QStringLiteral("mnuAcerca"))->trigger();
        QTimer::singleShot(500, [&] {
            save(window.aboutWindow(), QStringLiteral("about"));
            auto* burn = new tessel::BurnWindow;
            burn->show();
            QTimer::singleShot(300, [burn] {
                save(burn, QStringLiteral("eprom"));
                QApplication::quit();
            });
        });
    });
    return QApplication::exec();
}
