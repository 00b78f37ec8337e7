#include "controls/progress_bar/progress_bar_colours.h"
#include "controls/progress_bar/xp_progress_bar.h"

#include "support/high_density.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFont>

#include <string>
#include <vector>

using Colour::RGB;
using ProgressBarColours::BlendColors;
using ProgressBarColours::LightenColor;

namespace {

constexpr ColourRef kBarColour = RGB(126, 142, 197);
constexpr ColourRef kWhite = RGB(255, 255, 255);

// A bar the size of the main window's position bar, in its colour.
struct Bar {
    explicit Bar(std::int32_t style, std::int32_t percent = 0, int w = 130, int h = 19) {
        bar.resize(w, h);
        bar.setColor(kBarColour);
        bar.setScrolling(style);
        bar.setValue(percent);
        image = bar.frame();
    }
    ColourRef at(int x, int y) const { return fromQRgb(image.pixel(x, y)); }
    // One row from x0 to x1 inclusive.
    std::vector<ColourRef> row(int y, int x0, int x1) const {
        std::vector<ColourRef> out;
        for (int x = x0; x <= x1; ++x)
            out.push_back(at(x, y));
        return out;
    }

    XP_ProgressBar bar;
    QImage image;
};

QFont crispFont() {
    QFont font("DejaVu Sans");
    font.setPointSizeF(9.75);
    font.setStyleStrategy(QFont::NoAntialias); // exact text colours for pixel counts
    return font;
}

int countInRect(const QImage& image, const DrawRect& r, ColourRef colour) {
    int n = 0;
    for (int y = std::max(0, r.top); y < std::min(image.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(image.width(), r.right); ++x)
            n += fromQRgb(image.pixel(x, y)) == colour;
    return n;
}

} // namespace

TEST(XPProgressBar, NewInstance) {
    XP_ProgressBar bar;
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_EQ(bar.FillPercent(), 0);
    EXPECT_EQ(bar.Scrolling(), XPBlocks);
    EXPECT_EQ(bar.Orientation(), Horizontal);
    EXPECT_FALSE(bar.ShowText());
    EXPECT_TRUE(bar.Image().isNull());
    EXPECT_EQ(bar.hwnd(), &bar);
    EXPECT_EQ(bar.Color(), Colour::systemColour(Colour::kSysHighlight));
    EXPECT_EQ(bar.palette().color(QPalette::Window), QColor(Qt::white));
}

TEST(XPProgressBar, ValueToFillPercent) {
    struct Case {
        std::int32_t value;
        std::int32_t max;
        std::int32_t percent;
        std::int32_t valueBack;
    };
    const Case cases[] = {
        {50, 100, 50, 50},    {1, 3, 33, 1},        {1, 8, 12, 1}, // 12.5 goes to the even 12
        {3, 8, 38, 3},        {250, 100, 100, 100},                // the redraw lowers it to 100
        {-20, 100, -20, -20},                                      // not raised below 0
    };
    for (const Case& c : cases) {
        XP_ProgressBar bar;
        bar.setMax(c.max);
        EXPECT_EQ(bar.setValue(c.value), ValueError::None);
        EXPECT_EQ(bar.FillPercent(), c.percent) << c.value << "/" << c.max;
        EXPECT_EQ(bar.Value(), c.valueBack) << c.value << "/" << c.max;
    }
}

TEST(XPProgressBar, ValueErrorsKeepFillPercent) {
    XP_ProgressBar bar;
    bar.setValue(40);
    bar.setMax(0);
    EXPECT_EQ(bar.setValue(5), ValueError::DivisionByZero);
    EXPECT_EQ(bar.FillPercent(), 40);
    bar.setMax(100);
    EXPECT_EQ(bar.setValue(30000000), ValueError::Overflow);
    EXPECT_EQ(bar.FillPercent(), 40);
}

TEST(XPProgressBar, MinAndMaxNeitherRedrawNorMoveTheFill) {
    Bar b(FlatFill, 50);
    b.bar.setMax(200);
    b.bar.setMin(0);
    EXPECT_EQ(b.bar.FillPercent(), 50);
    EXPECT_EQ(b.bar.frame(), b.image);
    b.bar.setValue(50); // the next Value uses the new range
    EXPECT_EQ(b.bar.FillPercent(), 25);
}

TEST(XPProgressBar, NotificationsNameTheProperty) {
    XP_ProgressBar bar;
    std::vector<QString> names;
    QObject::connect(&bar, &XP_ProgressBar::propertyChanged,
                     [&](const QString& name) { names.push_back(name); });
    bar.setBrushStyle(2);
    bar.setColor(RGB(1, 2, 3));
    bar.setImage(QImage(2, 2, QImage::Format_RGB32));
    bar.setMin(0);
    bar.setMax(10);
    bar.setOrientation(1);
    bar.setScrolling(3);
    bar.setShowText(true);
    bar.setValue(5);
    bar.setFont(crispFont());
    const std::vector<QString> expected = {"BrushStyle",  "Image",     "Min",     "Max",
                                           "Orientation", "Scrolling", "ShowText"};
    EXPECT_EQ(names, expected);
}

TEST(XPProgressBar, SystemColourIsTranslatedAndSavedPlain) {
    XP_ProgressBar bar;
    bar.setColor(0x8000000F);
    EXPECT_EQ(bar.Color(), Colour::systemColour(Colour::kSysButtonFace));
    PropertyBag bag;
    bar.WriteProperties(bag);
    EXPECT_EQ(bag.read("color", ColourRef{}), Colour::systemColour(Colour::kSysButtonFace));
}

TEST(XPProgressBar, DefaultsSaveOnlyFontAndColor) {
    XP_ProgressBar bar;
    PropertyBag fresh;
    bar.WriteProperties(fresh);
    // A new bar's hatch code is 0 while the stored default is 4, so it is saved too.
    ASSERT_EQ(fresh.size(), 3u);
    EXPECT_EQ(fresh.entries()[0].first, "font");
    EXPECT_EQ(fresh.entries()[1].first, "brushstyle");
    EXPECT_EQ(fresh.entries()[2].first, "color");

    bar.setBrushStyle(4);
    PropertyBag defaults;
    bar.WriteProperties(defaults);
    ASSERT_EQ(defaults.size(), 2u);
    EXPECT_EQ(defaults.entries()[0].first, "font");
    EXPECT_EQ(defaults.entries()[1].first, "color");
}

TEST(XPProgressBar, SaveAndLoadRoundTrip) {
    XP_ProgressBar saved;
    QFont font("DejaVu Sans");
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    saved.setFont(font);
    saved.setBrushStyle(0);
    saved.setColor(kBarColour);
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 30));
    picture.setPixel(1, 0, qRgb(200, 0, 0));
    saved.setImage(picture);
    saved.setMax(100);
    saved.setOrientation(1);
    saved.setScrolling(SilverGradient);
    saved.setShowText(true);
    saved.setValue(250); // stored as the clamped percentage, 100

    PropertyBag bag;
    saved.WriteProperties(bag);
    EXPECT_EQ(bag.read("value", std::int32_t{0}), 100);
    EXPECT_FALSE(bag.contains("max"));
    EXPECT_FALSE(bag.contains("min"));

    XP_ProgressBar loaded;
    loaded.ReadProperties(bag);
    EXPECT_EQ(loaded.Font().family(), "DejaVu Sans");
    EXPECT_DOUBLE_EQ(loaded.Font().pointSizeF(), 9.75);
    EXPECT_EQ(loaded.Font().weight(), QFont::Bold);
    EXPECT_TRUE(loaded.Font().italic());
    EXPECT_EQ(loaded.BrushStyle(), 0);
    EXPECT_EQ(loaded.Color(), kBarColour);
    EXPECT_EQ(loaded.Image().convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(loaded.Orientation(), 1);
    EXPECT_EQ(loaded.Scrolling(), SilverGradient);
    EXPECT_TRUE(loaded.ShowText());
    EXPECT_EQ(loaded.FillPercent(), 100);
    // Drawn once the stored values are all taken, it looks as the bar it was saved from.
    EXPECT_EQ(loaded.frame(), saved.frame());

    PropertyBag again;
    loaded.WriteProperties(again);
    EXPECT_EQ(again, bag);
}

TEST(XPProgressBar, StoredPercentGoesThroughTheRangeAgain) {
    PropertyBag bag;
    bag.write("Max", std::int32_t{50}, std::int32_t{100});
    bag.write("Value", std::int32_t{20}, std::int32_t{0});
    XP_ProgressBar bar;
    bar.ReadProperties(bag);
    EXPECT_EQ(bar.FillPercent(), 40);
}

TEST(XPProgressBar, DrawGradientEndsAndTranslation) {
    DrawSurface s(20, 6, kWhite);
    ColourRef first = RGB(10, 20, 30);
    ColourRef second = 0x8000000F;
    XP_ProgressBar::DrawGradient(first, second, 2, 1, 12, 0, s, false); // n = 0: one row
    EXPECT_EQ(second, Colour::systemColour(Colour::kSysButtonFace));
    EXPECT_EQ(s.pixel(2, 1), RGB(10, 20, 30));
    EXPECT_EQ(s.pixel(11, 1), RGB(10, 20, 30));
    EXPECT_EQ(s.pixel(12, 1), kWhite); // end column excluded
    EXPECT_EQ(s.pixel(2, 2), kWhite);

    DrawSurface untouched(20, 6, kWhite);
    ColourRef a = RGB(0, 0, 0);
    ColourRef b = RGB(0, 0, 0);
    XP_ProgressBar::DrawGradient(a, b, 0, 0, -1, 5, untouched, true); // n < 0: nothing
    EXPECT_EQ(countInRect(untouched.image(), untouched.bounds(), kWhite), 20 * 6);

    DrawSurface cols(20, 6, kWhite);
    ColourRef from = RGB(0, 0, 0);
    ColourRef to = RGB(100, 200, 40);
    XP_ProgressBar::DrawGradient(from, to, 1, 0, 4, 3, cols, true); // columns 1..5, rows 0..2
    EXPECT_EQ(cols.pixel(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(cols.pixel(3, 2), RGB(50, 100, 20));
    EXPECT_EQ(cols.pixel(5, 0), RGB(100, 200, 40));
    EXPECT_EQ(cols.pixel(5, 3), kWhite);
    EXPECT_EQ(cols.pixel(6, 0), kWhite);
}

TEST(XPProgressBar, FramedGradientEdgeLine) {
    const ColourRef edge = LightenColor(kBarColour, 25);
    const ColourRef frame = LightenColor(kBarColour, 10);
    struct Case {
        int percent;
        int r; // p / 101 * W rounded
    };
    for (const Case c : {Case{100, 129}, Case{50, 64}}) {
        Bar b(FramedGradient, c.percent);
        const ColourRef barRow10 = b.at(3, 10);
        EXPECT_NE(barRow10, b.at(c.r + 1 < 128 ? c.r + 1 : 3, 2)) << c.percent;
        EXPECT_EQ(b.at(c.r - 1, 10), barRow10) << c.percent;
        for (int y = 2; y <= 16; ++y)
            EXPECT_EQ(b.at(c.r, y), edge) << c.percent << " y " << y;
        EXPECT_EQ(b.at(129, 0), frame);
        EXPECT_EQ(b.at(129, 18), frame);
        EXPECT_EQ(b.at(0, 10), frame);
    }
    // At 50 % the track shows right of the edge: row 10 of the track has its own colour.
    Bar half(FramedGradient, 50);
    EXPECT_NE(half.at(65, 10), half.at(63, 10));
    EXPECT_EQ(half.at(65, 10), half.at(127, 10));
}

TEST(XPProgressBar, XPBlocksAtHalf) {
    Bar b(XPBlocks, 50);
    // Row 9 is plain bar colour in the blocks; right edge 67, gaps at 10-11, 18-19, ... 66-67.
    for (int x = 3; x <= 127; ++x) {
        const bool inBar = x >= 4 && x < 67;
        const bool gap = x >= 10 && (x - 10) % 8 < 2;
        EXPECT_EQ(b.at(x, 9), inBar && !gap ? kBarColour : kWhite) << "x " << x;
    }
}

TEST(XPProgressBar, XPStubAtZero) {
    const ColourRef shade = LightenColor(kBarColour, 150);
    Bar smooth(XPSmooth, 0);
    for (int x = 3; x <= 12; ++x) {
        const bool inStub = x >= 4 && x <= 11;
        EXPECT_EQ(smooth.at(x, 9), inStub ? kBarColour : kWhite) << "x " << x;
        EXPECT_EQ(smooth.at(x, 3), inStub ? shade : kWhite) << "x " << x;
        EXPECT_EQ(smooth.at(x, 15), inStub ? shade : kWhite) << "x " << x;
    }
    Bar blocks(XPBlocks, 0);
    for (int x = 3; x <= 12; ++x)
        EXPECT_EQ(blocks.at(x, 9), x >= 4 && x <= 9 ? kBarColour : kWhite) << "x " << x;
}

TEST(XPProgressBar, XPSmoothFullRunsUnderTheInnerFrameLine) {
    Bar b(XPSmooth, 100);
    EXPECT_EQ(b.at(4, 9), kBarColour);
    EXPECT_EQ(b.at(127, 9), kBarColour);
    EXPECT_EQ(b.at(128, 9), RGB(239, 239, 239));
    EXPECT_EQ(b.at(129, 9), RGB(104, 104, 104));
}

TEST(XPProgressBar, XPSearchingBlocks) {
    Bar full(XPSearching, 100); // blocks start at 133, 145, 157: past the edge
    EXPECT_EQ(full.row(9, 3, 127), std::vector<ColourRef>(125, kWhite));
    Bar none(XPSearching, 0); // blocks at -33, -21, -9: under the frame at most
    EXPECT_EQ(none.row(9, 3, 127), std::vector<ColourRef>(125, kWhite));

    // 50 %: right edge 67; 67 - 22.5 = 44.5 goes to 44, so blocks at 44, 56 and 68.
    Bar half(XPSearching, 50);
    EXPECT_EQ(half.at(43, 9), kWhite);
    EXPECT_EQ(half.at(44, 9), LightenColor(kBarColour, 220));
    EXPECT_EQ(half.at(53, 9), LightenColor(kBarColour, 200));
    EXPECT_EQ(half.at(54, 9), kWhite);
    EXPECT_EQ(half.at(56, 9), LightenColor(kBarColour, 180));
    EXPECT_EQ(half.at(68, 9), LightenColor(kBarColour, 140));
    EXPECT_EQ(half.at(77, 16), LightenColor(kBarColour, 120));
    EXPECT_EQ(half.at(78, 9), kWhite);
    EXPECT_EQ(half.at(44, 2), RGB(239, 239, 239)); // the frame's inner line covers row 2
}

TEST(XPProgressBar, UnknownStylesDrawLikeXPSmooth) {
    const QImage smooth = Bar(XPSmooth, 37).image;
    EXPECT_EQ(Bar(12, 37).image, smooth);
    EXPECT_EQ(Bar(-1, 37).image, smooth);
    EXPECT_NE(Bar(XPBlocks, 37).image, smooth);
}

TEST(XPProgressBar, XPFrameCorners) {
    Bar b(XPSmooth, 0);
    const int W = 130;
    const int H = 19;
    struct Dot {
        int x;
        int y;
        ColourRef colour;
    };
    const Dot dots[] = {
        {0, 0, kWhite},
        {0, 1, RGB(172, 171, 166)},
        {1, 0, RGB(172, 171, 167)},
        {1, 1, RGB(119, 119, 119)},
        {2, 2, RGB(190, 190, 190)},
        {0, H - 3, RGB(127, 126, 125)},
        {1, H - 2, RGB(119, 119, 119)},
        {W - 1, 2, RGB(127, 126, 125)},
        {W - 2, 1, RGB(190, 190, 190)},
        {W - 2, H - 2, RGB(119, 119, 119)},
        {W - 3, H - 1, RGB(127, 126, 125)},
        {W - 1, H - 1, kWhite},
        {60, 0, RGB(104, 104, 104)}, // outer frame
        {60, 1, RGB(190, 190, 190)}, // second ring, top
        {60, 2, RGB(239, 239, 239)}, // inner ring
        {1, 9, RGB(190, 190, 190)},  // second ring, left
        {60, H - 2, RGB(239, 239, 239)},
        {W - 2, 9, RGB(239, 239, 239)},
    };
    for (const Dot& d : dots)
        EXPECT_EQ(b.at(d.x, d.y), d.colour) << d.x << "," << d.y;
}

TEST(XPProgressBar, VerticalXPLooks) {
    constexpr int W = 19;
    constexpr int H = 130;
    Bar empty(XPSmooth, 0, W, H);
    empty.bar.setOrientation(Vertical);
    const QImage emptyFrame = empty.bar.frame();
    for (int y = 3; y < H - 3; ++y)
        EXPECT_EQ(fromQRgb(emptyFrame.pixel(9, y)), kWhite) << y;

    // 50 %: y = (1 - 50/98) * 130 = 63.7 -> 64.
    Bar smooth(XPSmooth, 50, W, H);
    smooth.bar.setOrientation(Vertical);
    const QImage s = smooth.bar.frame();
    EXPECT_EQ(fromQRgb(s.pixel(9, 63)), kWhite);
    EXPECT_EQ(fromQRgb(s.pixel(9, 64)), kBarColour);
    EXPECT_EQ(fromQRgb(s.pixel(4, 100)), LightenColor(kBarColour, 150));
    EXPECT_EQ(fromQRgb(s.pixel(11, 100)), kBarColour);
    EXPECT_EQ(fromQRgb(s.pixel(15, 100)), LightenColor(kBarColour, 150));

    // Blocks: the top snaps to 66 (whole steps of 8 from the bottom); gaps two rows high
    // above every block, the last at 72-73.
    Bar blocks(XPBlocks, 50, W, H);
    blocks.bar.setOrientation(Vertical);
    const QImage bl = blocks.bar.frame();
    EXPECT_EQ(fromQRgb(bl.pixel(9, 65)), kWhite);
    for (int y = 66; y < H - 3; ++y) {
        const bool gap = (H - y) % 8 == 1 || (H - y) % 8 == 2;
        EXPECT_EQ(fromQRgb(bl.pixel(9, y)), gap ? kWhite : kBarColour) << "y " << y;
    }
}

TEST(XPProgressBar, FlatFillAtZeroShowsOnlyFrameAndText) {
    XP_ProgressBar bar;
    bar.resize(130, 19);
    bar.setFont(crispFont());
    bar.setColor(kBarColour);
    bar.setScrolling(FlatFill);
    bar.setShowText(true);
    const QImage f = bar.frame();
    const DrawRect t = bar.textRect();
    EXPECT_FALSE(t.isEmpty());
    // Centred: the text box's middle sits within a pixel of the bar's.
    EXPECT_LE(std::abs((t.left + t.right) - 130), 2);
    EXPECT_LE(std::abs((t.top + t.bottom) - 19), 2);
    EXPECT_GT(countInRect(f, t, RGB(0, 0, 0)), 0);
    EXPECT_EQ(fromQRgb(f.pixel(0, 0)), LightenColor(kBarColour, 100));
    EXPECT_EQ(countInRect(f, {1, 1, 129, 18}, LightenColor(kBarColour, 180)), 0);
    EXPECT_EQ(countInRect(f, {1, 1, 129, 18}, kWhite) + countInRect(f, t, RGB(0, 0, 0)), 128 * 17);
}

TEST(XPProgressBar, TextReadsPercentOrSearching) {
    // Measured against the same text drawn on a plain surface in the same font.
    auto widthOf = [](const QString& text) {
        DrawSurface s(10, 10);
        s.setFont(crispFont());
        DrawRect r{0, 0, 0, 0};
        s.drawText(text, r, TextFlag::CalcRect | TextFlag::SingleLine);
        return r.width();
    };
    for (const auto& [style, text] :
         {std::pair{FlatFill, QString("42 %")}, std::pair{XPSearching, QString("Searching..")}}) {
        XP_ProgressBar bar;
        bar.resize(130, 19);
        bar.setFont(crispFont());
        bar.setScrolling(style);
        bar.setShowText(true);
        bar.setValue(42);
        EXPECT_EQ(bar.textRect().width(), widthOf(text)) << text.toStdString();
    }
}

TEST(XPProgressBar, DarkGradientTwoToneText) {
    const ColourRef silver = RGB(192, 192, 192);
    const ColourRef over = LightenColor(kBarColour, 80);
    auto draw = [](int percent) {
        auto bar = std::make_unique<XP_ProgressBar>();
        bar->resize(130, 19);
        bar->setFont(crispFont());
        bar->setColor(kBarColour);
        bar->setScrolling(DarkGradient);
        bar->setShowText(true);
        bar->setValue(percent);
        return bar;
    };
    // Fill left of the text: all silver.
    auto before = draw(10);
    const DrawRect t = before->textRect();
    ASSERT_GT(t.left, 13);
    EXPECT_GT(countInRect(before->frame(), t, silver), 0);
    EXPECT_EQ(countInRect(before->frame(), t, over), 0);

    // Fill through the middle of the text: silver on the right, the bar's text colour on the
    // left of fx.
    auto middle = draw(50);
    const QImage m = middle->frame();
    const DrawRect tm{t.left, t.top, t.right, t.bottom};
    EXPECT_GT(countInRect(m, {tm.left, tm.top, 65, tm.bottom}, over), 0);
    EXPECT_EQ(countInRect(m, {tm.left, tm.top, 65, tm.bottom}, silver), 0);
    EXPECT_GT(countInRect(m, {65, tm.top, tm.right, tm.bottom}, silver), 0);
    EXPECT_EQ(countInRect(m, {65, tm.top, tm.right, tm.bottom}, over), 0);

    // Fill past the text: only the second colour.
    auto after = draw(100);
    EXPECT_EQ(countInRect(after->frame(), t, silver), 0);
    EXPECT_GT(countInRect(after->frame(), t, over), 0);
}

TEST(XPProgressBar, HatchAndPatternFills) {
    Bar hatch(HatchFill, 100); // BrushStyle 0: horizontal lines on row 7 of each 8 x 8 cell
    hatch.bar.setBrushStyle(0);
    hatch.bar.DrawProgressBar();
    const QImage h = hatch.bar.frame();
    EXPECT_EQ(fromQRgb(h.pixel(20, 7)), kBarColour);
    EXPECT_EQ(fromQRgb(h.pixel(20, 8)), LightenColor(kBarColour, 140));
    hatch.bar.setBrushStyle(70000); // does not fit 16 bits: no fill
    hatch.bar.DrawProgressBar();
    EXPECT_EQ(fromQRgb(hatch.bar.frame().pixel(20, 7)), kWhite);

    Bar pattern(PatternFill, 100);
    EXPECT_EQ(pattern.at(20, 8), kWhite); // no picture: only the edge
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    picture.setPixel(1, 1, qRgb(200, 0, 0));
    pattern.bar.setImage(picture);
    const QImage p = pattern.bar.frame();
    EXPECT_EQ(fromQRgb(p.pixel(20, 8)), RGB(10, 20, 30));
    EXPECT_EQ(fromQRgb(p.pixel(21, 9)), RGB(200, 0, 0));
    EXPECT_EQ(fromQRgb(p.pixel(20, 16)), RGB(10, 20, 30)); // height H - 4 from row 2
    EXPECT_NE(fromQRgb(p.pixel(20, 17)), RGB(10, 20, 30));
}

TEST(XPProgressBar, SurfaceGrowsAndNeverShrinks) {
    XP_ProgressBar bar;
    bar.resize(130, 19);
    bar.setHdc();
    const int w0 = bar.hdc().width();
    const int h0 = bar.hdc().height();
    EXPECT_GE(w0, 130);
    EXPECT_GE(h0, 19);
    bar.resize(50, 10);
    bar.setHdc();
    EXPECT_EQ(bar.hdc().width(), w0);
    EXPECT_EQ(bar.hdc().height(), h0);
    bar.DrawProgressBar();
    EXPECT_EQ(bar.frame().size(), QSize(50, 10));
    bar.resize(w0 + 70, 10); // outgrown: a new surface of the new size
    bar.setHdc();
    EXPECT_EQ(bar.hdc().width(), w0 + 70);
    EXPECT_EQ(bar.hdc().height(), 10);
}

TEST(XPProgressBar, ZeroSizedControlDrawsNothing) {
    for (const QSize size : {QSize(0, 19), QSize(130, 0), QSize(0, 0)}) {
        XP_ProgressBar bar;
        bar.resize(size);
        for (const std::int32_t style : {XPBlocks, XPSearching, DarkGradient, SilverGradient}) {
            bar.setOrientation(style % 2);
            bar.setScrolling(style);
            bar.setShowText(true);
            bar.setValue(60);
        }
        EXPECT_TRUE(bar.frame().isNull());
    }
}

TEST(XPProgressBar, PDrawCopiesPartOfTheSurface) {
    Bar b(FlatFill, 100);
    DrawSurface target(10, 10, RGB(1, 2, 3));
    b.bar.pDraw(target, 0, 0, 4, 4, 2, 2);
    EXPECT_EQ(target.pixel(1, 1), RGB(1, 2, 3));
    EXPECT_EQ(target.pixel(2, 2), b.at(0, 0));
    EXPECT_EQ(target.pixel(5, 5), b.at(3, 3));
    EXPECT_EQ(target.pixel(6, 6), RGB(1, 2, 3));
    DrawSurface whole(130, 19, RGB(1, 2, 3));
    b.bar.pDraw(whole, 0, 0, 0, -1, 0, 0); // below 1: the surface's own size
    EXPECT_EQ(whole.image(), b.image);
}

TEST(XPProgressBar, WindowShowsTheFinishedFrame) {
    XP_ProgressBar bar;
    bar.resize(130, 19);
    bar.setColor(kBarColour);
    bar.setScrolling(XPBlocks);
    bar.setValue(63);
    const QImage shown = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, bar.frame());
}

// Where the fill of each non-XP look ends at 50 % in 130 x 19, on one row.
TEST(XPProgressBar, ClassicLooksFillEnds) {
    const ColourRef c = kBarColour;
    const ColourRef black = RGB(0, 0, 0);
    struct Case {
        std::int32_t style;
        int y;
        int lastX;
        ColourRef last;
        ColourRef after;
    };
    const Case cases[] = {
        {FlatFill, 9, 64, LightenColor(c, 180), kWhite},       // r = 65, right excluded
        {EtchedGradient, 9, 65, LightenColor(c, 200), kWhite}, // columns 2 .. 2 + 63
        {DarkGradient, 9, 64, LightenColor(BlendColors(c, black, 100), 10), black}, // 2 + 62
        {HatchFill, 9, 63, c, kWhite},                   // r = 64; vertical lines on x % 8 == 7
        {SilverGradient, 16, 62, c, RGB(192, 192, 192)}, // r = 63; lower half ends in C
    };
    for (const Case& k : cases) {
        Bar b(k.style, 0);
        b.bar.setBrushStyle(1);
        b.bar.setValue(50);
        b.image = b.bar.frame();
        EXPECT_EQ(b.at(k.lastX, k.y), k.last) << "style " << k.style;
        EXPECT_EQ(b.at(k.lastX + 1, k.y), k.after) << "style " << k.style;
    }
}

namespace {

// On a screen of twice the density the bar's frame is pixel-doubled, text and all.
TEST(XPProgressBar, DoublesItsFramesPixelsOnAHighDensityScreen) {
    for (const std::int32_t style : {XPBlocks, FramedGradient, HatchFill}) {
        Bar b(style, 40);
        EXPECT_EQ(undoubledPixels(renderDoubled(b.bar), b.image), 0) << style;
    }
}

} // namespace
