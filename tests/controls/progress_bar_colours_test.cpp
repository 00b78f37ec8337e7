#include "controls/progress_bar/progress_bar_colours.h"
#include "controls/progress_bar/progress_bar_math.h"

#include <gtest/gtest.h>

#include <limits>

using Colour::RGB;
using ProgressBarColours::BlendColors;
using ProgressBarColours::LightenColor;

TEST(ProgressBarColours, LightenColor) {
    struct Case {
        ColourRef colour;
        int amount;
        ColourRef expected;
    };
    const Case cases[] = {
        {RGB(0, 0, 0), 100, RGB(100, 100, 100)},
        {RGB(200, 100, 0), 250, RGB(253, 251, 250)}, // truncating division per channel
        {RGB(126, 142, 197), 0, RGB(126, 142, 197)},
        {RGB(126, 142, 197), 255, RGB(255, 255, 255)},
        {RGB(126, 142, 197), 10, RGB(131, 146, 199)},
        {RGB(255, 255, 255), 300, RGB(255, 255, 255)}, // past white is held at 255
    };
    for (const Case& c : cases)
        EXPECT_EQ(LightenColor(c.colour, c.amount), c.expected)
            << std::hex << c.colour << " by " << std::dec << c.amount;
}

TEST(ProgressBarColours, BlendColors) {
    struct Case {
        ColourRef c1;
        ColourRef c2;
        int amount;
        ColourRef expected;
    };
    const Case cases[] = {
        {RGB(12, 34, 56), RGB(200, 100, 0), 255, RGB(12, 34, 56)},
        {RGB(12, 34, 56), RGB(200, 100, 0), 0, RGB(200, 100, 0)},
        {RGB(255, 255, 255), RGB(0, 0, 0), 200, RGB(200, 200, 200)},
        // 1 * 255 / 2 / 255 = 0.5 and 3 / 2 = 1.5: halves go to the even neighbour.
        {RGB(1, 3, 0), RGB(0, 0, 0), 127, RGB(0, 1, 0)},
        // System colours are translated first: 15 is the button face.
        {Colour::systemRef(Colour::kSysButtonFace), RGB(0, 0, 0), 255,
         Colour::systemColour(Colour::kSysButtonFace)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendColors(c.c1, c.c2, c.amount), c.expected) << std::hex << c.c1 << " " << c.c2;
}

TEST(ProgressBarMath, ModKeepsTheSignOfItsLeftOperand) {
    EXPECT_EQ(modKeepSign(65, 8), 1);
    EXPECT_EQ(modKeepSign(-5, 8), -5);
    EXPECT_EQ(modKeepSign(-19, 2), -1);
    EXPECT_EQ(modKeepSign(7, 0), 0);
}

TEST(ProgressBarMath, PercentFromValueErrors) {
    EXPECT_EQ(percentFromValue(5, 0, 0).error, ValueError::DivisionByZero);
    EXPECT_EQ(percentFromValue(21474837, 0, 100).error, ValueError::Overflow);
    EXPECT_EQ(percentFromValue(-21474837, 0, 100).error, ValueError::Overflow);
    const PercentResult largest = percentFromValue(21474836, 0, 100);
    EXPECT_EQ(largest.error, ValueError::None);
    EXPECT_EQ(largest.percent, 21474836);
}

TEST(ProgressBarMath, NonZeroMinMapsBothWays) {
    // 150 in 100..200 is half way, and half way back is 150.
    EXPECT_EQ(percentFromValue(150, 100, 200).percent, 50);
    EXPECT_EQ(valueFromPercent(50, 100, 200), 150);
    EXPECT_EQ(percentFromValue(-5, -10, 10).percent, 25);
    EXPECT_EQ(valueFromPercent(25, -10, 10), -5);
}
