#include "controls/bevel_button/bevel_colours.h"

#include "common/rounding.h"

#include <algorithm>

std::int16_t IntMax(std::int16_t a, std::int16_t b) {
    return a > b ? a : b;
}

std::int16_t IntMin(std::int16_t a, std::int16_t b) {
    return a < b ? a : b;
}

HLSColour RGBToHLS(ColourRef colour) {
    const auto r = static_cast<std::int16_t>(Colour::red(colour));
    const auto g = static_cast<std::int16_t>(Colour::green(colour));
    const auto b = static_cast<std::int16_t>(Colour::blue(colour));
    const int max = IntMax(IntMax(r, g), b);
    const int min = IntMin(IntMin(r, g), b);
    const int sum = max + min;
    const int diff = max - min;

    const double l = (sum * 240.0 + 255.0) / 510.0;
    if (max == min)
        return {160, 0, static_cast<std::int16_t>(roundToInt(l))};

    const double s = l <= 120.0 ? (diff * 240.0 + 0.5) / sum : (diff * 240.0 + 0.5) / (510 - sum);
    const double rd = ((max - r) * 40.0 + 0.5) / diff;
    const double gd = ((max - g) * 40.0 + 0.5) / diff;
    const double bd = ((max - b) * 40.0 + 0.5) / diff;
    double h = 0.0;
    if (r == max)
        h = bd - gd;
    else if (g == max)
        h = 80.0 + rd - bd;
    else
        h = 160.0 + gd - rd;
    if (h < 0.0)
        h += 240.0;
    return {static_cast<std::int16_t>(roundToInt(h)), static_cast<std::int16_t>(roundToInt(s)),
            static_cast<std::int16_t>(roundToInt(l))};
}

std::int32_t HueToRGB(std::int16_t m1, std::int16_t m2, std::int32_t& hue) {
    if (hue < 0)
        hue += 240;
    else if (hue > 240)
        hue -= 240;
    if (hue < 40)
        return roundToInt((double(m2 - m1) * hue + 20.0) / 40.0 + m1);
    if (hue < 120)
        return m2;
    if (hue < 160)
        return roundToInt((double(m2 - m1) * (160 - hue) + 20.0) / 40.0 + m1);
    return m1;
}

ColourRef HLSToRGB(const HLSColour& hls) {
    const int h = hls.Hue;
    const int s = hls.Saturation;
    const int l = hls.Luminance;
    if (s == 0) {
        const int v = std::min(roundToInt(l * 255.0 / 240.0), 255);
        return Colour::RGB(v, v, v);
    }
    const double m2Exact =
        l <= 120 ? (l * (240.0 + s) + 120.0) / 240.0 : l + s - (double(l) * s + 120.0) / 240.0;
    const auto m2 = static_cast<std::int16_t>(roundToInt(m2Exact));
    const auto m1 = static_cast<std::int16_t>(2 * l - m2);

    // A channel of 256 (luminance 240) is stored as 255.
    const auto channel = [&](std::int32_t hue) {
        return std::min(roundToInt((HueToRGB(m1, m2, hue) * 255.0 + 120.0) / 240.0), 255);
    };
    return Colour::RGB(channel(h + 80), channel(h), channel(h - 80));
}

ColourRef TranslateColour(ColourRef colour) {
    return Colour::translate(colour);
}
