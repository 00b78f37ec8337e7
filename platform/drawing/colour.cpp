#include "platform/drawing/colour.h"

#include <array>

namespace Colour {

namespace {
// One fixed scheme, so the look does not change with the desktop's theme.
constexpr std::array<ColourRef, 31> kSystemColours = {
    RGB(212, 208, 200), //  0 scroll bar
    RGB(0, 78, 152),    //  1 desktop
    RGB(0, 84, 227),    //  2 active caption
    RGB(122, 150, 223), //  3 inactive caption
    RGB(255, 255, 255), //  4 menu
    RGB(255, 255, 255), //  5 window
    RGB(0, 0, 0),       //  6 window frame
    RGB(0, 0, 0),       //  7 menu text
    RGB(0, 0, 0),       //  8 window text
    RGB(255, 255, 255), //  9 caption text
    RGB(212, 208, 200), // 10 active border
    RGB(212, 208, 200), // 11 inactive border
    RGB(128, 128, 128), // 12 application workspace
    RGB(49, 106, 197),  // 13 highlight
    RGB(255, 255, 255), // 14 highlighted text
    RGB(236, 233, 216), // 15 button face
    RGB(172, 168, 153), // 16 button shadow
    RGB(172, 168, 153), // 17 grey text
    RGB(0, 0, 0),       // 18 button text
    RGB(216, 228, 248), // 19 inactive caption text
    RGB(255, 255, 255), // 20 button highlight
    RGB(113, 111, 100), // 21 dark shadow
    RGB(241, 239, 226), // 22 light
    RGB(0, 0, 0),       // 23 tool tip text
    RGB(255, 255, 225), // 24 tool tip background
    RGB(181, 181, 181), // 25 (unused index)
    RGB(0, 0, 128),     // 26 hot-tracked item
    RGB(61, 149, 255),  // 27 active caption gradient
    RGB(157, 185, 235), // 28 inactive caption gradient
    RGB(49, 106, 197),  // 29 menu highlight
    RGB(236, 233, 216), // 30 menu bar
};
} // namespace

ColourRef systemColour(int index) {
    if (index < 0 || index >= static_cast<int>(kSystemColours.size()))
        return 0;
    return kSystemColours[static_cast<std::size_t>(index)];
}

ColourRef translate(ColourRef c) {
    if (!isSystem(c))
        return c;
    return systemColour(static_cast<int>(c & 0x00FFFFFFu));
}

} // namespace Colour
