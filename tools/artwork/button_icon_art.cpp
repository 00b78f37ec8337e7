#include "tools/artwork/artwork.h"

#include "tools/artwork/artwork_common.h"
#include "tools/artwork/palette.h"

#include <cmath>
#include <functional>

namespace {

using Shape = std::function<bool(int x, int y)>;

// One flat shape in pixel art: outlined in `edge`, lit along its top and left inner edges.
// No smoothing, so no pixel between glyph and background can come near the transparency
// colour.
void layer(QImage& image, const Shape& inside, const QColor& face, const QColor& edge,
           const QColor& light) {
    const auto isEdge = [&](int x, int y) {
        return inside(x, y) &&
               (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1));
    };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!inside(x, y))
                continue;
            QColor c = face;
            if (isEdge(x, y))
                c = edge;
            else if (isEdge(x - 1, y) || isEdge(x, y - 1))
                c = light;
            image.setPixel(x, y, c.rgb());
        }
    }
}

bool inBox(int x, int y, int left, int top, int right, int bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

} // namespace

QImage drawButtonIcon(ButtonIcon icon) {
    const QColor background =
        icon == ButtonIcon::Record ? palette::iconTransparentWhite : palette::iconTransparentRed;
    QImage image = artwork::canvas(16, 16, background);
    switch (icon) {
    case ButtonIcon::Record:
        layer(
            image, [](int x, int y) { return std::hypot(x - 7.5, y - 7.5) <= 6.6; },
            palette::recordRed, palette::recordRedDark, palette::recordRed);
        artwork::paintRows(image, 4, 4, {"gg", "g"}, {{'g', palette::recordGlint}});
        break;
    case ButtonIcon::Stop:
        layer(
            image, [](int x, int y) { return inBox(x, y, 3, 3, 12, 12); }, palette::stopFace,
            palette::stopEdge, palette::stopLight);
        break;
    case ButtonIcon::Play:
        // A right-pointing triangle, its tip on the middle rows.
        layer(
            image,
            [](int x, int y) {
                const double px = x + 0.5;
                const double py = y + 0.5;
                return px >= 4 && std::abs(py - 8) <= (14 - px) * 0.68;
            },
            palette::playFace, palette::playEdge, palette::playLight);
        break;
    case ButtonIcon::Pause:
        layer(
            image,
            [](int x, int y) { return inBox(x, y, 3, 2, 6, 13) || inBox(x, y, 9, 2, 12, 13); },
            palette::stopFace, palette::stopEdge, palette::stopLight);
        break;
    case ButtonIcon::Open:
        // The folder's back with its tab, a sheet inside, and the front flap falling open.
        layer(
            image,
            [](int x, int y) { return inBox(x, y, 1, 4, 12, 13) || inBox(x, y, 1, 3, 5, 3); },
            palette::folderBack, palette::folderEdge, palette::folderFront);
        layer(
            image, [](int x, int y) { return inBox(x, y, 3, 5, 11, 9); }, palette::folderPaper,
            palette::folderEdge, palette::folderPaper);
        layer(
            image,
            [](int x, int y) {
                const int lean = (13 - y) / 2;
                return y >= 7 && y <= 13 && x >= 1 + lean && x <= 11 + lean;
            },
            palette::folderFront, palette::folderEdge, palette::folderFront);
        break;
    case ButtonIcon::Arrow:
        layer(
            image,
            [](int x, int y) {
                const double px = x + 0.5;
                const double py = y + 0.5;
                const bool shaft = x >= 2 && x <= 8 && y >= 6 && y <= 9;
                const bool head = px >= 8 && std::abs(py - 8) <= (14.5 - px) * 0.95;
                return shaft || head;
            },
            palette::arrowFace, palette::arrowEdge, palette::arrowFace.lighter(115));
        break;
    }
    return artwork::opaque(image);
}
