// The drawing primitives every look of the bar is made of: lines, gradients and boxes, with
// system colours translated on the way.

#include "controls/progress_bar/xp_progress_bar.h"

#include "common/rounding.h"

#include <algorithm>

namespace {

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

void XP_ProgressBar::FrameBox(const DrawRect& rect, ColourRef colour) {
    m_surface.frameRect(rect, Colour::translate(colour));
}

void XP_ProgressBar::FillBox(const DrawRect& rect, ColourRef colour) {
    m_surface.fillRect(rect, Colour::translate(colour));
}
