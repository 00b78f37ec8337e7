#include "platform/drawing/draw_surface.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

QRgb toQRgb(ColourRef colour) {
    const ColourRef c = Colour::translate(colour);
    return qRgb(Colour::red(c), Colour::green(c), Colour::blue(c));
}

ColourRef fromQRgb(QRgb pixel) {
    return Colour::RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

namespace {

// The raster operation's truth table applied to whole pixels: bit i of `code` is the
// result for pattern bit (i & 4), source bit (i & 2) and destination bit (i & 1).
QRgb applyRop(unsigned code, QRgb p, QRgb s, QRgb d) {
    QRgb r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (((code >> i) & 1u) == 0)
            continue;
        r |= ((i & 4u) ? p : ~p) & ((i & 2u) ? s : ~s) & ((i & 1u) ? d : ~d);
    }
    return r | 0xFF000000u;
}

unsigned ropCode(std::uint32_t rop) {
    return (rop >> 16) & 0xFFu;
}

} // namespace

DrawSurface::DrawSurface(int width, int height, ColourRef background)
    : m_back(Colour::translate(background)) {
    resize(width, height);
}

void DrawSurface::resize(int width, int height) {
    if (width < 1 || height < 1) {
        m_image = QImage();
        return;
    }
    if (width == m_image.width() && height == m_image.height())
        return;
    QImage next(width, height, QImage::Format_RGB32);
    next.fill(toQRgb(m_back));
    const int keepW = std::min(width, m_image.width());
    const int keepH = std::min(height, m_image.height());
    for (int y = 0; y < keepH; ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(m_image.constScanLine(y));
        std::copy(from, from + keepW, reinterpret_cast<QRgb*>(next.scanLine(y)));
    }
    m_image = std::move(next);
}

void DrawSurface::loadImage(const QImage& picture) {
    if (picture.isNull()) {
        m_image = QImage();
        return;
    }
    m_image = picture.convertToFormat(QImage::Format_RGB32);
}

void DrawSurface::setBackColour(ColourRef colour) {
    m_back = Colour::translate(colour);
}

void DrawSurface::clear() {
    if (m_image.isNull())
        return;
    // A picture still shared with a view is left to it: copying it only to paint over the copy
    // would cost a frame's worth of memory traffic.
    if (!m_image.isDetached())
        m_image = QImage(m_image.size(), m_image.format());
    m_image.fill(toQRgb(m_back));
}

ColourRef DrawSurface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return InvalidColour;
    return fromQRgb(reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x]);
}

void DrawSurface::setPixel(int x, int y, ColourRef colour) {
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return;
    reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = toQRgb(colour);
}

void DrawSurface::setPen(PenStyle style, ColourRef colour) {
    m_penStyle = style;
    m_penColour = Colour::translate(colour);
}

void DrawSurface::setPenColour(ColourRef colour) {
    m_penColour = Colour::translate(colour);
}

void DrawSurface::setPenStyle(PenStyle style) {
    m_penStyle = style;
}

void DrawSurface::moveTo(int x, int y) {
    m_penX = x;
    m_penY = y;
}

void DrawSurface::lineTo(int x, int y) {
    const int x0 = m_penX;
    const int y0 = m_penY;
    m_penX = x;
    m_penY = y;
    if (m_image.isNull() || (x0 == x && y0 == y))
        return;

    const QRgb colour = toQRgb(m_penColour);
    const bool dotted = m_penStyle == PenStyle::Dot;
    const int w = width();
    const int h = height();

    // Pixel k (k = 0 .. n-1, n the longer side's length) steps once along the longer side and
    // lies at the nearest whole position along the shorter one (halves away from the start).
    // Only the k whose long-side position is inside the surface are walked, so lines that
    // run far outside cost nothing; the dot pattern still counts from the line's first pixel.
    const long long dx = static_cast<long long>(x) - x0;
    const long long dy = static_cast<long long>(y) - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long n = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long minorDelta = xMajor ? dy : dx;
    const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const long long majorStart = xMajor ? x0 : y0;
    const long long minorStart = xMajor ? y0 : x0;
    const long long majorLimit = xMajor ? w : h;
    const long long minorLimit = xMajor ? h : w;

    long long kFirst = 0;
    long long kLast = n - 1;
    if (majorStep > 0) {
        kFirst = std::max(kFirst, -majorStart);
        kLast = std::min(kLast, majorLimit - 1 - majorStart);
    } else {
        kFirst = std::max(kFirst, majorStart - (majorLimit - 1));
        kLast = std::min(kLast, majorStart);
    }
    const __int128 twiceN = static_cast<__int128>(2) * n;
    const long long minorSign = minorDelta < 0 ? -1 : 1;
    const __int128 minorAbs = std::llabs(minorDelta);
    QRgb* const bits = reinterpret_cast<QRgb*>(m_image.bits());
    const qsizetype stride = m_image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    for (long long k = kFirst; k <= kLast; ++k) {
        if (dotted && (k & 1))
            continue;
        // Straight lines (the spectrum's columns) need no division.
        const long long offset =
            minorAbs == 0
                ? 0
                : static_cast<long long>((2 * static_cast<__int128>(k) * minorAbs + n) / twiceN);
        const long long minor = minorStart + minorSign * offset;
        if (minor < 0 || minor >= minorLimit)
            continue;
        const long long major = majorStart + majorStep * k;
        const int px = static_cast<int>(xMajor ? major : minor);
        const int py = static_cast<int>(xMajor ? minor : major);
        bits[py * stride + px] = colour;
    }
}

void DrawSurface::drawLine(int x1, int y1, int x2, int y2) {
    moveTo(x1, y1);
    lineTo(x2, y2);
}

void DrawSurface::fillRect(const DrawRect& rect, ColourRef colour) {
    fillRect(rect, DrawBrush::solid(colour));
}

void DrawSurface::fillRect(const DrawRect& rect, const DrawBrush& brush) {
    patBlt(rect, brush, RasterOp::PatCopy);
}

void DrawSurface::frameRect(const DrawRect& rect, ColourRef colour) {
    if (rect.isEmpty())
        return;
    const DrawBrush brush = DrawBrush::solid(colour);
    fillRect({rect.left, rect.top, rect.right, rect.top + 1}, brush);
    fillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, brush);
    fillRect({rect.left, rect.top, rect.left + 1, rect.bottom}, brush);
    fillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, brush);
}

void DrawSurface::fillRegion(const DrawRegion& region, ColourRef colour) {
    const DrawBrush brush = DrawBrush::solid(colour);
    for (const QRect& r : region.toQRegion())
        fillRect({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}, brush);
}

void DrawSurface::drawEdge(const DrawRect& rect, unsigned edge, unsigned sides) {
    DrawRect r = rect;
    // Outer border first, then the inner one a pixel further in.
    for (int layer = 0; layer < 2; ++layer) {
        const unsigned raised = layer == 0 ? Edge::RaisedOuter : Edge::RaisedInner;
        const unsigned sunken = layer == 0 ? Edge::SunkenOuter : Edge::SunkenInner;
        ColourRef topLeft = 0;
        ColourRef bottomRight = 0;
        if (edge & raised) {
            topLeft =
                Colour::systemRef(layer == 0 ? Colour::kSysLight : Colour::kSysButtonHighlight);
            bottomRight =
                Colour::systemRef(layer == 0 ? Colour::kSysDarkShadow : Colour::kSysButtonShadow);
        } else if (edge & sunken) {
            topLeft =
                Colour::systemRef(layer == 0 ? Colour::kSysButtonShadow : Colour::kSysDarkShadow);
            bottomRight =
                Colour::systemRef(layer == 0 ? Colour::kSysButtonHighlight : Colour::kSysLight);
        } else {
            continue;
        }
        if (r.isEmpty())
            return;
        // The bottom and right lines run the full length, so they own the corners they
        // share with the top and left lines.
        if (sides & Edge::SideTop)
            fillRect({r.left, r.top, r.right - 1, r.top + 1}, topLeft);
        if (sides & Edge::SideLeft)
            fillRect({r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
        if (sides & Edge::SideBottom)
            fillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
        if (sides & Edge::SideRight)
            fillRect({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
        if (sides & Edge::SideLeft)
            ++r.left;
        if (sides & Edge::SideTop)
            ++r.top;
        if (sides & Edge::SideRight)
            --r.right;
        if (sides & Edge::SideBottom)
            --r.bottom;
    }
}

void DrawSurface::bitBlt(int xDst, int yDst, int width, int height, const DrawSurface& source,
                         int xSrc, int ySrc, std::uint32_t rop, const DrawBrush& brush) {
    if (m_image.isNull() || width <= 0 || height <= 0)
        return;
    // Reading from our own pixels while writing them: read from a snapshot instead.
    const QImage snapshot = &source == this ? m_image.copy() : QImage();
    const QImage& src = &source == this ? snapshot : source.m_image;

    const int x1 = std::max(xDst, 0);
    const int y1 = std::max(yDst, 0);
    const int x2 = std::min(xDst + width, this->width());
    const int y2 = std::min(yDst + height, this->height());
    const unsigned code = ropCode(rop);
    for (int y = y1; y < y2; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        const int sy = ySrc + (y - yDst);
        const QRgb* srcLine = (sy >= 0 && sy < src.height())
                                  ? reinterpret_cast<const QRgb*>(src.constScanLine(sy))
                                  : nullptr;
        for (int x = x1; x < x2; ++x) {
            const int sx = xSrc + (x - xDst);
            const QRgb s = (srcLine && sx >= 0 && sx < src.width()) ? srcLine[sx] : qRgb(0, 0, 0);
            if (code == 0xCC) {
                line[x] = s | 0xFF000000u;
                continue;
            }
            line[x] = applyRop(code, brush.pixelAt(x, y), s, line[x]);
        }
    }
}

void DrawSurface::patBlt(const DrawRect& rect, const DrawBrush& brush, std::uint32_t rop) {
    if (m_image.isNull() || brush.isNull())
        return;
    const int x1 = std::max(rect.left, 0);
    const int y1 = std::max(rect.top, 0);
    const int x2 = std::min(rect.right, width());
    const int y2 = std::min(rect.bottom, height());
    const unsigned code = ropCode(rop);
    for (int y = y1; y < y2; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        if (code == 0xF0 && brush.kind() == DrawBrush::Solid) {
            std::fill(line + x1, line + std::max(x1, x2), brush.pixelAt(0, 0));
            continue;
        }
        for (int x = x1; x < x2; ++x) {
            const QRgb p = brush.pixelAt(x, y);
            line[x] = code == 0xF0 ? p : applyRop(code, p, 0, line[x]);
        }
    }
}

void DrawSurface::setTextColour(ColourRef colour) {
    m_textColour = Colour::translate(colour);
}

int DrawSurface::drawText(const QString& text, DrawRect& rect, unsigned flags) {
    const bool singleLine = (flags & TextFlag::SingleLine) != 0;
    QStringList lines;
    if (singleLine)
        lines << text;
    else
        lines = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n');

    const QFontMetrics metrics =
        m_image.isNull() ? QFontMetrics(m_font) : QFontMetrics(m_font, &m_image);
    const int lineHeight = metrics.height();
    const int textHeight = lineHeight * static_cast<int>(lines.size());
    int textWidth = 0;
    for (const QString& line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));

    if (flags & TextFlag::CalcRect) {
        rect.right = rect.left + textWidth;
        rect.bottom = rect.top + textHeight;
        return textHeight;
    }
    if (m_image.isNull())
        return textHeight;

    // Vertical alignment applies to a single line only.
    int y = rect.top;
    if (singleLine && (flags & TextFlag::Bottom))
        y = rect.bottom - textHeight;
    else if (singleLine && (flags & TextFlag::VCentre))
        y = rect.top + (rect.height() - textHeight) / 2;

    QPainter painter(&m_image);
    painter.setFont(m_font);
    painter.setPen(QColor(toQRgb(m_textColour)));
    if (!(flags & TextFlag::NoClip))
        painter.setClipRect(
            QRect(rect.left, rect.top, std::max(0, rect.width()), std::max(0, rect.height())));
    for (const QString& line : lines) {
        const int lineWidth = metrics.horizontalAdvance(line);
        int x = rect.left;
        if (flags & TextFlag::Right)
            x = rect.right - lineWidth;
        else if (flags & TextFlag::Centre)
            x = rect.left + (rect.width() - lineWidth) / 2;
        painter.drawText(x, y + metrics.ascent(), line);
        y += lineHeight;
    }
    return textHeight;
}
