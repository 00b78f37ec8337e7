#include "controls/bevel_button/bevel_renderer.h"

#include "common/rounding.h"
#include "controls/bevel_button/bevel_colours.h"
#include "platform/drawing/draw_region.h"
#include "platform/drawing/draw_surface.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double Pi = std::numbers::pi;

// The luminance the ring reaches at full depth, by the direction it faces: light up and left,
// white at the top-left diagonal, dark down and right, black at the bottom-right diagonal.
double targetLuminance(double a) {
    if (a <= 0.0)
        return 40.0;
    if (a < Pi / 2)
        return 40.0 + 180.0 * a / (Pi / 2);
    if (a < Pi / 2 + Pi / 6)
        return 220.0 + 20.0 * (a - Pi / 2) / (Pi / 6);
    if (a <= Pi / 2 + Pi / 3)
        return 240.0;
    if (a < Pi)
        return 240.0 - 20.0 * (a - Pi / 2 - Pi / 3) / (Pi / 6);
    if (a < 3 * Pi / 2)
        return 220.0 - 180.0 * (a - Pi) / (Pi / 2);
    if (a < 3 * Pi / 2 + Pi / 6)
        return 40.0 - 40.0 * (a - 3 * Pi / 2) / (Pi / 6);
    if (a <= 3 * Pi / 2 + Pi / 3)
        return 0.0;
    if (a < 2 * Pi)
        return 40.0 * (a - 3 * Pi / 2 - Pi / 3) / (Pi / 6);
    return 40.0;
}

// Ring membership as one flag per surface pixel, so the scan tests each pixel in constant time.
class RingMask {
public:
    RingMask(const DrawRegion& ring, int width, int height)
        : m_width(width), m_flags(static_cast<std::size_t>(width) * height, 0) {
        for (const QRect& r : ring.toQRegion()) {
            const int x0 = std::max(r.left(), 0);
            const int x1 = std::min(r.left() + r.width(), width);
            for (int y = std::max(r.top(), 0); y < std::min(r.top() + r.height(), height); ++y)
                for (int x = x0; x < x1; ++x)
                    m_flags[static_cast<std::size_t>(y) * width + x] = 1;
        }
    }
    bool contains(int x, int y) const {
        return m_flags[static_cast<std::size_t>(y) * m_width + x] != 0;
    }

private:
    int m_width;
    std::vector<std::uint8_t> m_flags;
};

struct Outlines {
    DrawRegion outer;
    DrawRegion inner;
};

Outlines outlines(std::int32_t shape, int sw, int sh, int bh, int m) {
    switch (shape) {
    case 0:
        return {DrawRegion::rectangle(0, 0, sw + 1, sh + 1),
                DrawRegion::rectangle(bh, bh, sw - bh + 1, sh - bh + 1)};
    case 1:
        return {DrawRegion::ellipse(0, 0, sw + 1, sh + 1),
                DrawRegion::ellipse(bh, bh, sw - bh + 1, sh - bh + 1)};
    default:
        return {
            DrawRegion::roundedRectangle(0, 0, sw + 1, sh + 1, m, m),
            DrawRegion::roundedRectangle(bh, bh, sw - bh + 1, sh - bh + 1, m - 2 * bh, m - 2 * bh)};
    }
}

// The corner measure m (the rounded rectangle's corner size), the corner radius r and the bevel
// height that suits the shape.
struct CornerMeasures {
    int m;
    int r;
    int suitedHeight;
};

CornerMeasures cornerMeasures(std::int32_t shape, int sw, int sh) {
    const int smaller = sh < sw ? sh : sw;
    if (shape == 1)
        return {0, sw / 2, sw / 8 + 1};
    if (shape == 3)
        return {smaller, smaller / 2, smaller / 8 + 1};
    const int m = roundToInt(smaller / 2.0);
    return {m, m / 2, m / 4 + 1};
}

// Where a corner pixel lies from the centre of its corner: the direction it faces (0 to the
// right, a quarter turn up, and so on round) and its distance.
struct CornerPoint {
    double angle;
    double distance;
};

CornerPoint cornerPoint(int x, int y, int left, int right, int top, int bottom) {
    double angle = 0.0;
    int dx = 0;
    int dy = 0;
    if (x < left && y < top) {
        dx = left - x;
        dy = top - y;
        angle = std::atan(double(dy) / dx) + Pi / 2;
    } else if (x < left) {
        dx = left - x;
        dy = y - bottom;
        angle = std::atan(double(dy) / dx) + Pi;
    } else if (y > bottom) {
        dx = x - right;
        dy = y - bottom;
        angle = std::atan(double(dy) / dx) + 3 * Pi / 2;
    } else {
        dx = x - right;
        dy = top - y;
        angle = std::atan(double(dy) / dx);
    }
    return {angle, Hypotenuse(dx, dy)};
}

} // namespace

double Hypotenuse(std::int32_t a, std::int32_t b) {
    return std::sqrt(double(a) * a + double(b) * b);
}

std::int16_t BevelLuminance(std::int16_t baseLuminance, double angle, double depth, bool sunken) {
    const double f = std::clamp(depth, 0.0, 1.0);
    const double w = std::sin(f * Pi / 2);
    if (sunken)
        angle = angle < Pi ? angle + Pi : angle - Pi;
    const double target = targetLuminance(angle);
    return static_cast<std::int16_t>(roundToInt(baseLuminance + (target - baseLuminance) * w));
}

void RenderBevel(DrawSurface& surface, std::int16_t& BevelHeight, ColourRef baseColour,
                 std::int32_t shape, bool sunken) {
    const int sw = surface.width();
    const int sh = surface.height();

    surface.setBackColour(TranslateColour(baseColour));
    surface.clear();
    if (shape < 0 || shape > 3)
        return;

    const auto [m, r, suitedHeight] = cornerMeasures(shape, sw, sh);
    if (BevelHeight == 0)
        BevelHeight = static_cast<std::int16_t>(suitedHeight);
    const int bh = BevelHeight;
    const int inner = r - bh + 1;
    const int left = r;
    const int right = sw - r - 1;
    const int top = r;
    const int bottom = sh - r - 1;
    // A one-pixel ring has no depth to grade: every pixel of it is at the outer edge.
    const double depthSpan = bh - 1;
    const auto fraction = [&](double distance) {
        return depthSpan == 0.0 ? 1.0 : distance / depthSpan;
    };

    const Outlines shapes = outlines(shape, sw, sh, bh, m);
    const RingMask ring(DrawRegion::combine(shapes.outer, shapes.inner, DrawRegion::Xor), sw, sh);

    const HLSColour base = RGBToHLS(surface.backColour());
    const auto shade = [&](double angle, double depth) {
        return HLSToRGB(
            {base.Hue, base.Saturation, BevelLuminance(base.Luminance, angle, depth, sunken)});
    };
    const auto band = [&](double angle, double depth, int x1, int y1, int x2, int y2) {
        surface.setPenColour(shade(angle, depth));
        surface.drawLine(x1, y1, x2, y2);
    };

    for (int y = 0; y < sh; ++y) {
        for (int x = 0; x < sw; ++x) {
            if (!ring.contains(x, y))
                continue;
            if (shape != 0 && (x < left || x > right) && (y < top || y > bottom)) {
                // Corners, pixel by pixel.
                const CornerPoint p = cornerPoint(x, y, left, right, top, bottom);
                surface.setPixel(x, y, shade(p.angle, fraction(p.distance - inner)));
                continue;
            }
            // Bands: one line each, then the scan jumps past the band.
            const bool inColumns = left <= x && x <= right;
            const bool inRows = top <= y && y <= bottom;
            if (inColumns && y < top) {
                if (shape == 0)
                    band(Pi / 2, fraction(bh - 1 - y), y, y, sw - y, y);
                else
                    band(Pi / 2, fraction(bh - 1 - y), left, y, right + 1, y);
                x = right;
            } else if (inRows && x < left) {
                if (shape == 0)
                    band(Pi, fraction(bh - 1 - x), x, x, x, sh - x);
                else
                    band(Pi, fraction(bh - 1 - x), x, top, x, bottom + 1);
                y = bottom;
            } else if (inColumns && y > bottom) {
                if (shape == 0)
                    band(3 * Pi / 2, fraction((y - bottom) - inner), sh - y, y, sw - sh + y + 1, y);
                else
                    band(3 * Pi / 2, fraction((y - bottom) - inner), left, y, right + 1, y);
                x = right;
            } else if (inRows && x > right) {
                if (shape == 0)
                    band(2 * Pi, fraction((x - right) - inner), x, sw - x, x, sh - sw + x);
                else
                    band(2 * Pi, fraction((x - right) - inner), x, top, x, bottom + 1);
                y = bottom;
            }
        }
    }
}
