#include "platform/drawing/draw_region.h"

#include <algorithm>
#include <vector>

namespace {

// Pixels of the W x H area at (left, top) whose centres lie inside the rounded rectangle
// with corner ellipses cw x ch; cw = W and ch = H gives the inscribed ellipse.
QRegion roundedArea(int left, int top, int w, int h, int cw, int ch) {
    if (w <= 0 || h <= 0)
        return {};
    cw = std::clamp(cw, 0, w);
    ch = std::clamp(ch, 0, h);
    if (cw == 0 || ch == 0)
        return QRegion(left, top, w, h);

    const double rx = cw / 2.0;
    const double ry = ch / 2.0;
    // Corner ellipse centres relative to the area's origin; pixel centres sit at n + 0.5.
    const double cxLeft = rx;
    const double cxRight = w - rx;
    const double cyTop = ry;
    const double cyBottom = h - ry;

    std::vector<QRect> spans;
    spans.reserve(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const double py = y + 0.5;
        const double ey = py < cyTop ? py - cyTop : (py > cyBottom ? py - cyBottom : 0.0);
        const double fy = (ey * ey) / (ry * ry);
        const auto inside = [&](int x) {
            const double px = x + 0.5;
            const double ex = px < cxLeft ? px - cxLeft : (px > cxRight ? px - cxRight : 0.0);
            return (ex * ex) / (rx * rx) + fy <= 1.0;
        };
        // A row's inside pixels are one run about the middle, so each end is found by halving
        // rather than by trying every pixel: the widest buttons are redrawn at every resize.
        int middle = w / 2;
        if (!inside(middle) && !(middle > 0 && inside(--middle)))
            continue;
        int low = 0, high = middle; // the first inside pixel lies in [low, high]
        while (low < high) {
            const int mid = low + (high - low) / 2;
            if (inside(mid))
                high = mid;
            else
                low = mid + 1;
        }
        const int first = low;
        low = middle;
        high = w - 1; // the last inside pixel lies in [low, high]
        while (low < high) {
            const int mid = low + (high - low + 1) / 2;
            if (inside(mid))
                low = mid;
            else
                high = mid - 1;
        }
        spans.emplace_back(left + first, top + y, low - first + 1, 1);
    }
    QRegion region;
    if (!spans.empty())
        region.setRects(spans.data(), static_cast<int>(spans.size()));
    return region;
}

} // namespace

DrawRegion DrawRegion::rectangle(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top)
        return {};
    return DrawRegion(QRegion(left, top, right - left, bottom - top));
}

DrawRegion DrawRegion::ellipse(int left, int top, int right, int bottom) {
    const int w = right - 1 - left;
    const int h = bottom - 1 - top;
    return DrawRegion(roundedArea(left, top, w, h, w, h));
}

DrawRegion DrawRegion::roundedRectangle(int left, int top, int right, int bottom, int cornerWidth,
                                        int cornerHeight) {
    return DrawRegion(
        roundedArea(left, top, right - 1 - left, bottom - 1 - top, cornerWidth, cornerHeight));
}

DrawRegion DrawRegion::combine(const DrawRegion& a, const DrawRegion& b, CombineMode mode) {
    switch (mode) {
    case And:
        return DrawRegion(a.m_region.intersected(b.m_region));
    case Or:
        return DrawRegion(a.m_region.united(b.m_region));
    case Xor:
        return DrawRegion(a.m_region.xored(b.m_region));
    case Diff:
        return DrawRegion(a.m_region.subtracted(b.m_region));
    case Copy:
        break;
    }
    return a;
}

DrawRect DrawRegion::bounds() const {
    const QRect r = m_region.boundingRect();
    if (r.isEmpty())
        return {};
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
