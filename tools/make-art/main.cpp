// Writes the board icon and the About picture into the folder given as the
// only argument (normally src/ui/art).

#include "AboutArt.h"
#include "BoardArt.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QTextStream>

namespace {

bool save(const QImage& image, const QDir& dir, const QString& name, const char* format,
          int quality)
{
    const QString path = dir.filePath(name);
    QTextStream err(stderr);
    if (!image.save(path, format, quality)) {
        err << "make-art: cannot write " << path << '\n';
        return false;
    }
    // Read back so a missing image plugin or a wrong size fails here, not in the app.
    QImageReader reader(path);
    if (reader.size() != image.size()) {
        err << "make-art: " << path << " did not read back at " << image.width() << 'x'
            << image.height() << '\n';
        return false;
    }
    QTextStream(stdout) << path << ' ' << image.width() << 'x' << image.height() << '\n';
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Painting into images needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: make-art OUTPUT_DIR\n";
        return 2;
    }
    QDir dir(args.at(1));
    if (!dir.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "make-art: cannot create " << args.at(1) << '\n';
        return 1;
    }

    bool ok = true;
    for (int size : {48, 96, 256})
        ok &= save(art::renderBoardIcon(size), dir, QStringLiteral("board-%1.png").arg(size), "PNG",
                   -1);
    ok &= save(art::renderAboutPicture(), dir, QStringLiteral("about.jpg"), "JPG", 90);
    return ok ? 0 : 1;
}
