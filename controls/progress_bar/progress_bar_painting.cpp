// One frame of the bar on the off-screen surface: the background, the look that Scrolling
// picks (the XP looks are in progress_bar_xp_look.cpp, the others here) and the percentage text.

#include "controls/progress_bar/progress_bar_colours.h"
#include "controls/progress_bar/xp_progress_bar.h"

#include "common/rounding.h"

using ProgressBarColours::BlendColors;
using ProgressBarColours::LightenColor;

namespace {

constexpr ColourRef kBlack = Colour::RGB(0, 0, 0);
constexpr ColourRef kWhite = Colour::RGB(255, 255, 255);
constexpr ColourRef kSilver = Colour::RGB(192, 192, 192);

} // namespace

void XP_ProgressBar::paintFrame() {
    const ColourRef c = m_color;
    const double p = m_fillPercent;
    FillBox(m_clientRect, m_scrolling == DarkGradient ? kBlack : kWhite);

    switch (m_scrolling) {
    case FlatFill:
    case EtchedGradient:
    case FramedGradient:
    case DarkGradient:
    case HatchFill:
    case PatternFill:
        drawClassicLook(c, p);
        break;
    case SilverGradient:
        drawSilverGradient(c, p);
        break;
    default: // the XP looks, and every unknown value
        ComputeXPFill(p);
        DrawXPFill(c, p);
        if (m_scrolling == XPBlocks)
            DrawXPGaps();
        DrawXPFrame();
        break;
    }
    drawText(c, p);
}

void XP_ProgressBar::drawClassicLook(ColourRef c, double p) {
    const int W = m_clientRect.right;
    const int H = m_clientRect.bottom;
    switch (m_scrolling) {
    case FlatFill: {
        FrameBox(m_clientRect, LightenColor(c, 100));
        const int r = roundToInt(p / 100.0 * W);
        FillBox({1, 1, r, H - 1}, LightenColor(c, 180));
        break;
    }
    case EtchedGradient: {
        m_surface.drawEdge(m_clientRect, Edge::Etched, Edge::SideAll);
        const int n = roundToInt(p / 100.0 * (W - 4));
        ColourRef from = LightenColor(c, 140);
        ColourRef to = LightenColor(c, 200);
        DrawGradient(from, to, 2, 2, n, H - 3, m_surface, true);
        break;
    }
    case FramedGradient: {
        FrameBox(m_clientRect, LightenColor(c, 10));
        // 101, not 100: at 100 % the bar's edge line lands on the frame's right column.
        const int r = roundToInt(p / 101.0 * W);
        ColourRef track = c;
        ColourRef trackEnd = LightenColor(c, 100);
        DrawGradient(track, trackEnd, 2, 2, W - 2, H - 5, m_surface, false);
        ColourRef bar = LightenColor(c, 250);
        ColourRef barEnd = c;
        DrawGradient(bar, barEnd, 3, 3, r, H - 6, m_surface, false);
        DrawLine(r, 2, r, H - 2, m_surface, LightenColor(c, 25));
        break;
    }
    case DarkGradient: {
        FrameBox(m_clientRect, BlendColors(c, kBlack, 200));
        ColourRef from = kBlack;
        ColourRef to = LightenColor(BlendColors(c, kBlack, 100), 10);
        const int n = roundToInt(p / 100.0 * (W - 5));
        DrawGradient(from, to, 2, 2, n, H - 2, m_surface, true);
        break;
    }
    case HatchFill: {
        m_surface.drawEdge(m_clientRect, Edge::Bump, Edge::SideAll);
        // Hatch codes are 16-bit; one that does not fit, like one the surface does not know,
        // gives no brush and the fill paints nothing.
        const bool fits = m_brushStyle >= -32768 && m_brushStyle <= 32767;
        const DrawBrush brush =
            fits ? DrawBrush::hatch(m_brushStyle, Colour::translate(c), LightenColor(c, 140))
                 : DrawBrush();
        const int r = roundToInt(p / 101.0 * W);
        m_surface.fillRect({2, 2, r, H - 2}, brush);
        break;
    }
    case PatternFill: {
        m_surface.drawEdge(m_clientRect, Edge::SunkenOuter, Edge::SideAll);
        if (m_image.isNull())
            break;
        const int r = roundToInt(p / 101.0 * W);
        m_surface.patBlt({2, 2, 2 + r, 2 + (H - 4)}, DrawBrush::pattern(m_image),
                         RasterOp::PatCopy);
        break;
    }
    default:
        break;
    }
}

void XP_ProgressBar::drawSilverGradient(ColourRef c, double p) {
    const int W = m_clientRect.right;
    const int H = m_clientRect.bottom;
    const int r = roundToInt(p / 100.0 * (W - 4));
    const int m = roundToInt((H - 3) / 2.0);

    ColourRef white = kWhite;
    ColourRef silver = kSilver;
    DrawGradient(white, silver, 2, 2, W - 3, m, m_surface, false);
    ColourRef silver2 = kSilver;
    DrawGradient(silver, silver2, 2, m, W - 3, m, m_surface, false);

    ColourRef upperFrom = LightenColor(c, 150);
    ColourRef upperTo = BlendColors(c, kBlack, 180);
    DrawGradient(upperFrom, upperTo, 2, 2, r, m, m_surface, false);
    ColourRef lowerFrom = BlendColors(c, kBlack, 190);
    ColourRef lowerTo = c;
    DrawGradient(lowerFrom, lowerTo, 2, m, r, m, m_surface, false);

    DrawXPFrame();
}

void XP_ProgressBar::drawText(ColourRef c, double p) {
    if (!m_showText)
        return;
    const int W = m_clientRect.right;
    const int H = m_clientRect.bottom;
    const QString text = m_scrolling == XPSearching ? QStringLiteral("Searching..")
                                                    : QString::number(m_fillPercent) + " %";
    const bool twoTone = m_scrolling == DarkGradient || m_scrolling == SilverGradient;

    m_surface.setFont(font());
    m_surface.setTextColour(m_scrolling == DarkGradient ? kSilver : kBlack);

    DrawRect measure{0, 0, 0, 0};
    m_surface.drawText(text, measure, TextFlag::CalcRect | TextFlag::SingleLine);
    const int w = measure.width();
    const int h = measure.height();
    const int a = roundToInt(W / 2.0 - w / 2.0);
    const int b = roundToInt(H / 2.0 - h / 2.0);
    m_textRect = {a, b, a + w, b + h};

    const double fx = p / 100.0 * W;
    if (!(twoTone && fx > m_textRect.right)) {
        DrawRect r = m_textRect;
        m_surface.drawText(text, r, TextFlag::SingleLine);
    }
    if (!twoTone || fx < m_textRect.left)
        return;

    // The part of the text over the filled bar, in the colour that reads on the bar.
    m_surface.setTextColour(m_scrolling == DarkGradient ? LightenColor(c, 80) : kWhite);
    m_textRect.right = roundToInt(fx);
    DrawRect r = m_textRect;
    m_surface.drawText(text, r, TextFlag::SingleLine);
}
