#pragma once

#include <cstdint>

// A colour value: 0x00BBGGRR (red in the low byte) is a plain colour; a value with the top bit
// set, 0x80000000 + n, stands for system colour n and is translated before anything is drawn.
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

// Indices of the system colours the program uses.
constexpr int SysWindow = 5;
constexpr int SysWindowText = 8;
constexpr int SysHighlight = 13;
constexpr int SysHighlightText = 14;
constexpr int SysButtonFace = 15;
constexpr int SysButtonShadow = 16;
constexpr int SysGrayText = 17;
constexpr int SysButtonText = 18;
constexpr int SysButtonHighlight = 20;
constexpr int SysDarkShadow = 21;
constexpr int SysLight = 22;

// The plain colour of system colour `index` from a fixed table (the blue-and-beige desktop
// scheme: button face RGB(236, 233, 216), highlight RGB(49, 106, 197)); the program does not
// follow the desktop's theme. Unknown indices give black.
ColourRef systemColour(int index);

// Plain colours pass unchanged; a system colour reference becomes its table colour.
ColourRef translate(ColourRef c);

} // namespace Colour
