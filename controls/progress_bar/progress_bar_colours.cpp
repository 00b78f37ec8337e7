#include "controls/progress_bar/progress_bar_colours.h"

#include "controls/progress_bar/progress_bar_math.h"

#include <algorithm>
#include <cstdint>

namespace ProgressBarColours {

namespace {

int clampChannel(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, 255));
}

} // namespace

ColourRef LightenColor(ColourRef colour, int amount) {
    auto lighten = [amount](int ch) {
        // Integer division truncates toward zero, as the look's colours were tuned with it.
        const std::int64_t v = std::int64_t{ch} * (255 - std::int64_t{amount}) / 255 + amount;
        return clampChannel(v);
    };
    return Colour::RGB(lighten(Colour::red(colour)), lighten(Colour::green(colour)),
                       lighten(Colour::blue(colour)));
}

ColourRef BlendColors(ColourRef colour1, ColourRef colour2, int amount) {
    const ColourRef c1 = Colour::translate(colour1);
    const ColourRef c2 = Colour::translate(colour2);
    auto blend = [amount](int ch1, int ch2) {
        const double v = (255.0 - amount) * ch2 / 255.0 + double(amount) * ch1 / 255.0;
        return clampChannel(roundToInt(v));
    };
    return Colour::RGB(blend(Colour::red(c1), Colour::red(c2)),
                       blend(Colour::green(c1), Colour::green(c2)),
                       blend(Colour::blue(c1), Colour::blue(c2)));
}

} // namespace ProgressBarColours
