#pragma once

#include <cstdint>

// A colour value: 0x00BBGGRR (red in the low byte) is a plain colour; a value with the top bit
// set, 0x80000000 + n, stands for system colour n and is translated before anything is drawn
// (platform/drawing/colour.h). Stored forms keep it as it is.
using ColourRef = std::uint32_t;

namespace Colour {

constexpr ColourRef RGB(int r, int g, int b) {
    return static_cast<ColourRef>(r & 0xFF) | (static_cast<ColourRef>(g & 0xFF) << 8) |
           (static_cast<ColourRef>(b & 0xFF) << 16);
}
constexpr int red(ColourRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int green(ColourRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blue(ColourRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr bool isSystem(ColourRef c) {
    return (c & 0x80000000u) != 0;
}
constexpr ColourRef systemRef(int index) {
    return 0x80000000u | static_cast<ColourRef>(index);
}

} // namespace Colour
