#include "bevel_button_fixture.h"

#include "controls/bevel_button/bevel_colours.h"

#include <set>

namespace {

using Colour::RGB;

constexpr ColourRef kFace = RGB(224, 224, 224);
constexpr ColourRef kCaption = RGB(0, 0, 255);
constexpr ColourRef kSilver = RGB(192, 192, 192);
constexpr ColourRef kMagenta = RGB(255, 0, 255);

using Points = std::set<std::pair<int, int>>;

Points find(const DrawSurface& s, ColourRef colour) {
    Points out;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) == colour)
                out.insert({x, y});
    return out;
}

Points shifted(const Points& points, int by) {
    Points out;
    for (const auto& [x, y] : points)
        out.insert({x + by, y + by});
    return out;
}

// 16 x 16: a magenta square of 8 x 8 in the middle on a silver (transparent) ground.
QImage squarePicture() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(toQRgb(kSilver));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            image.setPixel(x, y, toQRgb(kMagenta));
    return image;
}

class BevelPainting : public BevelForm {
protected:
    // A 100 x 40 button with a crisp caption and, if asked, the square picture at the left.
    bvlBUTTON* button(bool picture = true, std::uint8_t behaviour = bvlBUTTON::Command) {
        bvlBUTTON* b = add("b", QRect(10, 10, 100, 40));
        QFont font("DejaVu Sans");
        font.setPixelSize(12);
        font.setStyleStrategy(QFont::NoAntialias);
        b->setFont(font);
        b->setBehaviour(behaviour);
        b->setBackColour(kFace);
        b->setCaptionColour(kCaption);
        b->setCaption("Go");
        b->setBevelAutoAdjust(false);
        b->setBevelHeight(4);
        if (picture) {
            b->setPicture(squarePicture());
            b->setPictureJustify(bvlBUTTON::MiddleLeft);
        }
        b->Refresh();
        return b;
    }
};

struct OutlineCase {
    const char* name;
    std::int32_t shape;
    QSize placed;
    QSize shaped;
    QRegion outline;
};

TEST_F(BevelPainting, OutlineByShape) {
    const std::vector<OutlineCase> cases = {
        {"rectangle",
         bvlBUTTON::Rectangle,
         {100, 40},
         {100, 40},
         DrawRegion::rectangle(0, 0, 101, 41).toQRegion()},
        {"ellipse",
         bvlBUTTON::Ellipse,
         {60, 40},
         {60, 60},
         DrawRegion::ellipse(0, 0, 61, 61).toQRegion()},
        {"rounded",
         bvlBUTTON::RoundedRectangle,
         {100, 40},
         {100, 40},
         DrawRegion::roundedRectangle(0, 0, 101, 41, 20, 20).toQRegion()},
        {"capsule",
         bvlBUTTON::Capsule,
         {100, 40},
         {100, 40},
         DrawRegion::roundedRectangle(0, 0, 101, 41, 40, 40).toQRegion()},
    };
    for (const OutlineCase& c : cases) {
        bvlBUTTON b(nullptr, &messages);
        b.resize(c.placed);
        b.setAppearance(c.shape);
        EXPECT_EQ(b.size(), c.shaped) << c.name;
        EXPECT_EQ(b.mask(), c.outline) << c.name;
        EXPECT_EQ(b.face().width(), c.shaped.width()) << c.name;
    }
    // The capsule's ends are half circles: its first column holds only the middle rows.
    bvlBUTTON capsule(nullptr, &messages);
    capsule.resize(100, 40);
    capsule.setAppearance(bvlBUTTON::Capsule);
    EXPECT_FALSE(capsule.mask().contains(QPoint(0, 10)));
    EXPECT_TRUE(capsule.mask().contains(QPoint(0, 20)));
    // An unknown shape keeps the outline it had.
    capsule.setAppearance(9);
    EXPECT_EQ(capsule.mask(), cases[3].outline);
}

TEST_F(BevelPainting, PressedShowsSunkenAndMovesCaptionAndPicture) {
    bvlBUTTON* b = button(true, bvlBUTTON::Check);
    const Points caption = find(b->face(), kCaption);
    const Points square = find(b->face(), kMagenta);
    ASSERT_FALSE(caption.empty());
    ASSERT_EQ(square.size(), 64u);
    EXPECT_EQ(b->face().pixel(50, 0), b->raisedFace().pixel(50, 0));

    b->setValue(true); // StateDown
    EXPECT_EQ(b->face().pixel(50, 0), b->sunkenFace().pixel(50, 0));
    EXPECT_NE(b->sunkenFace().pixel(50, 0), b->raisedFace().pixel(50, 0));
    EXPECT_EQ(find(b->face(), kCaption), shifted(caption, 1));
    EXPECT_EQ(find(b->face(), kMagenta), shifted(square, 1));
}

TEST_F(BevelPainting, TransparencyShowsTheFaceThrough) {
    bvlBUTTON* b = button();
    const PicturePlacement p = b->PicturePlace();
    EXPECT_EQ(p, (PicturePlacement{4, 11, 16, 16})); // MiddleLeft of (4, 4, 95, 35)
    EXPECT_EQ(b->face().pixel(p.X, p.Y), b->raisedFace().pixel(p.X, p.Y));
    EXPECT_TRUE(find(b->face(), kSilver).empty());

    b->setUseTransparency(false);
    EXPECT_EQ(find(b->face(), kSilver).size(), 16u * 16u - 64u);
}

TEST_F(BevelPainting, DisabledGreysThePictureAndLightensTheCaption) {
    bvlBUTTON* b = button();
    b->setEnabled(false);
    HLSColour grey = RGBToHLS(kMagenta);
    grey.Saturation = 0;
    grey.Luminance = static_cast<std::int16_t>(grey.Luminance + 20);
    EXPECT_EQ(find(b->face(), kMagenta).size(), 0u);
    EXPECT_EQ(find(b->face(), HLSToRGB(grey)).size(), 64u);
    // The caption in the face colour lightened by a fifth (luminance 211 becomes 240).
    HLSColour light = RGBToHLS(kFace);
    light.Luminance = 240;
    EXPECT_TRUE(find(b->face(), kCaption).empty());
    EXPECT_FALSE(find(b->face(), HLSToRGB(light)).empty());
    // Without transparency the greyed copy is drawn whole, its ground greyed too.
    b->setUseTransparency(false);
    HLSColour silver = RGBToHLS(kSilver);
    silver.Luminance = static_cast<std::int16_t>(silver.Luminance + 20);
    EXPECT_EQ(find(b->face(), HLSToRGB(silver)).size(), 16u * 16u - 64u);
}

TEST_F(BevelPainting, PictureStripCells) {
    bvlBUTTON* b = button();
    QImage hover(8, 8, QImage::Format_RGB32);
    hover.fill(toQRgb(kSilver));
    hover.setPixel(3, 3, qRgb(0, 128, 0));
    b->setPictureHover(hover);
    const DrawSurface& strip = b->pictureStrip();
    EXPECT_EQ(strip.width(), 64);
    EXPECT_EQ(strip.height(), 24);
    const ColourRef white = RGB(255, 255, 255);
    const ColourRef black = 0;
    // Cells 0 to 3 at a transparent and at an opaque pixel.
    EXPECT_EQ(strip.pixel(0, 0), white);
    EXPECT_EQ(strip.pixel(5, 5), black);
    EXPECT_EQ(strip.pixel(16, 0), black);
    EXPECT_EQ(strip.pixel(21, 5), kMagenta);
    EXPECT_EQ(strip.pixel(32, 0), strip.pixel(37, 0)); // greyed silver on both sides
    EXPECT_NE(strip.pixel(37, 5), kMagenta);
    EXPECT_EQ(strip.pixel(48, 0), black);
    EXPECT_EQ(strip.pixel(53, 5), strip.pixel(37, 5));
    // The hover picture's mask and copy below.
    EXPECT_EQ(strip.pixel(0, 16), white);
    EXPECT_EQ(strip.pixel(3, 19), black);
    EXPECT_EQ(strip.pixel(8, 16), black);
    EXPECT_EQ(strip.pixel(11, 19), RGB(0, 128, 0));
}

TEST_F(BevelPainting, HoverPictureAloneShowsOnlyUnderTheCursor) {
    bvlBUTTON* b = button(false);
    b->setCaption("");
    b->setPictureHover(squarePicture());
    show();
    moveAway();
    b->PaintButton(true);
    EXPECT_TRUE(find(b->face(), kMagenta).empty());
    moveTo(b, QPoint(60, 5));
    EXPECT_EQ(b->ButtonState(), bvlBUTTON::StateHover);
    EXPECT_EQ(find(b->face(), kMagenta).size(), 64u);
}

TEST_F(BevelPainting, UnforcedPaintOfAnUnchangedStateDoesNothing) {
    bvlBUTTON* b = button(false);
    b->setCaptionColour(RGB(255, 0, 0)); // shows: a forced repaint
    EXPECT_FALSE(find(b->face(), RGB(255, 0, 0)).empty());
    b->setCaptionHoverColour(RGB(0, 255, 0)); // no repaint
    b->PaintButton(false);
    EXPECT_FALSE(find(b->face(), RGB(255, 0, 0)).empty());
    b->setCaptionColour(kCaption);
    EXPECT_TRUE(find(b->face(), RGB(255, 0, 0)).empty());
}

struct JustifyCase {
    std::int32_t justify;
    int x;
    int y;
};

TEST_F(BevelPainting, PictureJustifyPlacesThePicture) {
    bvlBUTTON* b = button();
    // PictureRect (4, 4, 95, 35), picture 16 x 16.
    const std::vector<JustifyCase> cases = {{0, 4, 4},   {1, 41, 4},  {2, 79, 4}, {3, 4, 11},
                                            {4, 41, 11}, {5, 79, 11}, {6, 4, 19}, {7, 41, 19},
                                            {8, 79, 19}, {-1, 79, 19}}; // unknown: keeps its place
    for (const JustifyCase& c : cases) {
        b->setPictureJustify(c.justify);
        EXPECT_EQ(b->PicturePlace(), (PicturePlacement{c.x, c.y, 16, 16})) << c.justify;
    }
}

TEST_F(BevelPainting, CaptionJustifyAndOffset) {
    bvlBUTTON* b = button(false);
    b->setCaptionJustify(bvlBUTTON::TopLeft);
    const Points topLeft = find(b->face(), kCaption);
    ASSERT_FALSE(topLeft.empty());
    EXPECT_EQ(topLeft.begin()->first >= 4 && topLeft.begin()->first < 8, true);
    b->setCaptionOffset("(0,8)");
    EXPECT_EQ(find(b->face(), kCaption), [&] {
        Points moved;
        for (const auto& [x, y] : topLeft)
            moved.insert({x, y + 8});
        return moved;
    }());
}

TEST_F(BevelPainting, RecordButtonTopRowIsLuminance220) {
    bvlBUTTON* b = add("cmdRecord", QRect(50, 48, 69, 49));
    b->setBackColour(RGB(199, 190, 129));
    b->setBevelAutoAdjust(false);
    b->setBevelHeight(5);
    b->Refresh();
    const ColourRef light = HLSToRGB({35, 92, 220});
    // Between the corner centres (columns 12 and 56) the whole top row is the band.
    for (int x = 12; x <= 56; ++x)
        EXPECT_EQ(b->raisedFace().pixel(x, 0), light) << x;
}

} // namespace
