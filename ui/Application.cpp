#include "ui/Application.h"

#include "store/NumberFormat.h"
#include "ui/ButtonEnterKey.h"
#include "ui/ErrorHandler.h"
#include "ui/Images.h"
#include "ui/WindowFont.h"

#include <QLocale>

#include <exception>

namespace ui {

void prepareApplication(QApplication& application)
{
    // No display name of its own: the window system would append it to every window's title.
    QApplication::setApplicationName(QStringLiteral("Tavrix"));
    QApplication::setFont(windowFont());
    application.installEventFilter(new ButtonEnterKey(&application));
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    prepareApplication(*this);
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
