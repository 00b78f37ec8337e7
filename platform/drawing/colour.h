#pragma once

#include "common/colour_ref.h"

// The drawing side of the colour value: the system colours and their translation.
namespace Colour {

// Indices of the system colours the program uses.
constexpr int kSysWindow = 5;
constexpr int kSysWindowText = 8;
constexpr int kSysHighlight = 13;
constexpr int kSysHighlightText = 14;
constexpr int kSysButtonFace = 15;
constexpr int kSysButtonShadow = 16;
constexpr int kSysGrayText = 17;
constexpr int kSysButtonText = 18;
constexpr int kSysButtonHighlight = 20;
constexpr int kSysDarkShadow = 21;
constexpr int kSysLight = 22;

// The plain colour of system colour `index` from a fixed table (the blue-and-beige desktop
// scheme: button face RGB(236, 233, 216), highlight RGB(49, 106, 197)); the program does not
// follow the desktop's theme. Unknown indices give black.
ColourRef systemColour(int index);

// Plain colours pass unchanged; a system colour reference becomes its table colour.
ColourRef translate(ColourRef c);

} // namespace Colour
