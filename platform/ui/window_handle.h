#pragma once

#include <cstdint>

// A window named by number across library boundaries: a top-level window's native id (an X11
// window id fits in 32 bits), 0 for no window.
using WindowHandle = std::int32_t;
