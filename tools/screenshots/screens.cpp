// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the loading-screen pieces: the naming box with a long path, a
// name with characters the Spectrum shows differently and the snapshot's
// screen; the pop-up alone; and a list with the pop-up beside its current
// row, grabbed from the whole screen. Run it under xvfb-run and look.
#include "screens/ScreenCache.h"
#include "ui/HoverPreview.h"
#include "ui/NamingDialog.h"
#include "ui/ScreenPreview.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QStringListModel>
#include <QTimer>

#include <cstdio>

namespace {

QString g_out;

void save(const QPixmap& picture, const QString& name)
{
    const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
    picture.save(path);
    std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessel-screenshots-screens SNAPSHOT OUTPUT-FOLDER\n");
        return 2;
    }
    const QString snapshot = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    g_out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);
    tessel::ScreenCache cache;

    QString folder = QFileInfo(snapshot).absolutePath();
    while (folder.size() < 260)
        folder += QStringLiteral("/Spectrum games by year");
    const QString prompt = QStringLiteral("Type the name for the menu (Max. 20 chars) ")
                           + QDir::toNativeSeparators(folder + QStringLiteral("/game.sna"));
    tessel::NamingDialog dialog(
        QStringLiteral("Tessel Zizerev"), prompt, QStringLiteral("Snapshot  1"),
        QStringLiteral("Saved with a Melodik AY sound interface: without one it plays without "
                       "that sound."),
        tessel::Buttons::OkSkipStop);
    dialog.showScreenOf(cache, snapshot);
    dialog.show();

    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* list = new QListView(&window);
    list->setGeometry(0, 30, 240, 200);
    window.resize(240, 230);
    window.move(40, 40);
    QStringListModel model({QFileInfo(snapshot).fileName(), QStringLiteral("notes.txt")});
    list->setModel(&model);
    tessel::HoverPreview hover(*list, cache, [&](const QModelIndex& index) {
        return index.row() == 0 ? snapshot : QString();
    });

    QTimer::singleShot(800, [&] {
        dialog.nameField()->setText(QStringLiteral("Ñandú `^ 48K"));
        QTimer::singleShot(300, [&] {
            save(dialog.grab(), QStringLiteral("naming"));
            dialog.hide();
            window.show();
            window.activateWindow();
            field->setFocus();
            list->setCurrentIndex(model.index(0, 0));
            QTimer::singleShot(500, [&] { list->setFocus(Qt::TabFocusReason); });
            QTimer::singleShot(1300, [&] {
                save(hover.preview()->grab(), QStringLiteral("preview"));
                save(QGuiApplication::primaryScreen()->grabWindow(0),
                     QStringLiteral("list-keyboard"));
                field->setFocus(Qt::TabFocusReason);
                // A real pointer, moved by the display server onto the first row.
                const QRect row = list->visualRect(model.index(0, 0));
                QCursor::setPos(list->viewport()->mapToGlobal(row.center() - QPoint(20, 0)));
                QTimer::singleShot(800, [&] {
                    save(QGuiApplication::primaryScreen()->grabWindow(0),
                         QStringLiteral("list-pointer"));
                    QApplication::quit();
                });
            });
        });
    });
    return QApplication::exec();
}
