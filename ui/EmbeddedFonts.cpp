#include "ui/EmbeddedFonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <stdexcept>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void initTavrixFonts()
{
    Q_INIT_RESOURCE(fonts);
}

namespace ui {

namespace {

const QStringList& registeredFamilies()
{
    static const QStringList families = [] {
        initTavrixFonts();
        QStringList out;
        for (const char* face : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                                 "LiberationSerif-Bold.ttf"}) {
            const QString path = QStringLiteral(":/fonts/") + QLatin1String(face);
            const int id = QFontDatabase::addApplicationFont(path);
            if (id < 0)
                throw std::runtime_error("The font " + path.toStdString() +
                                         " built into the program cannot be loaded");
            out += QFontDatabase::applicationFontFamilies(id);
        }
        out.removeDuplicates();
        return out;
    }();
    return families;
}

} // namespace

void registerEmbeddedFonts()
{
    registeredFamilies();
}

QStringList embeddedFamilies()
{
    return registeredFamilies();
}

} // namespace ui
