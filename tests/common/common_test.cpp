#include "common/ascii.h"
#include "common/colour_ref.h"
#include "common/rounding.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Rounding, RoundsHalvesToEvenAndClamps) {
    EXPECT_EQ(roundToInt(12.5), 12);
    EXPECT_EQ(roundToInt(13.5), 14);
    EXPECT_EQ(roundToInt(-2.5), -2);
    EXPECT_EQ(roundToInt(128.7), 129);
    EXPECT_EQ(roundToInt(1e12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(roundToInt(-1e12), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(roundToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Ascii, LowersOnlyAsciiLetters) {
    EXPECT_EQ(asciiLower("ReCord RECSOUND_1 [x]"), "record recsound_1 [x]");
    // Bytes of other scripts pass unchanged, whatever the locale says about them.
    EXPECT_EQ(asciiLower("\xC4\xB0Z\xC9"), "\xC4\xB0z\xC9");
    EXPECT_TRUE(equalsIgnoringCase("BackColour", "backcolour"));
    EXPECT_FALSE(equalsIgnoringCase("backcolour", "backcolou"));
    EXPECT_FALSE(equalsIgnoringCase("\xC9", "\xE9"));
}

TEST(ColourRef, ValuesKeepRedInTheLowByte) {
    EXPECT_EQ(Colour::RGB(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(Colour::red(0x00563412u), 0x12);
    EXPECT_EQ(Colour::green(0x00563412u), 0x34);
    EXPECT_EQ(Colour::blue(0x00563412u), 0x56);
    EXPECT_FALSE(Colour::isSystem(0x00FFFFFFu));
    EXPECT_EQ(Colour::systemRef(15), 0x8000000Fu);
    EXPECT_TRUE(Colour::isSystem(Colour::systemRef(15)));
}
