#include "app/warm_up.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QStringList>

#include <fontconfig/fontconfig.h>

void readFontConfiguration() {
    // The library keeps one configuration for the process and hands it to Qt's font database
    // as it is; made here, it is made once.
    FcInit();
}

void fillFontDatabase() {
    // The font database is filled on its first use, under its own lock, from any thread.
    QFontDatabase::families();
}

void loadImageFormats() {
    // The plug-ins are loaded under the loader's lock, once for the process, and handed to the
    // window's thread.
    QImageReader::supportedImageFormats();
}
