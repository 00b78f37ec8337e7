#pragma once

#include "platform/drawing/colour.h"
#include "platform/drawing/draw_brush.h"
#include "platform/drawing/draw_rect.h"
#include "platform/drawing/draw_region.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>

// Raster operations of block copies: the result pixel from the source S, the destination D and
// the brush P, bit by bit (the operation code's high word is the truth table).
namespace RasterOp {
constexpr std::uint32_t SrcCopy = 0xCC0020;     // S
constexpr std::uint32_t SrcPaint = 0xEE0086;    // S | D
constexpr std::uint32_t SrcAnd = 0x8800C6;      // S & D
constexpr std::uint32_t SrcInvert = 0x660046;   // S ^ D
constexpr std::uint32_t SrcErase = 0x440328;    // S & ~D
constexpr std::uint32_t NotSrcCopy = 0x330008;  // ~S
constexpr std::uint32_t NotSrcErase = 0x1100A6; // ~(S | D)
constexpr std::uint32_t MergePaint = 0xBB0226;  // ~S | D
constexpr std::uint32_t MergeCopy = 0xC000CA;   // S & P
constexpr std::uint32_t PatCopy = 0xF00021;     // P
constexpr std::uint32_t PatInvert = 0x5A0049;   // P ^ D
constexpr std::uint32_t DstInvert = 0x550009;   // ~D
constexpr std::uint32_t Blackness = 0x000042;   // 0
constexpr std::uint32_t Whiteness = 0xFF0062;   // 1
} // namespace RasterOp

// Flags of DrawSurface::drawText.
namespace TextFlag {
constexpr unsigned Left = 0x0;
constexpr unsigned Top = 0x0;
constexpr unsigned Centre = 0x1;
constexpr unsigned Right = 0x2;
constexpr unsigned VCentre = 0x4;     // with SingleLine only
constexpr unsigned Bottom = 0x8;      // with SingleLine only
constexpr unsigned SingleLine = 0x20; // otherwise "\n" and "\r\n" start new lines
constexpr unsigned NoClip = 0x100;    // otherwise the text is cut at the rectangle
constexpr unsigned CalcRect = 0x400;  // measure only: nothing is drawn
} // namespace TextFlag

// Kinds and sides of DrawSurface::drawEdge. Each border is one pixel wide: an outer border
// on the rectangle's edge, an inner one just inside it.
namespace Edge {
constexpr unsigned RaisedOuter = 0x1; // light top-left, dark shadow bottom-right
constexpr unsigned SunkenOuter = 0x2; // shadow top-left, highlight bottom-right
constexpr unsigned RaisedInner = 0x4; // highlight top-left, shadow bottom-right
constexpr unsigned SunkenInner = 0x8; // dark shadow top-left, light bottom-right
constexpr unsigned Raised = RaisedOuter | RaisedInner;
constexpr unsigned Sunken = SunkenOuter | SunkenInner;
constexpr unsigned Etched = SunkenOuter | RaisedInner;
constexpr unsigned Bump = RaisedOuter | SunkenInner;

constexpr unsigned SideLeft = 0x1;
constexpr unsigned SideTop = 0x2;
constexpr unsigned SideRight = 0x4;
constexpr unsigned SideBottom = 0x8;
constexpr unsigned SideAll = 0xF;
} // namespace Edge

enum class PenStyle {
    Solid,
    Dot // every other pixel, counted from each line's first pixel
};

// A persistent pixel surface of the program's own: what is drawn stays until drawn over.
// Co-ordinates are pixels, origin top left, y downward; rectangles exclude right and bottom.
// Drawing outside the surface is cut off; reads outside it give InvalidColour.
// All colours may be system colour references; they are translated when used.
class DrawSurface {
public:
    static constexpr ColourRef InvalidColour = 0xFFFFFFFF;

    // A new surface is filled with its background colour (white unless given).
    DrawSurface() = default;
    DrawSurface(int width, int height, ColourRef background = Colour::RGB(255, 255, 255));

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    DrawRect bounds() const { return {0, 0, width(), height()}; }

    // New size: the old contents stay where they fit, new area gets the background colour.
    // A size below 1 in either direction leaves an empty surface.
    void resize(int width, int height);
    // Takes the picture's size and pixels (a "surface that holds a picture").
    void loadImage(const QImage& picture);

    // Stored translated, so backColour() is always a plain colour. Does not clear.
    void setBackColour(ColourRef colour);
    ColourRef backColour() const { return m_back; }
    void clear(); // fills everything with the background colour

    ColourRef pixel(int x, int y) const; // InvalidColour outside
    void setPixel(int x, int y, ColourRef colour);

    // Pen: 1 pixel wide; lineTo draws from the pen position to (x, y), that end pixel
    // excluded, then moves the pen there.
    void setPen(PenStyle style, ColourRef colour);
    void setPenColour(ColourRef colour);
    void setPenStyle(PenStyle style);
    ColourRef penColour() const { return m_penColour; }
    PenStyle penStyle() const { return m_penStyle; }
    void moveTo(int x, int y);
    int penX() const { return m_penX; }
    int penY() const { return m_penY; }
    void lineTo(int x, int y);
    // moveTo + lineTo with the current pen.
    void drawLine(int x1, int y1, int x2, int y2);

    void fillRect(const DrawRect& rect, ColourRef colour);
    void fillRect(const DrawRect& rect, const DrawBrush& brush);
    // A 1-pixel border on the inside of the rectangle.
    void frameRect(const DrawRect& rect, ColourRef colour);
    // Every pixel of the region (clipped to the surface).
    void fillRegion(const DrawRegion& region, ColourRef colour);

    // 3-D border: `edge` is a combination of Edge kinds, `sides` of Edge sides.
    void drawEdge(const DrawRect& rect, unsigned edge, unsigned sides = Edge::SideAll);

    // Copies width x height pixels from `source` at (xSrc, ySrc) to (xDst, yDst) through the
    // raster operation; `brush` is P for the operations that use one (its pixel at the
    // destination position; the null brush counts as black). Source pixels outside the source read
    // as black. `source` may be this surface; overlapping areas copy as if through a temporary.
    void bitBlt(int xDst, int yDst, int width, int height, const DrawSurface& source, int xSrc,
                int ySrc, std::uint32_t rop = RasterOp::SrcCopy, const DrawBrush& brush = {});
    // The brush through the raster operation onto the rectangle (PatCopy, PatInvert, ...).
    void patBlt(const DrawRect& rect, const DrawBrush& brush,
                std::uint32_t rop = RasterOp::PatCopy);

    // Text is drawn in the font and text colour over a transparent background.
    void setFont(const QFont& font) { m_font = font; }
    const QFont& font() const { return m_font; }
    void setTextColour(ColourRef colour);
    ColourRef textColour() const { return m_textColour; }
    // Draws `text` in `rect` aligned by TextFlag flags. With CalcRect nothing is drawn and
    // rect's right and bottom become left + text width and top + text height. Returns the
    // height of the text.
    int drawText(const QString& text, DrawRect& rect, unsigned flags);

    // The pixels, Format_RGB32 (0xFFRRGGBB), e.g. to show the finished surface on a widget.
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
    ColourRef m_back = Colour::RGB(255, 255, 255);
    ColourRef m_penColour = 0;
    PenStyle m_penStyle = PenStyle::Solid;
    int m_penX = 0;
    int m_penY = 0;
    ColourRef m_textColour = 0;
    QFont m_font;
};

// 0x00BBGGRR <-> 0xFFRRGGBB, translating system colours first.
QRgb toQRgb(ColourRef colour);
ColourRef fromQRgb(QRgb pixel);
