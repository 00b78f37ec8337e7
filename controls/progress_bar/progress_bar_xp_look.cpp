// The XP looks: the rounded grey frame, a bar lighter at its edges, blocks with white gaps,
// and the three moving blocks of XPSearching. Only these looks honour Orientation.

#include "controls/progress_bar/progress_bar_colours.h"
#include "controls/progress_bar/progress_bar_math.h"
#include "controls/progress_bar/xp_progress_bar.h"

using Colour::RGB;
using ProgressBarColours::LightenColor;

void XP_ProgressBar::ComputeXPFill(double p) {
    const int W = m_clientRect.right;
    const int H = m_clientRect.bottom;
    m_blockWidth = m_scrolling == XPBlocks ? 6 : 0;
    m_gap = 2;
    const int step = m_blockWidth + m_gap;

    m_clientRect.left = 3; // DrawXPFrame moves it back
    m_barRect = {3, 0, W, H};

    // 98, not 100: a full bar runs on under the frame's inner line.
    m_fraction = p / 98.0;
    if (m_fraction < 0.0)
        m_fraction = 0.0;

    if (m_orientation == Horizontal) {
        const int x = roundToInt(m_fraction * (W - 3) + 3);
        m_barRect.right = x - modKeepSign(x - 3, step);
        if (m_barRect.right < 3)
            m_barRect.right = 3;
    } else {
        m_fraction = 1.0 - m_fraction;
        const int y = roundToInt(m_fraction * H);
        // A whole number of steps up from the bottom.
        m_barRect.top = y - modKeepSign(y - H, step);
        if (m_barRect.top > H)
            m_barRect.top = H;
    }
}

void XP_ProgressBar::DrawXPFill(ColourRef c, double p) {
    const int W = m_clientRect.right;
    const int H = m_clientRect.bottom;
    ColourRef shade = LightenColor(c, 150);

    if (m_orientation == Horizontal) {
        if (m_barRect.right <= 14)
            m_barRect.right = 12; // a stub shows even at 0 %
        const int e = m_barRect.right + 4 > W ? m_barRect.right - 4 : m_barRect.right;

        if (m_scrolling == XPSearching) {
            for (int k = 0; k < 3; ++k) {
                const int left =
                    roundToInt(m_barRect.right + 12.0 * k - (100.0 - p) / 100.0 * 45.0);
                ColourRef from = LightenColor(c, 220 - 40 * k);
                ColourRef to = LightenColor(c, 200 - 40 * k);
                DrawGradient(from, to, left, 3, 9, H - 2, m_surface, true);
            }
            return;
        }
        ColourRef top = shade;
        ColourRef mid = c;
        DrawGradient(top, mid, 4, 3, e, 6, m_surface, false);
        FillBox({4, 8, e, H - 8}, c);
        ColourRef mid2 = c;
        ColourRef bottom = shade;
        DrawGradient(mid2, bottom, 4, H - 10, e, 6, m_surface, false);
        return;
    }

    if (m_scrolling == XPSearching) {
        for (int k = 0; k < 3; ++k) {
            const int top = m_barRect.top + 12 * k;
            ColourRef from = LightenColor(c, 220 - 40 * k);
            ColourRef to = LightenColor(c, 200 - 40 * k);
            DrawGradient(from, to, W - 2, top, 2, 9, m_surface, false);
        }
        return;
    }
    const int t = m_barRect.top;
    ColourRef left = shade;
    ColourRef mid = c;
    DrawGradient(left, mid, 4, t, 4, H, m_surface, true);
    FillBox({9, t, W - 8, H}, c);
    ColourRef mid2 = c;
    ColourRef right = shade;
    DrawGradient(mid2, right, W - 8, t, 4, H, m_surface, true);
}

void XP_ProgressBar::DrawXPGaps() {
    const int W = m_clientRect.right;
    const int H = m_clientRect.bottom;
    const int step = m_blockWidth + m_gap;
    m_gapRect = m_clientRect;
    m_gapRect.left = 3;
    const ColourRef white = RGB(255, 255, 255);

    if (m_orientation == Horizontal) {
        for (int x = m_barRect.left + m_blockWidth; x <= m_barRect.right; x += step) {
            m_gapRect = {x + 1, 0, x + 3, H};
            FillBox(m_gapRect, white);
        }
        return;
    }
    for (int y = m_barRect.bottom; y >= m_barRect.top + m_blockWidth; y -= step) {
        m_gapRect = {3, y - 2, W, y};
        FillBox(m_gapRect, white);
    }
}

void XP_ProgressBar::DrawXPFrame() {
    m_clientRect.left = 0;
    const int W = m_clientRect.right;
    const int H = m_clientRect.bottom;
    const ColourRef ring = RGB(190, 190, 190);
    const ColourRef inner = RGB(239, 239, 239);

    DrawLine(2, 1, W - 2, 1, m_surface, ring);
    DrawLine(2, H - 2, W - 2, H - 2, m_surface, inner);
    DrawLine(1, 2, 1, H - 2, m_surface, ring);
    DrawLine(2, 2, 2, H - 2, m_surface, inner);
    DrawLine(2, 2, W - 2, 2, m_surface, inner);
    DrawLine(W - 2, 2, W - 2, H - 2, m_surface, inner);
    FrameBox({0, 0, W, H}, RGB(104, 104, 104));

    struct Dot {
        int x;
        int y;
        ColourRef colour;
    };
    const ColourRef white = RGB(255, 255, 255);
    const ColourRef lightGrey = RGB(172, 171, 166);
    const ColourRef lightGrey2 = RGB(172, 171, 167);
    const ColourRef midGrey = RGB(127, 126, 125);
    const ColourRef darkGrey = RGB(119, 119, 119);
    const Dot corners[] = {
        // top left
        {0, 0, white},
        {0, 1, lightGrey},
        {0, 2, midGrey},
        {1, 0, lightGrey2},
        {1, 1, darkGrey},
        {2, 0, midGrey},
        {2, 2, ring},
        // bottom left
        {0, H - 1, white},
        {1, H - 1, lightGrey},
        {2, H - 1, midGrey},
        {0, H - 3, midGrey},
        {0, H - 2, lightGrey2},
        {1, H - 2, darkGrey},
        // top right
        {W - 1, 0, white},
        {W - 1, 1, ring},
        {W - 1, 2, midGrey},
        {W - 2, 2, ring},
        {W - 2, 1, ring},
        // bottom right
        {W - 1, H - 1, white},
        {W - 1, H - 2, ring},
        {W - 1, H - 3, midGrey},
        {W - 2, H - 2, darkGrey},
        {W - 2, H - 1, ring},
        {W - 3, H - 1, midGrey},
    };
    for (const Dot& d : corners)
        m_surface.setPixel(d.x, d.y, d.colour);
}
