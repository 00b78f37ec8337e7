// Building one frame of the bar: the shared primitives, the order of a frame, the looks that
// are not XP ones and the percentage text.

#include "controls/progress_bar/progress_bar_colours.h"
#include "controls/progress_bar/progress_bar_math.h"
#include "controls/progress_bar/xp_progress_bar.h"

#include <algorithm>

using ProgressBarColours::BlendColors;
using ProgressBarColours::LightenColor;

namespace {

constexpr ColourRef kBlack = Colour::RGB(0, 0, 0);
constexpr ColourRef kWhite = Colour::RGB(255, 255, 255);
constexpr ColourRef kSilver = Colour::RGB(192, 192, 192);

int channel(double v) {
    return std::clamp(roundToInt(v), 0, 255);
}

} // namespace

void XP_ProgressBar::DrawLine(int X, int Y, int Width, int Height, DrawSurface& cHdc,
                              ColourRef Color) {
    cHdc.setPen(PenStyle::Solid, Colour::translate(Color));
    cHdc.drawLine(X, Y, Width, Height);
}

void XP_ProgressBar::DrawGradient(ColourRef& lEndColor, ColourRef& lStartcolor, int X, int Y,
                                  int X2, int Y2, DrawSurface& hdc, bool bH) {
    lEndColor = Colour::translate(lEndColor);
    lStartcolor = Colour::translate(lStartcolor);
    const int r1 = Colour::red(lEndColor);
    const int g1 = Colour::green(lEndColor);
    const int b1 = Colour::blue(lEndColor);
    const int r2 = Colour::red(lStartcolor);
    const int g2 = Colour::green(lStartcolor);
    const int b2 = Colour::blue(lStartcolor);
    const int n = bH ? X2 : Y2;

    // Steps in single precision; with no lines to spread over there is no step, and the one
    // line drawn has the first colour.
    float rStep = 0.0f;
    float gStep = 0.0f;
    float bStep = 0.0f;
    if (n != 0) {
        rStep = float(r2 - r1) / float(n);
        gStep = float(g2 - g1) / float(n);
        bStep = float(b2 - b1) / float(n);
    }
    for (int i = 0; i <= n; ++i) {
        const ColourRef c =
            Colour::RGB(channel(r1 + double(rStep) * i), channel(g1 + double(gStep) * i),
                        channel(b1 + double(bStep) * i));
        if (bH)
            DrawLine(X + i, Y, X + i, Y2, hdc, c);
        else
            DrawLine(X, Y + i, X2, Y + i, hdc, c);
    }
}

void XP_ProgressBar::pDraw(DrawSurface& hdc, int xSrc, int ySrc, int WidthSrc, int HeightSrc,
                           int xDst, int yDst) const {
    if (WidthSrc < 1)
        WidthSrc = m_surface.width();
    if (HeightSrc < 1)
        HeightSrc = m_surface.height();
    hdc.bitBlt(xDst, yDst, WidthSrc, HeightSrc, m_surface, xSrc, ySrc, RasterOp::SrcCopy);
}

void XP_ProgressBar::FrameBox(const DrawRect& rect, ColourRef colour) {
    m_surface.frameRect(rect, Colour::translate(colour));
}

void XP_ProgressBar::FillBox(const DrawRect& rect, ColourRef colour) {
    m_surface.fillRect(rect, Colour::translate(colour));
}

bool XP_ProgressBar::EnsureSurface(int w, int h) {
    const bool exists = m_surface.width() > 0 && m_surface.height() > 0;
    if (exists && m_surface.width() >= w && m_surface.height() >= h)
        return true; // never made smaller
    if (!exists && (w <= 0 || h <= 0))
        return false;
    ReleaseSurface();
    if (w <= 0 || h <= 0)
        return false;
    m_surface = DrawSurface(w, h);
    return m_surface.width() == w && m_surface.height() == h;
}

void XP_ProgressBar::ReleaseSurface() {
    m_surface = DrawSurface();
    m_drawsToSurface = false;
}

void XP_ProgressBar::DrawProgressBar() {
    renderFrame();
    if (m_drawsToSurface)
        update(); // paintEvent copies the frame to the window
}

void XP_ProgressBar::renderFrame() {
    if (m_fillPercent > 100)
        m_fillPercent = 100;

    const QWidget* window = m_hwnd ? m_hwnd.data() : this;
    m_clientRect = {0, 0, window->width(), window->height()};
    // A resize of a hidden widget reaches us only when it is shown; follow the size here too.
    m_drawsToSurface = EnsureSurface(m_clientRect.right, m_clientRect.bottom);

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
