#include "tools/artwork/artwork.h"

#include "tools/artwork/artwork_common.h"
#include "tools/artwork/palette.h"

#include <algorithm>

// Brushed light steel: a top-to-bottom gradient with a faint line on every other row, fading
// into the window's own grey over its last columns so its right edge leaves no seam.
QImage drawBackground() {
    constexpr int width = 392;
    constexpr int height = 414;
    constexpr int fade = 48;
    QImage image = artwork::canvas(width, height, palette::windowGrey);
    for (int y = 0; y < height; ++y) {
        QColor row = artwork::mix(palette::backgroundTop, palette::backgroundBottom,
                                  double(y) / (height - 1));
        if (y % 2 == 1)
            row = artwork::mix(row, Qt::white, 0.18);
        for (int x = 0; x < width; ++x) {
            const double toGrey = std::clamp(double(x - (width - fade)) / fade, 0.0, 1.0);
            image.setPixel(x, y, artwork::mix(row, palette::windowGrey, toGrey).rgb());
        }
    }
    return artwork::opaque(image);
}
