#include "analysis/scope_display.h"

#include "platform/ui/surface_view.h"

#include <gtest/gtest.h>

#include <QTest>

#include <array>

namespace {

constexpr QRgb Back = qRgb(80, 106, 146);
constexpr QRgb Pen = qRgb(168, 196, 236);

// The panel as the main window lays it out: 150 x 41 pixels.
class ScopeDisplayTest : public ::testing::Test {
protected:
    ScopeDisplayTest() {
        m_scope.setBackColour(ScopeDisplay::kBackColour);
        m_scope.resize(150, 41);
        // Frames are drawn only for a panel that can be seen.
        m_scope.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_scope));
    }

    // Bins with a value per column: column i is bins 2i and 2i + 1.
    void setColumn(int column, float a, float b = 0.0f) {
        m_spectrum[2 * column] = a;
        m_spectrum[2 * column + 1] = b;
    }

    // Rows of column x that show the pen colour on the panel.
    std::vector<int> litRows(const QImage& image, int x) const {
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == Pen)
                rows.push_back(y);
        return rows;
    }

    SurfaceView m_scope;
    std::array<float, 1024> m_spectrum{};
};

} // namespace

TEST(ScopeColumnTop, BinsBelowTheDivisorAddNothing) {
    struct Case {
        float a;
        float b;
        float top;
    };
    const Case cases[] = {
        {0, 0, 41},       {519, 0, 41},
        {0, 519, 41},     {-519, 519, 41},
        {520, 0, 40},     {0, 520, 40},
        {-520, 0, 40},    {2080, 0, 39},
        {2080, 2080, 37}, {1039, 0, 40},
        {519.5f, 0, 40}, // 519.5 rounds to 520
        {520.5f, 0, 40},  {-1040, 0, 41.0f - 1.41421356f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(ScopeDisplay::columnTop(c.a, c.b, 41, 520), c.top) << c.a << ", " << c.b;
}

TEST_F(ScopeDisplayTest, SetUpTakesThePanelsSizeAndColour) {
    ScopeDisplay display(m_scope);
    EXPECT_EQ(display.scopeBuffer().width(), 150);
    EXPECT_EQ(display.scopeBuffer().height(), 41);
    EXPECT_EQ(display.scopeBuffer().backColour(), ScopeDisplay::kBackColour);
    EXPECT_EQ(display.scopeHeight(), 41);
    EXPECT_EQ(display.divisor(), 520);
    EXPECT_TRUE(m_scope.picture().isNull()); // nothing shown before the first frame
}

TEST_F(ScopeDisplayTest, ZeroSpectrumShowsOnlyTheBackground) {
    ScopeDisplay display(m_scope);
    display.DrawScopeFrame(m_spectrum.data());
    const QImage shown = m_scope.picture();
    ASSERT_EQ(shown.size(), QSize(150, 41));
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 150; ++x)
            ASSERT_EQ(shown.pixel(x, y), Back) << x << "," << y;
}

TEST_F(ScopeDisplayTest, ColumnsAreDottedAndStopShortOfTheirTop) {
    ScopeDisplay display(m_scope);
    setColumn(3, 2080, 2080);  // 4 pixels tall: y = 41 down to 38, every other one
    setColumn(5, 1e7f, -1e7f); // far past the top edge
    setColumn(7, 520 * 36, 0); // 6 pixels tall
    display.DrawScopeFrame(m_spectrum.data());
    const QImage shown = m_scope.picture();

    // The dots start on the line's first pixel, y = 41, just below the panel.
    EXPECT_EQ(litRows(shown, 3), (std::vector<int>{39}));
    EXPECT_EQ(litRows(shown, 7), (std::vector<int>{37, 39}));
    std::vector<int> full;
    for (int y = 1; y < 41; y += 2)
        full.push_back(y);
    EXPECT_EQ(litRows(shown, 5), full);
    for (int x : {2, 4, 6, 8})
        EXPECT_TRUE(litRows(shown, x).empty()) << x;
}

TEST_F(ScopeDisplayTest, OnlyTheFirstHalfOfTheBinsAndThePanelsWidthShow) {
    ScopeDisplay display(m_scope);
    for (int bin = 300; bin < 1024; ++bin) // columns 150.. and the mirror half
        m_spectrum[bin] = 1e7f;
    display.DrawScopeFrame(m_spectrum.data());
    const QImage shown = m_scope.picture();
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 150; ++x)
            ASSERT_EQ(shown.pixel(x, y), Back) << x << "," << y;

    setColumn(149, 1e7f); // the last column that fits
    display.DrawScopeFrame(m_spectrum.data());
    EXPECT_FALSE(litRows(m_scope.picture(), 149).empty());
}

TEST_F(ScopeDisplayTest, EachFrameStartsFromTheBackground) {
    ScopeDisplay display(m_scope);
    setColumn(10, 1e6f);
    display.DrawScopeFrame(m_spectrum.data());
    const QImage first = m_scope.picture();
    EXPECT_FALSE(litRows(first, 10).empty());

    setColumn(10, 0);
    display.DrawScopeFrame(m_spectrum.data());
    EXPECT_TRUE(litRows(m_scope.picture(), 10).empty());
    // The panel handed over its own copy: the earlier frame is untouched.
    EXPECT_FALSE(litRows(first, 10).empty());
}

// A window nobody sees draws nothing (the capture and transform still run), and shows the last
// frame as soon as it is seen again.
TEST_F(ScopeDisplayTest, AHiddenPanelDrawsNothingAndShowsTheLatestFrameWhenSeenAgain) {
    ScopeDisplay display(m_scope);
    setColumn(10, 52000);
    display.DrawScopeFrame(m_spectrum.data());
    const QImage before = m_scope.picture();
    ASSERT_FALSE(litRows(before, 10).empty());
    EXPECT_TRUE(display.showing());

    m_scope.hide();
    EXPECT_FALSE(display.showing()) << "the capture would not rest";
    setColumn(10, 0);
    setColumn(20, 52000);
    display.DrawScopeFrame(m_spectrum.data());
    EXPECT_EQ(m_scope.picture().cacheKey(), before.cacheKey()) << "drawn while hidden";
    setColumn(20, 0);
    setColumn(30, 52000);
    display.DrawScopeFrame(m_spectrum.data());
    EXPECT_EQ(m_scope.picture().cacheKey(), before.cacheKey()) << "drawn while hidden";

    m_scope.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_scope));
    EXPECT_TRUE(display.showing());
    QTRY_VERIFY(m_scope.picture().cacheKey() != before.cacheKey());
    EXPECT_TRUE(litRows(m_scope.picture(), 10).empty());
    EXPECT_TRUE(litRows(m_scope.picture(), 20).empty());
    EXPECT_FALSE(litRows(m_scope.picture(), 30).empty()) << "not the latest frame";
}
