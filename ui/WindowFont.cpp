#include "ui/WindowFont.h"

#include "ui/EmbeddedFonts.h"

namespace ui {

namespace {

// One family and nothing else: a family the machine lacks must not be replaced by one it has.
QFont embedded(const QString& family, int pixelSize)
{
    registerEmbeddedFonts();
    QFont font;
    font.setFamilies({family});
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QFont windowFont()
{
    return embedded(sansFamily, 11);
}

QFont rollFont()
{
    QFont font = embedded(serifFamily, 32);
    font.setBold(true);
    return font;
}

} // namespace ui
