#include "controls/bevel_button/bevel_colours.h"
#include "controls/bevel_button/bevel_renderer.h"
#include "platform/drawing/draw_surface.h"

#include <gtest/gtest.h>

#include <numbers>

using Colour::RGB;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr ColourRef kRecordFace = RGB(199, 190, 129);

struct Rendering {
    Rendering(int w, int h, std::int32_t shape, std::int16_t bevelHeight, bool sunken,
              ColourRef base = kRecordFace)
        : surface(w, h), height(bevelHeight), baseHls(RGBToHLS(base)) {
        RenderBevel(surface, height, base, shape, sunken);
    }
    // The base colour's hue and saturation at luminance `l`.
    ColourRef shade(int l) const {
        return HLSToRGB({baseHls.Hue, baseHls.Saturation, static_cast<std::int16_t>(l)});
    }
    ColourRef at(int x, int y) const { return surface.pixel(x, y); }
    // The columns of row y that hold `colour`, as [first, last]; {-1, -1} for none.
    std::pair<int, int> run(int y, ColourRef colour) const {
        int first = -1;
        int last = -1;
        for (int x = 0; x < surface.width(); ++x)
            if (at(x, y) == colour) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return {first, last};
    }

    DrawSurface surface;
    std::int16_t height;
    HLSColour baseHls;
};

TEST(BevelLuminance, ReachesTheTargetAtTheOuterEdge) {
    EXPECT_EQ(BevelLuminance(155, Pi / 2, 1.0, false), 220);     // top
    EXPECT_EQ(BevelLuminance(155, Pi / 2, 1.0, true), 40);       // top, sunken
    EXPECT_EQ(BevelLuminance(155, 3 * Pi / 4, 1.0, false), 240); // top-left diagonal
    EXPECT_EQ(BevelLuminance(155, 7 * Pi / 4, 1.0, false), 0);   // bottom-right diagonal
    EXPECT_EQ(BevelLuminance(155, 2 * Pi, 1.0, false), 40);      // right
    EXPECT_EQ(BevelLuminance(155, Pi, 2.5, false), 220);         // depth above 1 counts as 1
    EXPECT_EQ(BevelLuminance(155, Pi, 0.0, false), 155);         // inner edge: the face
    EXPECT_EQ(BevelLuminance(155, Pi, -1.0, false), 155);
    // Halfway in: weight sin(pi/4); 155 + 65 * 0.7071 = 200.96.
    EXPECT_EQ(BevelLuminance(155, Pi / 2, 0.5, false), 201);
    EXPECT_DOUBLE_EQ(Hypotenuse(3, 4), 5.0);
}

// The geometry table: computed heights, corner centres and bands.
TEST(RenderBevel, RoundedRectangle100x40) {
    const Rendering r(100, 40, 2, 0, false);
    EXPECT_EQ(r.height, 6);
    // The top band runs between the corner centres, columns 10 and 89, in full light.
    EXPECT_EQ(r.run(0, r.shade(220)), std::make_pair(10, 89));
    // The left band covers rows 10 to 29 of column 0.
    for (int y = 0; y < 40; ++y)
        EXPECT_EQ(r.at(0, y) == r.shade(220), y >= 10 && y <= 29) << "row " << y;
    // Bottom and right bands are dark; the inner edge of the ring (depth 0) is the face.
    EXPECT_EQ(r.run(39, r.shade(40)), std::make_pair(10, 89));
    EXPECT_EQ(r.at(99, 20), r.shade(40));
    EXPECT_EQ(r.at(50, 5), r.shade(155));
    EXPECT_EQ(r.at(50, 20), kRecordFace); // the flat face keeps the base colour itself
}

TEST(RenderBevel, CapsuleHasNoSideBands) {
    const Rendering r(100, 40, 3, 0, false);
    EXPECT_EQ(r.height, 6);
    EXPECT_EQ(r.run(0, r.shade(220)), std::make_pair(20, 79));
    EXPECT_EQ(r.run(39, r.shade(40)), std::make_pair(20, 79));
    // Rows 19 and 20 of the left end are corner pixels of two different corners.
    EXPECT_NE(r.at(0, 19), r.at(0, 20));
    EXPECT_NE(r.at(0, 19), r.shade(220));
}

TEST(RenderBevel, EllipseIsAllCorners) {
    const Rendering raised(50, 50, 1, 0, false);
    EXPECT_EQ(raised.height, 7);
    EXPECT_EQ(raised.run(0, raised.shade(220)), std::make_pair(-1, -1));
    EXPECT_EQ(raised.at(0, 0), kRecordFace); // outside the circle
    EXPECT_EQ(raised.at(25, 25), kRecordFace);
    // Sunken is raised turned by half a turn, pixel for pixel.
    const Rendering sunken(50, 50, 1, 0, true);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(sunken.at(x, y), raised.at(49 - x, 49 - y)) << x << "," << y;
}

TEST(RenderBevel, RectangleWithHeight4) {
    const Rendering raised(100, 40, 0, 4, false);
    EXPECT_EQ(raised.height, 4);
    EXPECT_EQ(raised.run(0, raised.shade(220)), std::make_pair(0, 99));
    // The inner row has weight 0: the face's own luminance.
    EXPECT_EQ(raised.run(3, raised.shade(155)), std::make_pair(3, 96));
    // The left band owns the bottom-left diagonal, the top band the top-right one.
    EXPECT_EQ(raised.at(0, 39), raised.shade(220));
    EXPECT_EQ(raised.run(39, raised.shade(40)), std::make_pair(1, 99));
    EXPECT_EQ(raised.at(99, 0), raised.shade(220));
    EXPECT_EQ(raised.at(99, 1), raised.shade(40));

    const Rendering sunken(100, 40, 0, 4, true);
    EXPECT_EQ(sunken.run(0, sunken.shade(40)), std::make_pair(0, 99));
    EXPECT_EQ(sunken.run(39, sunken.shade(220)), std::make_pair(1, 99));
}

TEST(RenderBevel, GreyFaceGivesGreyBevel) {
    const Rendering r(60, 30, 2, 0, false, RGB(192, 192, 192));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            const ColourRef c = r.at(x, y);
            ASSERT_TRUE(Colour::red(c) == Colour::green(c) && Colour::green(c) == Colour::blue(c))
                << x << "," << y;
        }
}

TEST(RenderBevel, HeightOneShadesTheWholeRing) {
    const Rendering r(100, 40, 2, 1, false);
    EXPECT_EQ(r.run(0, r.shade(220)), std::make_pair(10, 89));
    EXPECT_EQ(r.at(0, 20), r.shade(220));
    EXPECT_EQ(r.at(99, 20), r.shade(40));
    EXPECT_EQ(r.at(1, 20), kRecordFace);

    // A button under 8 pixels high gets a computed height of 1.
    const Rendering small(20, 6, 0, 0, true);
    EXPECT_EQ(small.height, 1);
    EXPECT_EQ(small.at(10, 0), small.shade(40));
}

TEST(RenderBevel, UnknownShapeGivesAPlainFace) {
    const Rendering r(40, 20, 7, 0, false);
    EXPECT_EQ(r.height, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(r.at(x, y), kRecordFace);
}

TEST(RenderBevel, SystemColourFace) {
    const Rendering r(40, 20, 0, 3, false, 0x8000000F);
    EXPECT_EQ(r.at(20, 10), Colour::systemColour(Colour::kSysButtonFace));
    EXPECT_EQ(r.surface.backColour(), Colour::systemColour(Colour::kSysButtonFace));
}

} // namespace
