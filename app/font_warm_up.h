#pragma once

#include <thread>

// Reading the font configuration and filling Qt's font database are most of what the window's
// first text costs. These threads do it while the application object and the window are being
// made, so that the window's thread finds it done (or waits only for the rest). Join them (let
// them go) before the program ends.

// Reads the font configuration and its caches; any time, best before the application object.
void readFontConfiguration();
// Qt's font database; once the application object exists.
std::jthread warmUpFontDatabase();
