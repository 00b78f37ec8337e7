#include "platform/program/program_folder.h"

#include <QCoreApplication>
#include <QDir>

std::string programFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/" SORVINTA_DATA_FROM_BINDIR))
        .toStdString();
}
