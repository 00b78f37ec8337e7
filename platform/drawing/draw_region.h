#pragma once

#include "platform/drawing/draw_rect.h"

#include <QRegion>

// A set of pixels built from boxes, for window outlines and for ring tests while shading.
//
// Boxes are left, top, right, bottom. A rectangle region holds exactly the pixels
// left..right-1 by top..bottom-1. An ellipse or rounded-rectangle region is the shape inscribed
// in the box less its last column and row (the area left..right-1 by top..bottom-1, minus one
// pixel on the right and bottom), so a caller that wants a shape covering all of a W x H area
// passes the box (0, 0, W + 1, H + 1). A pixel belongs to a curved shape when its centre lies
// inside (or on) the ideal curve.
class DrawRegion {
public:
    enum CombineMode { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

    DrawRegion() = default;

    static DrawRegion rectangle(int left, int top, int right, int bottom);
    static DrawRegion ellipse(int left, int top, int right, int bottom);
    // Corner ellipses are cornerWidth x cornerHeight pixels (limited to the shape's size).
    static DrawRegion roundedRectangle(int left, int top, int right, int bottom, int cornerWidth,
                                       int cornerHeight);

    // a `mode` b; Copy gives a.
    static DrawRegion combine(const DrawRegion& a, const DrawRegion& b, CombineMode mode);

    bool contains(int x, int y) const { return m_region.contains(QPoint(x, y)); }
    bool isEmpty() const { return m_region.isEmpty(); }
    DrawRect bounds() const;
    // For window outlines (QWidget::setMask).
    const QRegion& toQRegion() const { return m_region; }

private:
    explicit DrawRegion(QRegion region) : m_region(std::move(region)) {}
    QRegion m_region;
};
