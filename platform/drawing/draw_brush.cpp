#include "platform/drawing/draw_brush.h"

#include "platform/drawing/draw_surface.h"

DrawBrush DrawBrush::solid(ColourRef colour) {
    DrawBrush brush;
    brush.m_kind = Solid;
    brush.m_colour = toQRgb(colour);
    return brush;
}

DrawBrush DrawBrush::hatch(int style, ColourRef lineColour, ColourRef gapColour) {
    if (style < HatchHorizontal || style > HatchDiagonalCross)
        return {};
    DrawBrush brush;
    brush.m_kind = Hatch;
    brush.m_hatch = style;
    brush.m_colour = toQRgb(lineColour);
    brush.m_gap = toQRgb(gapColour);
    return brush;
}

DrawBrush DrawBrush::pattern(const QImage& picture) {
    if (picture.isNull() || picture.width() < 1 || picture.height() < 1)
        return {};
    DrawBrush brush;
    brush.m_kind = Pattern;
    brush.m_pattern = picture.convertToFormat(QImage::Format_RGB32);
    return brush;
}

QRgb DrawBrush::pixelAt(int x, int y) const {
    switch (m_kind) {
    case Null:
        return 0;
    case Solid:
        return m_colour;
    case Hatch: {
        const int cx = x & 7;
        const int cy = y & 7;
        const bool horizontal = cy == 7;
        const bool vertical = cx == 7;
        const bool forward = cx == cy;
        const bool backward = cx + cy == 7;
        bool line = false;
        switch (m_hatch) {
        case HatchHorizontal:
            line = horizontal;
            break;
        case HatchVertical:
            line = vertical;
            break;
        case HatchForwardDiagonal:
            line = forward;
            break;
        case HatchBackwardDiagonal:
            line = backward;
            break;
        case HatchCross:
            line = horizontal || vertical;
            break;
        case HatchDiagonalCross:
            line = forward || backward;
            break;
        }
        return line ? m_colour : m_gap;
    }
    case Pattern: {
        const int w = m_pattern.width();
        const int h = m_pattern.height();
        const int px = ((x % w) + w) % w;
        const int py = ((y % h) + h) % h;
        return reinterpret_cast<const QRgb*>(m_pattern.constScanLine(py))[px] | 0xFF000000u;
    }
    }
    return 0;
}
