#include "platform/drawing/draw_surface.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

constexpr ColourRef kWhite = Colour::RGB(255, 255, 255);
constexpr ColourRef kBlack = Colour::RGB(0, 0, 0);
constexpr ColourRef kRed = Colour::RGB(255, 0, 0);

using Points = std::set<std::pair<int, int>>;

// Every pixel of `surface` that is not `background`.
Points drawnPixels(const DrawSurface& surface, ColourRef background = kWhite) {
    Points points;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (surface.pixel(x, y) != background)
                points.insert({x, y});
    return points;
}

} // namespace

TEST(ColourRef, QtColoursKeepEveryChannel) {
    EXPECT_EQ(toQRgb(Colour::RGB(1, 2, 3)), qRgb(1, 2, 3));
    EXPECT_EQ(fromQRgb(qRgb(1, 2, 3)), Colour::RGB(1, 2, 3));
}

TEST(ColourRef, SystemReferencesTranslateToTheirTableColour) {
    struct Case {
        ColourRef value;
        ColourRef plain;
    };
    const Case cases[] = {
        {0x8000000Du, Colour::RGB(49, 106, 197)},  // highlight
        {0x8000000Fu, Colour::RGB(236, 233, 216)}, // button face
        {0x80000008u, kBlack},                     // window text
        {0x80000005u, kWhite},                     // window
        {0x800000FFu, kBlack},                     // unknown index
        {Colour::RGB(1, 2, 3), Colour::RGB(1, 2, 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Colour::translate(c.value), c.plain) << std::hex << c.value;

    DrawSurface surface(2, 2);
    surface.setPixel(0, 0, 0x8000000Du);
    EXPECT_EQ(surface.pixel(0, 0), Colour::RGB(49, 106, 197));
    surface.setBackColour(0x8000000Fu);
    EXPECT_EQ(surface.backColour(), Colour::RGB(236, 233, 216));
}

TEST(DrawSurface, StartsInItsBackgroundAndReadsOutsideAsInvalid) {
    DrawSurface surface(4, 3, kRed);
    EXPECT_EQ(surface.width(), 4);
    EXPECT_EQ(surface.height(), 3);
    EXPECT_EQ(drawnPixels(surface, kRed), Points{});
    for (auto [x, y] : {std::pair{-1, 0}, {4, 0}, {0, -1}, {0, 3}})
        EXPECT_EQ(surface.pixel(x, y), DrawSurface::InvalidColour) << x << "," << y;
    surface.setPixel(4, 0, kBlack); // cut, not written past the row
    surface.setPixel(-1, 2, kBlack);
    EXPECT_EQ(drawnPixels(surface, kRed), Points{});
    surface.setPixel(3, 2, kBlack);
    EXPECT_EQ(surface.pixel(3, 2), kBlack);
}

TEST(DrawSurface, ResizeKeepsWhatFitsAndClearsTheRest) {
    DrawSurface surface(3, 3);
    surface.setPixel(0, 0, kRed);
    surface.setPixel(2, 2, kRed);
    surface.setBackColour(kBlack);
    surface.resize(5, 2);
    EXPECT_EQ(surface.pixel(0, 0), kRed);
    EXPECT_EQ(surface.pixel(2, 1), kWhite); // old background stays where it was
    EXPECT_EQ(surface.pixel(4, 0), kBlack); // new area in the new background
    EXPECT_EQ(surface.pixel(2, 2), DrawSurface::InvalidColour);

    surface.resize(0, 7);
    EXPECT_EQ(surface.width(), 0);
    surface.drawLine(0, 0, 5, 5); // drawing on an empty surface is harmless
    surface.fillRect({0, 0, 9, 9}, kRed);
    surface.clear();
}

TEST(DrawSurface, LinesLeaveOutTheirEndPixel) {
    struct Case {
        int x1, y1, x2, y2;
        Points pixels;
    };
    const std::vector<Case> cases = {
        {0, 0, 4, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
        {3, 4, 3, 1, {{3, 4}, {3, 3}, {3, 2}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        {4, 0, 0, 2, {{4, 0}, {3, 1}, {2, 1}, {1, 2}}}, // halves step away from the start
        {2, 2, 2, 2, {}},
    };
    for (const Case& c : cases) {
        DrawSurface surface(6, 6);
        surface.setPen(PenStyle::Solid, kRed);
        surface.drawLine(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(drawnPixels(surface), c.pixels)
            << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
        EXPECT_EQ(surface.penX(), c.x2);
        EXPECT_EQ(surface.penY(), c.y2);
    }
}

TEST(DrawSurface, LineToContinuesFromThePenPosition) {
    DrawSurface surface(5, 5);
    surface.setPen(PenStyle::Solid, kRed);
    surface.moveTo(0, 0);
    surface.lineTo(2, 0);
    surface.lineTo(2, 2);
    EXPECT_EQ(drawnPixels(surface), (Points{{0, 0}, {1, 0}, {2, 0}, {2, 1}}));
}

TEST(DrawSurface, DottedPenDrawsEveryOtherPixelFromTheStart) {
    DrawSurface surface(10, 10);
    surface.setPen(PenStyle::Dot, kRed);
    surface.drawLine(0, 1, 7, 1);
    EXPECT_EQ(drawnPixels(surface), (Points{{0, 1}, {2, 1}, {4, 1}, {6, 1}}));

    // Starting off the surface: the pattern still counts from the first pixel.
    DrawSurface clipped(3, 10);
    clipped.setPen(PenStyle::Dot, kRed);
    clipped.drawLine(1, -5, 1, 6);
    EXPECT_EQ(drawnPixels(clipped), (Points{{1, 1}, {1, 3}, {1, 5}}));
}

TEST(DrawSurface, LinesFarOutsideAreCutWithoutHarm) {
    DrawSurface surface(8, 8);
    surface.setPen(PenStyle::Solid, kRed);
    surface.drawLine(-2000000000, 3, 2000000000, 3);
    surface.drawLine(-2000000000, -2000000000, 2000000000, 2000000000);
    surface.drawLine(100, 0, 100, 8);
    const Points drawn = drawnPixels(surface);
    for (int x = 0; x < 8; ++x) {
        EXPECT_TRUE(drawn.count({x, 3})) << x;
        EXPECT_TRUE(drawn.count({x, x})) << x;
    }
    EXPECT_EQ(drawn.size(), 15u);
}

TEST(DrawSurface, RectanglesLeaveOutRightAndBottom) {
    DrawSurface surface(8, 8);
    surface.fillRect({1, 2, 4, 4}, kRed);
    EXPECT_EQ(drawnPixels(surface), (Points{{1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}));

    DrawSurface framed(8, 8);
    framed.frameRect({1, 1, 5, 4}, kRed);
    Points ring;
    for (int x = 1; x < 5; ++x)
        ring.insert({{x, 1}, {x, 3}});
    ring.insert({{1, 2}, {4, 2}});
    EXPECT_EQ(drawnPixels(framed), ring);

    DrawSurface nothing(8, 8);
    nothing.fillRect({5, 5, 5, 9}, kRed); // empty
    nothing.fillRect({6, 6, 2, 2}, kRed); // inverted
    nothing.frameRect({3, 3, 3, 3}, kRed);
    EXPECT_EQ(drawnPixels(nothing), Points{});

    DrawSurface cut(4, 4);
    cut.fillRect({-10, -10, 2, 100}, kRed);
    EXPECT_EQ(drawnPixels(cut).size(), 8u);
}

TEST(DrawSurface, BlockCopiesApplyTheirRasterOperation) {
    const ColourRef s = Colour::RGB(0xF0, 0x0F, 0x55);
    const ColourRef d = Colour::RGB(0xCC, 0xAA, 0x33);
    struct Case {
        std::uint32_t rop;
        ColourRef result;
    };
    const Case cases[] = {
        {RasterOp::SrcCopy, s},
        {RasterOp::SrcAnd, (s & d)},
        {RasterOp::SrcPaint, (s | d)},
        {RasterOp::SrcInvert, (s ^ d)},
        {RasterOp::SrcErase, (s & ~d) & 0xFFFFFF},
        {RasterOp::NotSrcCopy, ~s & 0xFFFFFF},
        {RasterOp::MergePaint, (~s | d) & 0xFFFFFF},
        {RasterOp::DstInvert, ~d & 0xFFFFFF},
        {RasterOp::Blackness, kBlack},
        {RasterOp::Whiteness, kWhite},
    };
    DrawSurface source(2, 2, s);
    for (const Case& c : cases) {
        DrawSurface target(3, 3, d);
        target.bitBlt(1, 1, 2, 2, source, 0, 0, c.rop);
        EXPECT_EQ(target.pixel(1, 1), c.result) << std::hex << c.rop;
        EXPECT_EQ(target.pixel(2, 2), c.result) << std::hex << c.rop;
        EXPECT_EQ(target.pixel(0, 0), d) << std::hex << c.rop; // outside the block
    }
}

TEST(DrawSurface, MaskThenPaintLeavesTheBackgroundWhereTheMaskIsWhite) {
    // The transparent-picture idiom: AND a mask (white = see through), then OR the picture
    // with its see-through pixels made black.
    DrawSurface face(2, 1, Colour::RGB(10, 20, 30));
    DrawSurface mask(2, 1, kBlack);
    mask.setPixel(0, 0, kWhite);
    DrawSurface picture(2, 1, kBlack);
    picture.setPixel(1, 0, kRed);
    face.bitBlt(0, 0, 2, 1, mask, 0, 0, RasterOp::SrcAnd);
    face.bitBlt(0, 0, 2, 1, picture, 0, 0, RasterOp::SrcPaint);
    EXPECT_EQ(face.pixel(0, 0), Colour::RGB(10, 20, 30));
    EXPECT_EQ(face.pixel(1, 0), kRed);
}

TEST(DrawSurface, BlockCopiesAreCutAndMayOverlapThemselves) {
    DrawSurface source(2, 2, kRed);
    DrawSurface target(3, 3);
    target.bitBlt(2, 2, 5, 5, source, 0, 0);  // mostly outside the target
    target.bitBlt(-1, 0, 2, 1, source, 0, 0); // starts left of it
    EXPECT_EQ(drawnPixels(target), (Points{{2, 2}, {0, 0}}));

    DrawSurface target2(3, 1);
    target2.bitBlt(0, 0, 3, 1, source, 1, 0); // source column 2 is outside: black
    EXPECT_EQ(target2.pixel(0, 0), kRed);
    EXPECT_EQ(target2.pixel(1, 0), kBlack);

    DrawSurface row(4, 1);
    for (int x = 0; x < 4; ++x)
        row.setPixel(x, 0, Colour::RGB(x, 0, 0));
    row.bitBlt(1, 0, 3, 1, row, 0, 0); // shift right by one over itself
    EXPECT_EQ(row.pixel(1, 0), Colour::RGB(0, 0, 0));
    EXPECT_EQ(row.pixel(2, 0), Colour::RGB(1, 0, 0));
    EXPECT_EQ(row.pixel(3, 0), Colour::RGB(2, 0, 0));
}

TEST(DrawSurface, HatchBrushesRepeatEveryEightPixelsFromTheOrigin) {
    struct Case {
        int style;
        Points lineCells; // line pixels within one 8 x 8 cell
    };
    auto rowOf = [](int y) {
        Points p;
        for (int x = 0; x < 8; ++x)
            p.insert({x, y});
        return p;
    };
    auto columnOf = [](int x) {
        Points p;
        for (int y = 0; y < 8; ++y)
            p.insert({x, y});
        return p;
    };
    auto join = [](Points a, const Points& b) {
        a.insert(b.begin(), b.end());
        return a;
    };
    Points forward;
    Points backward;
    for (int i = 0; i < 8; ++i) {
        forward.insert({i, i});
        backward.insert({7 - i, i});
    }
    const Case cases[] = {
        {DrawBrush::HatchHorizontal, rowOf(7)},
        {DrawBrush::HatchVertical, columnOf(7)},
        {DrawBrush::HatchForwardDiagonal, forward},
        {DrawBrush::HatchBackwardDiagonal, backward},
        {DrawBrush::HatchCross, join(rowOf(7), columnOf(7))},
        {DrawBrush::HatchDiagonalCross, join(forward, backward)},
    };
    for (const Case& c : cases) {
        DrawSurface surface(20, 20);
        // Started away from the origin: the pattern stays aligned to the surface.
        surface.fillRect({3, 2, 20, 20}, DrawBrush::hatch(c.style, kRed, kBlack));
        for (int y = 2; y < 20; ++y)
            for (int x = 3; x < 20; ++x) {
                const bool line = c.lineCells.count({x % 8, y % 8}) > 0;
                ASSERT_EQ(surface.pixel(x, y), line ? kRed : kBlack)
                    << "style " << c.style << " at " << x << "," << y;
            }
        EXPECT_EQ(surface.pixel(2, 2), kWhite);
    }
}

TEST(DrawSurface, UnknownHatchOrMissingPatternPaintsNothing) {
    DrawSurface surface(4, 4);
    for (int style : {-1, 6, 100})
        surface.fillRect({0, 0, 4, 4}, DrawBrush::hatch(style, kRed, kBlack));
    surface.fillRect({0, 0, 4, 4}, DrawBrush::pattern(QImage()));
    surface.patBlt({0, 0, 4, 4}, DrawBrush());
    EXPECT_EQ(drawnPixels(surface), Points{});
}

TEST(DrawSurface, PatternBrushTilesItsPictureFromTheOrigin) {
    QImage tile(2, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            tile.setPixel(x, y, qRgb(x * 100, y * 50, 7));
    DrawSurface surface(7, 7);
    surface.patBlt({1, 1, 6, 6}, DrawBrush::pattern(tile), RasterOp::PatCopy);
    for (int y = 1; y < 6; ++y)
        for (int x = 1; x < 6; ++x)
            ASSERT_EQ(surface.pixel(x, y), Colour::RGB((x % 2) * 100, (y % 3) * 50, 7))
                << x << "," << y;
    EXPECT_EQ(surface.pixel(0, 0), kWhite);
    EXPECT_EQ(surface.pixel(6, 6), kWhite);
}

TEST(DrawSurface, EdgesShadeTopLeftAndBottomRight) {
    const ColourRef light = Colour::systemColour(Colour::kSysLight);
    const ColourRef highlight = Colour::systemColour(Colour::kSysButtonHighlight);
    const ColourRef shadow = Colour::systemColour(Colour::kSysButtonShadow);
    const ColourRef dark = Colour::systemColour(Colour::kSysDarkShadow);
    struct Case {
        unsigned edge;
        ColourRef outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
    };
    const Case cases[] = {
        {Edge::Raised, light, dark, highlight, shadow},
        {Edge::Sunken, shadow, highlight, dark, light},
        {Edge::Etched, shadow, highlight, highlight, shadow},
        {Edge::Bump, light, dark, dark, light},
    };
    for (const Case& c : cases) {
        DrawSurface surface(8, 6, kRed);
        surface.drawEdge({1, 1, 7, 6}, c.edge, Edge::SideAll);
        EXPECT_EQ(surface.pixel(1, 1), c.outerTopLeft) << c.edge;
        EXPECT_EQ(surface.pixel(5, 1), c.outerTopLeft) << c.edge;
        EXPECT_EQ(surface.pixel(6, 1), c.outerBottomRight) << c.edge; // right owns the corner
        EXPECT_EQ(surface.pixel(1, 5), c.outerBottomRight) << c.edge; // bottom owns the corner
        EXPECT_EQ(surface.pixel(6, 5), c.outerBottomRight) << c.edge;
        EXPECT_EQ(surface.pixel(2, 2), c.innerTopLeft) << c.edge;
        EXPECT_EQ(surface.pixel(5, 4), c.innerBottomRight) << c.edge;
        EXPECT_EQ(surface.pixel(3, 3), kRed) << c.edge; // inside untouched
        EXPECT_EQ(surface.pixel(0, 0), kRed) << c.edge;
    }

    DrawSurface single(5, 5, kRed);
    single.drawEdge({0, 0, 5, 5}, Edge::SunkenOuter, Edge::SideTop | Edge::SideLeft);
    EXPECT_EQ(single.pixel(0, 0), shadow);
    EXPECT_EQ(single.pixel(4, 4), kRed);
    EXPECT_EQ(single.pixel(1, 1), kRed); // no inner border asked for
}
