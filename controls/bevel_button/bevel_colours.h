#pragma once

#include "platform/drawing/colour.h"

#include <cstdint>

// A colour as hue, saturation and luminance, each on a 0..240 scale. Hue 0 and 240 are both
// red, 80 green, 160 blue; an achromatic colour has saturation 0 and hue 160.
struct HLSColour {
    std::int16_t Hue = 0;
    std::int16_t Saturation = 0;
    std::int16_t Luminance = 0;
    friend bool operator==(const HLSColour&, const HLSColour&) = default;
};

// The larger and the smaller of two Integers; b when they are equal.
std::int16_t IntMax(std::int16_t a, std::int16_t b);
std::int16_t IntMin(std::int16_t a, std::int16_t b);

// Conversions between plain colours and HLS. Double intermediates, halves rounded to even,
// so a chromatic colour need not survive the round trip exactly.
HLSColour RGBToHLS(ColourRef colour);
ColourRef HLSToRGB(const HLSColour& hls);

// One channel on the 0..240 scale for HLSToRGB. A hue outside 0..240 is brought back into
// range in the caller's variable.
std::int32_t HueToRGB(std::int16_t m1, std::int16_t m2, std::int32_t& hue);

// A system colour reference becomes its plain colour from the table the progress bar uses too;
// a plain colour is returned unchanged.
ColourRef TranslateColour(ColourRef colour);
