#include "app/font_warm_up.h"

#include <fontconfig/fontconfig.h>

std::jthread warmUpFonts() {
    // The library keeps one configuration for the process and hands it to Qt's font database
    // as it is; made here, it is made once.
    return std::jthread([] { FcInit(); });
}
