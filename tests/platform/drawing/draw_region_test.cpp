#include "platform/drawing/draw_region.h"
#include "platform/drawing/draw_surface.h"

#include <gtest/gtest.h>

TEST(DrawRegion, RectangleHoldsLeftTopButNotRightBottom) {
    const DrawRegion r = DrawRegion::rectangle(2, 3, 5, 7);
    EXPECT_TRUE(r.contains(2, 3));
    EXPECT_TRUE(r.contains(4, 6));
    EXPECT_FALSE(r.contains(5, 6));
    EXPECT_FALSE(r.contains(4, 7));
    EXPECT_FALSE(r.contains(1, 3));
    EXPECT_EQ(r.bounds(), (DrawRect{2, 3, 5, 7}));
    EXPECT_TRUE(DrawRegion::rectangle(5, 5, 5, 9).isEmpty());
}

TEST(DrawRegion, EllipseFillsTheBoxLessItsLastColumnAndRow) {
    // A 50 x 50 circle, asked for as the box (0, 0, 51, 51).
    const DrawRegion circle = DrawRegion::ellipse(0, 0, 51, 51);
    EXPECT_EQ(circle.bounds(), (DrawRect{0, 0, 50, 50}));
    EXPECT_TRUE(circle.contains(25, 25));
    EXPECT_TRUE(circle.contains(0, 24));
    EXPECT_TRUE(circle.contains(49, 25));
    EXPECT_TRUE(circle.contains(24, 0));
    EXPECT_FALSE(circle.contains(0, 0));
    EXPECT_FALSE(circle.contains(49, 49));
    EXPECT_FALSE(circle.contains(6, 6)); // just outside the curve on the diagonal
    EXPECT_TRUE(circle.contains(7, 7));
    EXPECT_FALSE(circle.contains(50, 25));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            ASSERT_EQ(circle.contains(x, y), circle.contains(49 - x, y)) << x << "," << y;
            ASSERT_EQ(circle.contains(x, y), circle.contains(y, x)) << x << "," << y;
        }
}

TEST(DrawRegion, RoundedRectangleCutsOnlyItsCorners) {
    // 100 x 40 with 20 x 20 corner ellipses.
    const DrawRegion r = DrawRegion::roundedRectangle(0, 0, 101, 41, 20, 20);
    EXPECT_EQ(r.bounds(), (DrawRect{0, 0, 100, 40}));
    struct Case {
        int x, y;
        bool inside;
    };
    const Case cases[] = {
        {0, 0, false},  {2, 2, false},    {3, 3, true},    {10, 0, true},   {0, 10, true},
        {0, 20, true},  {50, 0, true},    {99, 20, true},  {99, 39, false}, {97, 37, false},
        {96, 36, true}, {100, 20, false}, {50, 40, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(r.contains(c.x, c.y), c.inside) << c.x << "," << c.y;

    // Corners as large as the shape give the inscribed ellipse.
    const DrawRegion capsule = DrawRegion::roundedRectangle(0, 0, 31, 31, 30, 30);
    const DrawRegion ellipse = DrawRegion::ellipse(0, 0, 31, 31);
    EXPECT_TRUE(DrawRegion::combine(capsule, ellipse, DrawRegion::Xor).isEmpty());
}

// Every pixel whose centre lies inside the shape, and no other, for every small size and corner:
// the region is built a row at a time from each row's two ends.
TEST(DrawRegion, RoundedShapesHoldExactlyThePixelsWhoseCentresLieInside) {
    const auto centreInside = [](double px, double py, int w, int h, int cw, int ch) {
        const double rx = cw / 2.0, ry = ch / 2.0;
        const double ex = px < rx ? px - rx : (px > w - rx ? px - (w - rx) : 0.0);
        const double ey = py < ry ? py - ry : (py > h - ry ? py - (h - ry) : 0.0);
        return (ex * ex) / (rx * rx) + (ey * ey) / (ry * ry) <= 1.0;
    };
    for (int w = 1; w <= 24; ++w)
        for (int h = 1; h <= 24; h += 5)
            for (const int cw : {1, 2, 7, w})
                for (const int ch : {1, 6, h}) {
                    if (cw > w || ch > h)
                        continue;
                    const DrawRegion r =
                        DrawRegion::roundedRectangle(3, 4, 3 + w + 1, 4 + h + 1, cw, ch);
                    for (int y = -1; y <= h; ++y)
                        for (int x = -1; x <= w; ++x) {
                            const bool expected = x >= 0 && y >= 0 && x < w && y < h &&
                                                  centreInside(x + 0.5, y + 0.5, w, h, cw, ch);
                            ASSERT_EQ(r.contains(3 + x, 4 + y), expected)
                                << w << "x" << h << " corners " << cw << "x" << ch << " at " << x
                                << "," << y;
                        }
                }
}

TEST(DrawRegion, CombinationsOfTwoRegions) {
    const DrawRegion outer = DrawRegion::rectangle(0, 0, 10, 10);
    const DrawRegion inner = DrawRegion::rectangle(3, 3, 7, 7);
    struct Case {
        DrawRegion::CombineMode mode;
        bool edge;   // (0, 0): only in outer
        bool centre; // (5, 5): in both
        bool beyond; // (12, 12): in neither
    };
    const Case cases[] = {
        {DrawRegion::Xor, true, false, false}, {DrawRegion::And, false, true, false},
        {DrawRegion::Or, true, true, false},   {DrawRegion::Diff, true, false, false},
        {DrawRegion::Copy, true, true, false},
    };
    for (const Case& c : cases) {
        const DrawRegion r = DrawRegion::combine(outer, inner, c.mode);
        EXPECT_EQ(r.contains(0, 0), c.edge) << c.mode;
        EXPECT_EQ(r.contains(5, 5), c.centre) << c.mode;
        EXPECT_EQ(r.contains(12, 12), c.beyond) << c.mode;
    }
    // Inner and outer ellipses make a ring one bevel deep.
    const DrawRegion ring = DrawRegion::combine(DrawRegion::ellipse(0, 0, 51, 51),
                                                DrawRegion::ellipse(7, 7, 44, 44), DrawRegion::Xor);
    EXPECT_TRUE(ring.contains(0, 25));
    EXPECT_TRUE(ring.contains(6, 25));
    EXPECT_FALSE(ring.contains(7, 25));
    EXPECT_FALSE(ring.contains(25, 25));
}

TEST(DrawRegion, FillRegionPaintsExactlyItsPixels) {
    DrawSurface surface(12, 12);
    const DrawRegion r = DrawRegion::ellipse(-5, -5, 9, 9); // partly off the surface
    surface.fillRegion(r, Colour::RGB(1, 2, 3));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(surface.pixel(x, y) == Colour::RGB(1, 2, 3), r.contains(x, y))
                << x << "," << y;
}
