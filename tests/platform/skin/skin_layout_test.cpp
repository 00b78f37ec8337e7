#include "platform/skin/skin_layout.h"

#include <gtest/gtest.h>

namespace {

const SkinNumbers kNumbers{19, 20, 90, 140, 240, 400};
const QSize kCaption(640, 48);
const QSize kFrame(70, 10);

TEST(SkinLayout, PlacesTheFrameAndButtonsFromTheNumbers) {
    const std::optional<SkinLayout> layout = SkinLayout::make(kNumbers, kCaption, kFrame);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->captionHeight(), 24);
    EXPECT_EQ(layout->border(), 5);
    EXPECT_EQ(layout->margins(), QMargins(5, 24, 5, 5));
    EXPECT_EQ(layout->closeButton(617), QRect(591, 2, 19, 20));
    EXPECT_EQ(layout->minimiseButton(617), QRect(570, 2, 19, 20));
    EXPECT_EQ(layout->buttonAt(QPoint(591, 2), 617), CaptionButton::Close);
    EXPECT_EQ(layout->buttonAt(QPoint(588, 10), 617), CaptionButton::Minimise);
    EXPECT_EQ(layout->buttonAt(QPoint(589, 10), 617), CaptionButton::None); // the gap
    EXPECT_EQ(layout->buttonAt(QPoint(600, 22), 617), CaptionButton::None); // below the button
    EXPECT_EQ(layout->captionTextLeft(), 29);
}

TEST(SkinLayout, CutsThePicturesAtTheNumbers) {
    const SkinLayout layout = *SkinLayout::make(kNumbers, kCaption, kFrame);
    EXPECT_EQ(layout.captionSource(CaptionPart::Left, true), QRect(0, 0, 90, 24));
    EXPECT_EQ(layout.captionSource(CaptionPart::Middle, true), QRect(90, 0, 50, 24));
    EXPECT_EQ(layout.captionSource(CaptionPart::Right, true), QRect(140, 0, 100, 24));
    EXPECT_EQ(layout.captionSource(CaptionPart::Left, false), QRect(400, 0, 90, 24));
    EXPECT_EQ(layout.captionSource(CaptionPart::Right, false), QRect(540, 0, 100, 24));
    // Close is the first of the four button cells, minimise the last; pressed is the lower row.
    EXPECT_EQ(layout.buttonSource(CaptionButton::Close, false), QRect(240, 0, 19, 20));
    EXPECT_EQ(layout.buttonSource(CaptionButton::Close, true), QRect(240, 20, 19, 20));
    EXPECT_EQ(layout.buttonSource(CaptionButton::Minimise, false), QRect(297, 0, 19, 20));
    EXPECT_EQ(layout.frameSource(FramePiece::LeftSide, true), QRect(0, 0, 5, 5));
    EXPECT_EQ(layout.frameSource(FramePiece::RightSide, true), QRect(30, 0, 5, 5));
    EXPECT_EQ(layout.frameSource(FramePiece::BottomLeft, false), QRect(35, 5, 5, 5));
    EXPECT_EQ(layout.frameSource(FramePiece::Bottom, false), QRect(40, 5, 25, 5));
    EXPECT_EQ(layout.frameSource(FramePiece::BottomRight, false), QRect(65, 5, 5, 5));
}

struct Refused {
    const char* why;
    SkinNumbers numbers;
    QSize caption;
    QSize frame;
};

TEST(SkinLayout, RefusesPicturesOfTheWrongSizeAndContradictoryNumbers) {
    const Refused cases[] = {
        {"no caption picture", kNumbers, QSize(), kFrame},
        {"no frame picture", kNumbers, kCaption, QSize()},
        {"caption picture one column short", kNumbers, QSize(639, 48), kFrame},
        {"caption picture one column too many", kNumbers, QSize(641, 48), kFrame},
        {"caption picture lower than the caption bar", kNumbers, QSize(640, 23), kFrame},
        {"caption picture lower than two rows of buttons",
         {19, 20, 90, 140, 240, 400},
         QSize(640, 39),
         kFrame},
        {"frame picture of odd height", kNumbers, kCaption, QSize(70, 9)},
        {"frame picture of the wrong width", kNumbers, kCaption, QSize(72, 10)},
        {"parts out of order", {19, 20, 140, 90, 240, 400}, kCaption, kFrame},
        {"buttons run into the inactive bar", {19, 20, 90, 140, 240, 300}, QSize(540, 48), kFrame},
        {"no button width", {0, 20, 90, 140, 240, 400}, kCaption, kFrame},
    };
    for (const Refused& c : cases)
        EXPECT_FALSE(SkinLayout::make(c.numbers, c.caption, c.frame)) << c.why;
}

} // namespace
