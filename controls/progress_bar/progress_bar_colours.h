#pragma once

#include "platform/drawing/colour.h"

// Colour arithmetic shared by every look of the progress bar.
namespace ProgressBarColours {

// Moves each channel of `colour` towards white by `amount` (0 keeps it, 255 gives white), with
// integer arithmetic: ch * (255 - amount) / 255 + amount. The colour is not translated first.
ColourRef LightenColor(ColourRef colour, int amount);

// Mixes two colours (both translated first): 255 gives `colour1`, 0 gives `colour2`.
ColourRef BlendColors(ColourRef colour1, ColourRef colour2, int amount);

} // namespace ProgressBarColours
