#include "ui/Application.h"

#include "store/NumberFormat.h"
#include "ui/ErrorHandler.h"
#include "ui/Images.h"

#include <QLocale>

#include <exception>

namespace ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tavrix"));
    setApplicationDisplayName(QStringLiteral("Tavrix"));
    setWindowIcon(images::applicationIcon());
    setDesktopFileName(QStringLiteral("Tavrix"));
    // Numbers show with the separator of the user's number settings.
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 0x80)
        store::setDecimalSeparator(point.at(0).toLatin1());
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    }
    catch (const std::exception& e) {
        showError(e);
    }
    return true;
}

} // namespace ui
