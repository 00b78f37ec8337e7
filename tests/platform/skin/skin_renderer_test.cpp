#include "platform/skin/skin_renderer.h"

#include "coded_skin_style.h"

#include <gtest/gtest.h>

namespace {

constexpr int W = 617;
constexpr int H = 323;

SkinRenderer renderer(const SkinStyle& style) {
    return SkinRenderer(style,
                        *SkinLayout::make({19, 20, 90, 140, 240, 400}, style.captionPicture.size(),
                                          style.framePicture.size()));
}

// Where a caption-bar pixel of the window comes from: the left part as it is, the right part
// against the window's right edge, the middle part repeated in between.
int captionColumn(int x, bool active) {
    const int origin = active ? 0 : 400;
    if (x < 90)
        return origin + x;
    if (x >= W - 100)
        return origin + 140 + (x - (W - 100));
    return origin + 90 + (x - 90) % 50;
}

class SkinRendererLooks : public ::testing::TestWithParam<bool> {};

TEST_P(SkinRendererLooks, CutsTheCaptionBarAndFrameFromThePictures) {
    const bool active = GetParam();
    const SkinStyle style = codedSkinStyle();
    const QImage frame = renderer(style).render(QSize(W, H), active, CaptionButton::None);
    ASSERT_EQ(frame.size(), QSize(W, H));
    const QRect close(591, 2, 19, 20);
    const QRect minimise(570, 2, 19, 20);
    // Inside the outline; the caption rule is the caption bar's last row.
    for (int y = 1; y < 23; ++y) {
        for (int x = 1; x < W - 1; ++x) {
            if (close.contains(x, y) || minimise.contains(x, y))
                continue;
            ASSERT_EQ(frame.pixel(x, y), captionPixel(captionColumn(x, active), y))
                << x << "," << y;
        }
    }
    const int half = active ? 0 : 35;
    for (int y = 24; y < H - 5; ++y) {
        for (int i = 1; i < 5; ++i) {
            ASSERT_EQ(frame.pixel(i, y), framePixel(half + i, (y - 24) % 5)) << y;
            ASSERT_EQ(frame.pixel(W - 5 + i - 1, y), framePixel(half + 30 + i - 1, (y - 24) % 5))
                << y;
        }
    }
    for (int j = 0; j < 4; ++j) {
        const int y = H - 5 + j;
        for (int x = 1; x < 5; ++x)
            ASSERT_EQ(frame.pixel(x, y), framePixel(half + x, 5 + j));
        for (int x = 5; x < W - 5; ++x)
            ASSERT_EQ(frame.pixel(x, y), framePixel(half + 5 + (x - 5) % 25, 5 + j)) << x;
        for (int x = W - 5; x < W - 1; ++x)
            ASSERT_EQ(frame.pixel(x, y), framePixel(half + 30 + x - (W - 5), 5 + j));
    }
    // Buttons are the same in both looks: close from the first cell, minimise from the last.
    EXPECT_EQ(frame.pixel(close.topLeft()), captionPixel(240, 0));
    EXPECT_EQ(frame.pixel(close.bottomRight()), captionPixel(258, 19));
    EXPECT_EQ(frame.pixel(minimise.topLeft()), captionPixel(297, 0));
    // The outline and the caption rule in the style's colours.
    const QRgb outline = active ? qRgb(250, 1, 1) : qRgb(1, 250, 1);
    for (const QPoint p : {QPoint(0, 0), QPoint(W - 1, 0), QPoint(0, H - 1), QPoint(W - 1, H - 1),
                           QPoint(300, 0), QPoint(0, 150), QPoint(W - 1, 150), QPoint(300, H - 1)})
        EXPECT_EQ(frame.pixel(p), outline) << p.x() << "," << p.y();
    EXPECT_EQ(frame.pixel(5, 23), qRgb(1, 1, 250));
    EXPECT_EQ(frame.pixel(W - 6, 23), qRgb(1, 1, 250));
    EXPECT_NE(frame.pixel(4, 23), qRgb(1, 1, 250)); // the sides run on past the rule
}

INSTANTIATE_TEST_SUITE_P(ActiveAndInactive, SkinRendererLooks, ::testing::Bool());

TEST(SkinRenderer, APressedButtonShowsItsLowerCell) {
    const QImage frame =
        renderer(codedSkinStyle()).render(QSize(W, H), true, CaptionButton::Minimise);
    EXPECT_EQ(frame.pixel(570, 2), captionPixel(297, 20));
    EXPECT_EQ(frame.pixel(591, 2), captionPixel(240, 0)); // close stays up
}

// Each piece of the window draws only its own rectangle; together they are the whole frame.
TEST(SkinRenderer, APieceIsItsRectangleOfTheWholeFrame) {
    const SkinRenderer r = renderer(codedSkinStyle());
    const QImage whole = r.render(QSize(W, H), false, CaptionButton::Close);
    for (const QRect area :
         {QRect(0, 0, W, 24), QRect(0, 24, 5, H - 29), QRect(W - 5, 24, 5, H - 29),
          QRect(0, H - 5, W, 5), QRect(300, 100, 17, 3)}) {
        EXPECT_EQ(r.render(area, QSize(W, H), false, CaptionButton::Close), whole.copy(area))
            << area.x() << "," << area.y() << " " << area.width() << "x" << area.height();
    }
}

TEST(SkinRenderer, ANarrowWindowKeepsBothEndsOfTheCaptionBar) {
    const QImage frame =
        renderer(codedSkinStyle()).render(QSize(150, 60), true, CaptionButton::None);
    EXPECT_EQ(frame.pixel(10, 10), captionPixel(10, 10));
    EXPECT_EQ(frame.pixel(148, 10), captionPixel(238, 10));
}

} // namespace
