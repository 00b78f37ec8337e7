#include "app/command_line.h"

#include <QFileInfo>
#include <QUrl>

QString fileArgument(const QStringList& arguments) {
    if (arguments.size() < 2 || arguments[1].isEmpty())
        return QString();
    const QString given = arguments[1];
    // Some launchers hand over a file URL even where a path is asked for.
    if (given.startsWith(QLatin1String("file:")))
        return QUrl(given).toLocalFile();
    return QFileInfo(given).absoluteFilePath();
}
