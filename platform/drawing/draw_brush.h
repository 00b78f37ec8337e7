#pragma once

#include "platform/drawing/colour.h"

#include <QImage>

// How a fill paints its area: one colour, an 8 x 8 hatch of lines over a gap colour, or a
// tiled picture. Hatch and pattern brushes are aligned to the surface's origin, so adjacent
// fills continue the same pattern. A brush that could not be made paints nothing.
class DrawBrush {
public:
    enum Kind { Null, Solid, Hatch, Pattern };
    enum HatchStyle {
        HatchHorizontal = 0,       // a line on row 7 of each 8 x 8 cell
        HatchVertical = 1,         // a line on column 7
        HatchForwardDiagonal = 2,  // x mod 8 == y mod 8, lines falling to the right
        HatchBackwardDiagonal = 3, // (x + y) mod 8 == 7, lines rising to the right
        HatchCross = 4,            // horizontal and vertical
        HatchDiagonalCross = 5     // both diagonals
    };

    DrawBrush() = default; // the null brush

    static DrawBrush solid(ColourRef colour);
    // An unknown style gives the null brush.
    static DrawBrush hatch(int style, ColourRef lineColour, ColourRef gapColour);
    // An empty picture gives the null brush.
    static DrawBrush pattern(const QImage& picture);

    Kind kind() const { return m_kind; }
    bool isNull() const { return m_kind == Null; }
    // The plain 0xFFRRGGBB pixel this brush puts at surface position (x, y).
    QRgb pixelAt(int x, int y) const;

private:
    Kind m_kind = Null;
    int m_hatch = 0;
    QRgb m_colour = 0;
    QRgb m_gap = 0;
    QImage m_pattern;
};
