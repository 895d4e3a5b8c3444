#include "ui/StartedFileName.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace ui {

QString startedFileName()
{
    const QStringList arguments = QCoreApplication::arguments();
    return fileNameStartedBy(arguments.isEmpty() ? QString() : arguments.first());
}

QString fileNameStartedBy(const QString& firstArgument)
{
    if (!firstArgument.contains(QLatin1Char('/'))) return QCoreApplication::applicationFilePath();
    // Neither cleaned nor resolved: "a/link/.." must stay where the file system takes it.
    return QDir::current().absoluteFilePath(firstArgument);
}

} // namespace ui
