#include "platform/drawing/draw_surface.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

constexpr ColourRef Back = Colour::RGB(255, 255, 255);
constexpr ColourRef Ink = Colour::RGB(200, 0, 0);

// Where text landed: the box around every pixel that is no longer the background.
struct InkBox {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    bool empty() const { return left == INT_MAX; }
};

InkBox inkOf(const DrawSurface& s) {
    InkBox box;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != Back) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

class DrawText : public ::testing::Test {
protected:
    DrawText() {
        m_font = QFont(QStringLiteral("DejaVu Sans"));
        m_font.setPixelSize(16);
    }

    DrawSurface surfaceWithFont() const {
        DrawSurface s(240, 80, Back);
        s.setFont(m_font);
        s.setTextColour(Ink);
        return s;
    }

    InkBox drawn(const QString& text, DrawRect rect, unsigned flags) const {
        DrawSurface s = surfaceWithFont();
        s.drawText(text, rect, flags);
        return inkOf(s);
    }

    QFont m_font;
};

} // namespace

TEST_F(DrawText, MeasureOnlyGivesTheTextsRectangleAndDrawsNothing) {
    DrawSurface s = surfaceWithFont();
    const QFontMetrics metrics(m_font, &s.image());
    DrawRect rect{10, 20, 10, 20};
    const int height =
        s.drawText(QStringLiteral("42 %"), rect, TextFlag::SingleLine | TextFlag::CalcRect);
    EXPECT_EQ(rect, (DrawRect{10, 20, 10 + metrics.horizontalAdvance(QStringLiteral("42 %")),
                              20 + metrics.height()}));
    EXPECT_EQ(height, metrics.height());
    EXPECT_TRUE(inkOf(s).empty());

    // Without the single-line flag a line break starts a new line.
    DrawRect lines{0, 0, 0, 0};
    s.drawText(QStringLiteral("Wide line\nW"), lines, TextFlag::CalcRect);
    EXPECT_EQ(lines.height(), 2 * metrics.height());
    EXPECT_EQ(lines.width(), metrics.horizontalAdvance(QStringLiteral("Wide line")));
}

TEST_F(DrawText, AlignmentPlacesTheLineInsideTheRectangle) {
    const QString text = QStringLiteral("WAV");
    const DrawRect rect{20, 10, 200, 70};
    const QFontMetrics metrics(m_font, &surfaceWithFont().image());
    const int spareX = rect.width() - metrics.horizontalAdvance(text);
    const int spareY = rect.height() - metrics.height();
    const unsigned line = TextFlag::SingleLine;

    const InkBox topLeft = drawn(text, rect, line | TextFlag::Left | TextFlag::Top);
    ASSERT_FALSE(topLeft.empty());
    EXPECT_GE(topLeft.left, rect.left);
    EXPECT_LT(topLeft.left, rect.left + 4);
    EXPECT_GE(topLeft.top, rect.top);

    // Same glyphs moved as a whole: the ink shifts by exactly the alignment offset.
    struct Case {
        unsigned flags;
        int dx, dy;
    };
    const Case cases[] = {
        {TextFlag::Centre, spareX / 2, 0},
        {TextFlag::Right, spareX, 0},
        {TextFlag::VCentre, 0, spareY / 2},
        {TextFlag::Bottom, 0, spareY},
        {TextFlag::Right | TextFlag::Bottom, spareX, spareY},
        {TextFlag::Centre | TextFlag::VCentre, spareX / 2, spareY / 2},
    };
    for (const Case& c : cases) {
        const InkBox box = drawn(text, rect, line | c.flags);
        EXPECT_EQ(box.left - topLeft.left, c.dx) << c.flags;
        EXPECT_EQ(box.top - topLeft.top, c.dy) << c.flags;
        EXPECT_EQ(box.right - box.left, topLeft.right - topLeft.left) << c.flags;
    }

    // Vertical alignment needs the single-line flag.
    const InkBox multi = drawn(text, rect, TextFlag::Bottom);
    EXPECT_EQ(multi.top, topLeft.top);
}

TEST_F(DrawText, TextIsCutAtTheRectangleUnlessToldNotTo) {
    const DrawRect narrow{30, 10, 40, 20};
    const InkBox cut = drawn(QStringLiteral("WWWWWW"), narrow, TextFlag::SingleLine);
    ASSERT_FALSE(cut.empty());
    EXPECT_GE(cut.left, narrow.left);
    EXPECT_LE(cut.right, narrow.right);
    EXPECT_LE(cut.bottom, narrow.bottom);

    const InkBox free =
        drawn(QStringLiteral("WWWWWW"), narrow, TextFlag::SingleLine | TextFlag::NoClip);
    EXPECT_GT(free.right, narrow.right + 20);
}

TEST_F(DrawText, LinesStackOneLineHeightApart) {
    const QFontMetrics metrics(m_font, &surfaceWithFont().image());
    const InkBox one = drawn(QStringLiteral("H"), {0, 0, 240, 80}, 0);
    const InkBox two = drawn(QStringLiteral("H\r\nH"), {0, 0, 240, 80}, 0);
    EXPECT_EQ(two.bottom - one.bottom, metrics.height());
    EXPECT_EQ(two.top, one.top);
}
