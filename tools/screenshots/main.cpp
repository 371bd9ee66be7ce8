// SPDX-License-Identifier: GPL-3.0-or-later
// Takes pictures of every window in the states worth looking at, on a copy
// of a kit: empty, ten snapshots listed, busy during Create Flash, the About
// window, the burn window and the Burn EPROM notice, the File and Edit menus, a drop
// of twelve snapshots, and Open Flash Image from its dialogs to the list. Run it under a real
// display (xvfb-run) and look at the pictures; QT_SCALE_FACTOR=2 gives the
// high-density ones.
#include "browser/Volumes.h"
#include "commands/Compilation.h"
#include "commands/ProcessLauncher.h"
#include "core/InstanceGuard.h"
#include "core/Language.h"
#include "formats/EntryList.h"
#include "ui/AboutWindow.h"
#include "ui/BurnWindow.h"
#include "ui/MainWindow.h"
#include "ui/NamingDialog.h"
#include "ui/QtPrompts.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <functional>
#include <memory>

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

void saveScreen(const QString& name)
{
    const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
    QGuiApplication::primaryScreen()->grabWindow(0).save(path);
    std::printf("%s\n", qPrintable(path));
}

// Calls `act` on the next modal window once it is up.
void whenModal(const std::function<void(QWidget*)>& act)
{
    QTimer::singleShot(400, [act] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else
            whenModal(act);
    });
}

void accept(QWidget* dialog)
{
    QMetaObject::invokeMethod(dialog, "accept");
}

void click(QWidget* modal, QMessageBox::StandardButton button)
{
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box || !box->button(button)) {
        std::fprintf(stderr, "unexpected window %s\n", qPrintable(modal->windowTitle()));
        QApplication::exit(1);
        return;
    }
    box->button(button)->click();
}

// The dialog's own name field, as a user would type into it.
void choose(QWidget* dialog, const QString& path)
{
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(path);
    accept(dialog);
}

// Open Flash Image on the image Create Flash left in the working folder:
// its dialogs, the unsaved list's question, the message and the list it
// fills.
void extractShots(tessel::MainWindow& window)
{
    const tessel::Session& session = window.session();
    const QString image =
        QDir(session.settings.workingFolder()).filePath(QStringLiteral("tessel.rom"));
    const QString folder = QDir(g_out).filePath(QStringLiteral("extracted"));
    QDir().mkpath(folder);
    whenModal([&window, image, folder](QWidget* open) {
        saveScreen(QStringLiteral("image-open-dialog"));
        choose(open, image);
        // The list of ten is not saved: asked so, it is what the image replaces.
        whenModal([&window, folder](QWidget* unsaved) {
            saveScreen(QStringLiteral("image-unsaved-question"));
            click(unsaved, QMessageBox::Discard);
            whenModal([&window, folder](QWidget* pick) {
                qobject_cast<QFileDialog*>(pick)->setDirectory(folder);
                QTimer::singleShot(300, [pick] {
                    saveScreen(QStringLiteral("image-folder-dialog"));
                    accept(pick);
                });
                whenModal([&window](QWidget* done) {
                    // Once the folder dialog's place is painted over.
                    QTimer::singleShot(300, [&window, done] {
                        saveScreen(QStringLiteral("image-extracted-message"));
                        click(done, QMessageBox::Ok);
                        QTimer::singleShot(300, [&window] {
                            save(&window, QStringLiteral("main-extracted"));
                            QApplication::quit();
                        });
                    });
                });
            });
        });
    });
    window.findChild<QAction*>(QStringLiteral("mnuImagen"))->trigger();
}

// The File menu with a recent compilation, then twelve snapshots dropped on
// an empty grid: the naming box, the list-full warning, the list.
void compilationShots(tessel::MainWindow& window, const QString& snaps)
{
    window.aboutWindow()->close();
    tessel::Session& session = window.session();
    tessel::writeEntryList(QDir(g_out).filePath(QStringLiteral("demo.tessel")),
                           session.list.entries(), nullptr);
    tessel::RecentCompilations(session.settings)
        .add(QDir(g_out).filePath(QStringLiteral("demo.tessel")));
    auto* file = window.findChild<QMenu*>(QStringLiteral("mnuFichero"));
    window.menuBar()->setActiveAction(file->menuAction());
    QTimer::singleShot(400, [&window, file, snaps] {
        saveScreen(QStringLiteral("menu-file"));
        auto* recent = window.findChild<QMenu*>(QStringLiteral("mnuRecientes"));
        file->setActiveAction(recent->menuAction());
        recent->popup(file->geometry().topRight()
                      + QPoint(0, file->actionGeometry(recent->menuAction()).top()));
        QTimer::singleShot(400, [&window, file, snaps] {
            saveScreen(QStringLiteral("menu-recent"));
            file->close();
            // The Edit menu over the ten listed, a row chosen.
            auto* edit = window.findChild<QMenu*>(QStringLiteral("mnuEdit"));
            window.menuBar()->setActiveAction(edit->menuAction());
            QTimer::singleShot(400, [&window, edit, snaps] {
                saveScreen(QStringLiteral("menu-edit"));
                edit->close();
                window.session().list.clear();

                QMimeData data;
                QList<QUrl> urls;
                const QDir folder(snaps);
                for (const QString& name :
                     folder.entryList({QStringLiteral("*.sna")}, QDir::Files).mid(0, 12))
                    urls << QUrl::fromLocalFile(folder.filePath(name));
                data.setUrls(urls);
                auto* grid = window.findChild<QWidget*>(QStringLiteral("msgRom"));
                QWidget* viewport = qobject_cast<QAbstractScrollArea*>(grid)->viewport();
                const QPoint at = viewport->rect().center();
                QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(viewport, &enter);
                QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(viewport, &drop);

                // Each naming box takes the name offered; the first is pictured.
                auto named = std::make_shared<int>(0);
                auto next = std::make_shared<std::function<void(QWidget*)>>();
                *next = [&window, named, next](QWidget* modal) {
                    if (qobject_cast<tessel::NamingDialog*>(modal)) {
                        if ((*named)++ == 2)
                            saveScreen(QStringLiteral("drop-naming"));
                        accept(modal);
                        whenModal(*next);
                        return;
                    }
                    saveScreen(QStringLiteral("drop-list-full"));
                    click(modal, QMessageBox::Ok);
                    QTimer::singleShot(300, [&window] {
                        save(&window, QStringLiteral("main-dropped"));
                        extractShots(window);
                    });
                };
                whenModal(*next);
            });
        });
    });
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // In the system's language, as the program shows itself.
    tessel::installTranslations();
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
    prompts.setScreenCache(&window.screenCache());
    window.startUp();
    window.show();

    tessel::Session& session = window.session();
    const QString snaps = kit.file(QStringLiteral("snapshots"));
    window.browser().setPath(snaps);

    QTimer::singleShot(1500, [&] {
        save(&window, QStringLiteral("main-empty"));

        const QStringList files = QDir(snaps).entryList({QStringLiteral("*.sna")}, QDir::Files);
        for (int i = 0; i < tessel::kEntryCount && i < files.size(); ++i)
            session.list.append({QDir::toNativeSeparators(QDir(snaps).filePath(files[i])),
                                 QFileInfo(files[i]).completeBaseName()});
        window.setCurrentRow(2);
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
            QTimer::singleShot(300, [&, burn] {
                save(burn, QStringLiteral("eprom"));
                burn->close();
                compilationShots(window, snaps);
            });
        });
    });
    return QApplication::exec();
}
