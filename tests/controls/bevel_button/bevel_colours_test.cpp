#include "controls/bevel_button/bevel_colours.h"

#include <gtest/gtest.h>

using Colour::RGB;

namespace {

struct HlsCase {
    const char* name;
    ColourRef rgb;
    HLSColour hls; // Hue, Saturation, Luminance
};

class RGBToHLSTest : public ::testing::TestWithParam<HlsCase> {};

TEST_P(RGBToHLSTest, Converts) {
    EXPECT_EQ(RGBToHLS(GetParam().rgb), GetParam().hls);
}

INSTANTIATE_TEST_SUITE_P(Colours, RGBToHLSTest,
                         ::testing::Values(HlsCase{"black", RGB(0, 0, 0), {160, 0, 0}},
                                           HlsCase{"white", RGB(255, 255, 255), {160, 0, 240}},
                                           HlsCase{"red", RGB(255, 0, 0), {0, 240, 120}},
                                           HlsCase{"green", RGB(0, 255, 0), {80, 240, 120}},
                                           HlsCase{"blue", RGB(0, 0, 255), {160, 240, 120}},
                                           HlsCase{"silver", RGB(192, 192, 192), {160, 0, 181}},
                                           HlsCase{
                                               "record_face", RGB(199, 190, 129), {35, 92, 155}},
                                           // R and G tie: the red formula.
                                           HlsCase{"yellow", RGB(255, 255, 0), {40, 240, 120}},
                                           // G and B tie: the green formula.
                                           HlsCase{"cyan", RGB(0, 255, 255), {120, 240, 120}},
                                           // A hue below 0 wraps to the top of the scale.
                                           HlsCase{"rose", RGB(255, 0, 128), {220, 240, 120}}),
                         [](const auto& info) { return std::string(info.param.name); });

class HLSToRGBTest : public ::testing::TestWithParam<HlsCase> {};

TEST_P(HLSToRGBTest, Converts) {
    EXPECT_EQ(HLSToRGB(GetParam().hls), GetParam().rgb);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, HLSToRGBTest,
    ::testing::Values(HlsCase{"silver", RGB(192, 192, 192), {160, 0, 181}},
                      HlsCase{"red", RGB(255, 0, 0), {0, 240, 120}},
                      // Not the colour it came from: the round trip is lossy.
                      HlsCase{"record_face", RGB(199, 192, 131), {35, 92, 155}},
                      // A channel of 256 at luminance 240 is stored as 255.
                      HlsCase{"full_luminance", RGB(255, 255, 255), {0, 240, 240}},
                      HlsCase{"grey_white", RGB(255, 255, 255), {160, 0, 240}},
                      HlsCase{"black", RGB(0, 0, 0), {160, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HueToRGB, BringsTheHueIntoRangeInPlace) {
    std::int32_t below = -10;
    HueToRGB(0, 240, below);
    EXPECT_EQ(below, 230);
    std::int32_t above = 250;
    // 10 on the rising sixth: (240 * 10 + 20) / 40 = 60.5, halves to even.
    EXPECT_EQ(HueToRGB(0, 240, above), 60);
    EXPECT_EQ(above, 10);
    std::int32_t inRange = 240;
    EXPECT_EQ(HueToRGB(7, 9, inRange), 7);
    EXPECT_EQ(inRange, 240);
}

TEST(IntMaxMin, PickTheLargerAndTheSmaller) {
    EXPECT_EQ(IntMax(-3, 2), 2);
    EXPECT_EQ(IntMax(2, -3), 2);
    EXPECT_EQ(IntMin(-3, 2), -3);
    EXPECT_EQ(IntMin(-32768, 32767), -32768);
}

TEST(TranslateColour, SystemColoursComeFromTheSharedTable) {
    EXPECT_EQ(TranslateColour(0x8000000F), Colour::systemColour(Colour::kSysButtonFace));
    EXPECT_EQ(TranslateColour(0x80000008), Colour::systemColour(Colour::kSysWindowText));
    EXPECT_EQ(TranslateColour(0x8000000E), Colour::systemColour(Colour::kSysHighlightText));
    EXPECT_EQ(TranslateColour(RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(TranslateColour(0x800000FF), 0u); // an index the table does not know: black
}

} // namespace
