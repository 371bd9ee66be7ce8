#include "ui/Art.h"

// The pictures live in a static library, where the linker would drop them
// unless they are asked for by name.
static void loadArt()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    Q_UNUSED(loaded)
}

namespace tessel {

QIcon boardIcon()
{
    loadArt();
    QIcon icon;
    for (const char* size : {"48", "96", "256"})
        icon.addFile(QStringLiteral(":/art/board-%1.png").arg(QLatin1String(size)));
    return icon;
}

QPixmap aboutPicture()
{
    loadArt();
    return QPixmap(QStringLiteral(":/art/about.jpg"));
}

} // namespace tessel
