#pragma once

// The program's pictures (resources/tavrix.qrc, compiled into this library). Going through
// these functions also makes sure the pictures are linked into every executable that shows
// one, which a static library would otherwise leave out.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace ui::images {

// Registers the pictures with Qt's resource system (once; later calls do nothing). The
// functions below call it; call it yourself before reaching a picture by its path.
void ensureLoaded();

// The resource path of a picture, for instance ":/images/die5.png".
QString path(const QString& fileName);

// A face of the decorative die, 64 x 64; face is 1 to 6 (other values give a null pixmap).
QPixmap dieFace(int face);

// The question-mark badge of the main window's picture button, 16 x 16: the red mark on a
// pale-yellow badge, with the grey picture as its disabled image.
QIcon helpBadge();

// The application icon, a die, in sizes 32 to 128.
QIcon applicationIcon();

} // namespace ui::images
