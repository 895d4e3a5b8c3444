#include "ui/ErrorHandler.h"

#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QWidget>

namespace ui {

QString withFullStop(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

void showError(const QString& message)
{
    const QString title = QApplication::applicationDisplayName().isEmpty()
                              ? QStringLiteral("Tavrix")
                              : QApplication::applicationDisplayName();
    MessageBoxes::current().show(QApplication::activeWindow(),
                                 {MessageKind::Error, title, withFullStop(message), false});
}

void showError(const std::exception& error)
{
    showError(QString::fromUtf8(error.what()));
}

} // namespace ui
