#pragma once

#include <thread>

// Reading the font configuration and its caches is most of what the window's first text costs.
// The returned thread does it while the application object and the window are being made, so
// that the window's thread finds it done. Join it (let it go) before the program ends.
std::jthread warmUpFonts();
