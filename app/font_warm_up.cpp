#include "app/font_warm_up.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

void readFontConfiguration() {
    // The library keeps one configuration for the process and hands it to Qt's font database
    // as it is; made here, it is made once.
    FcInit();
}

std::jthread warmUpFontDatabase() {
    // The font database is filled on its first use, under its own lock, from any thread.
    return std::jthread([] { QFontDatabase::families(); });
}
