#include "ui/WindowFont.h"

#include <QStringList>

namespace ui {

QFont windowFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    // Liberation Sans has the widths of the faces these layouts were measured with.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace ui
