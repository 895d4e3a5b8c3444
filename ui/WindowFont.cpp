#include "ui/WindowFont.h"

#include <QStringList>

namespace ui {

QStringList windowFontFamilies()
{
    return {QStringLiteral("MS Sans Serif"),   QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
            QStringLiteral("DejaVu Sans"),     QStringLiteral("Nimbus Sans"),
            QStringLiteral("Arial"),           QStringLiteral("Helvetica")};
}

QFont windowFont()
{
    QFont font;
    font.setFamilies(windowFontFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

} // namespace ui
