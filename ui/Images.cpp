#include "ui/Images.h"

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void initTavrixImages()
{
    Q_INIT_RESOURCE(tavrix);
}

namespace ui::images {

void ensureLoaded()
{
    static const bool loaded = [] {
        initTavrixImages();
        return true;
    }();
    (void)loaded;
}

QString path(const QString& fileName)
{
    return QStringLiteral(":/images/") + fileName;
}

QPixmap dieFace(int face)
{
    ensureLoaded();
    if (face < 1 || face > 6) return {};
    return QPixmap(path(QStringLiteral("die%1.png").arg(face)));
}

QIcon helpBadge()
{
    ensureLoaded();
    QIcon icon;
    icon.addFile(path(QStringLiteral("help.png")), QSize(16, 16), QIcon::Normal);
    icon.addFile(path(QStringLiteral("help-disabled.png")), QSize(16, 16), QIcon::Disabled);
    return icon;
}

QIcon applicationIcon()
{
    ensureLoaded();
    QIcon icon;
    for (const int size : {32, 48, 64, 128})
        icon.addFile(path(QStringLiteral("tavrix-%1.png").arg(size)), QSize(size, size));
    return icon;
}

} // namespace ui::images
