#include "tools/artwork/artwork.h"

#include "tools/artwork/artwork_common.h"
#include "tools/artwork/palette.h"

#include <QPainter>

namespace {

// The layout the skin's six numbers describe: buttons of 19 × 20, the caption bar cut at
// columns 90, 140 and 240, the inactive caption bar from column 400. The caption bar itself is
// 24 rows high; the frame is 5 pixels wide.
constexpr int kButtonWidth = 19;
constexpr int kButtonHeight = 20;
constexpr int kCaptionWidth = 240;
constexpr int kCaptionHeight = 24;
constexpr int kInactiveColumn = 400;
constexpr int kBorder = 5;

struct Look {
    QColor top;
    QColor bottom;
    const QColor* frame; // five tones, outside in
    QColor shade;
    bool active;
};

const Look kActive{palette::captionActiveTop, palette::captionActiveBottom, palette::frameActive,
                   palette::frameActiveShade, true};
const Look kInactive{palette::captionInactiveTop, palette::captionInactiveBottom,
                     palette::frameInactive, palette::frameInactiveShade, false};

// A glossy bar: the upper half is lit. Every column of the middle part (90–140) is the same,
// so the skin may tile or stretch it.
void drawCaptionBar(QImage& image, int left, const Look& look) {
    for (int y = 0; y < kCaptionHeight; ++y) {
        QColor row;
        if (y == 0)
            row = look.frame[0];
        else if (y == 1)
            row = look.frame[1];
        else if (y == kCaptionHeight - 1)
            row = look.frame[4];
        else {
            row = artwork::mix(look.top, look.bottom, double(y - 2) / (kCaptionHeight - 4));
            if (y < kCaptionHeight / 2)
                row = artwork::mix(row, Qt::white, 0.16);
        }
        for (int x = 0; x < kCaptionWidth; ++x)
            image.setPixel(left + x, y, row.rgb());
    }
    // The frame's sides run on up through the caption bar.
    for (int y = 1; y < kCaptionHeight; ++y) {
        image.setPixel(left, y, look.frame[0].rgb());
        image.setPixel(left + 1, y, look.frame[1].rgb());
        image.setPixel(left + kCaptionWidth - 1, y, look.frame[0].rgb());
        image.setPixel(left + kCaptionWidth - 2, y, look.shade.rgb());
    }
    // The emblem sits in the left part; the inactive one is drawn faded.
    QImage emblem = artwork::canvas(18, 18);
    {
        QPainter painter(&emblem);
        artwork::drawEmblem(painter, QRectF(0, 0, 18, 18), false);
    }
    if (!look.active) {
        for (int y = 0; y < emblem.height(); ++y) {
            for (int x = 0; x < emblem.width(); ++x) {
                const QColor c = QColor::fromRgba(emblem.pixel(x, y));
                const int grey = qGray(c.rgb());
                emblem.setPixel(x, y, qPremultiply(qRgba(grey, grey, grey, c.alpha())));
            }
        }
    }
    QPainter painter(&image);
    painter.drawImage(left + 5, 3, emblem);
}

enum class Glyph { Close, Restore, Maximise, Minimise };

void drawCaptionButton(QImage& image, int left, int top, Glyph glyph, bool pressed) {
    const int right = left + kButtonWidth - 1;
    const int bottom = top + kButtonHeight - 1;
    const QColor face = pressed ? palette::captionButtonPressed : palette::captionButtonFace;
    const QColor lit = pressed ? palette::captionButtonShade : palette::captionButtonLight;
    const QColor shaded = pressed ? palette::captionButtonPressed : palette::captionButtonShade;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            QColor c = face;
            if (x == left || x == right || y == top || y == bottom)
                c = palette::captionButtonEdge;
            else if (x == left + 1 || y == top + 1)
                c = lit;
            else if (x == right - 1 || y == bottom - 1)
                c = shaded;
            image.setPixel(x, y, c.rgb());
        }
    }
    // A pressed button's glyph sits one pixel lower and to the right.
    const int gx = left + (pressed ? 1 : 0);
    const int gy = top + (pressed ? 1 : 0);
    const QRgb ink = palette::captionButtonGlyph.rgb();
    const auto dot = [&](int x, int y) { image.setPixel(gx + x, gy + y, ink); };
    const auto box = [&](int l, int t, int r, int b, bool fill) {
        for (int y = t; y <= b; ++y) {
            for (int x = l; x <= r; ++x) {
                if (x == l || x == r || y == t || y == t + 1 || y == b)
                    dot(x, y);
                else if (fill)
                    image.setPixel(gx + x, gy + y, face.rgb());
            }
        }
    };
    switch (glyph) {
    case Glyph::Close:
        for (int i = 0; i < 8; ++i) {
            dot(5 + i, 6 + i);
            dot(6 + i, 6 + i);
            dot(13 - i, 6 + i);
            dot(12 - i, 6 + i);
        }
        break;
    case Glyph::Restore:
        box(7, 5, 13, 10, false);
        box(4, 8, 10, 14, true);
        break;
    case Glyph::Maximise:
        box(4, 5, 13, 14, false);
        break;
    case Glyph::Minimise:
        for (int x = 5; x <= 12; ++x) {
            dot(x, 13);
            dot(x, 14);
        }
        break;
    }
}

// One look's frame pieces, 35 × 10 at `left`: the left and right sides in the top row of
// 5 × 5 cells, the bottom corners and the bottom edge in the lower row. The light comes from
// the top left, so the right and bottom edges carry the shade where the left one is lit.
void drawFramePieces(QImage& image, int left, const Look& look) {
    const QColor lit[kBorder] = {look.frame[0], look.frame[1], look.frame[2], look.frame[3],
                                 look.frame[4]};
    const QColor dark[kBorder] = {look.frame[0], look.shade, look.frame[2], look.frame[3],
                                  look.frame[4]};
    const int width = 7 * kBorder;
    for (int y = 0; y < 2 * kBorder; ++y) {
        for (int x = 0; x < width; ++x) {
            QColor c = look.frame[2];
            const int fromLeft = x;
            const int fromRight = width - 1 - x;
            if (y < kBorder) {
                if (fromLeft < kBorder)
                    c = lit[fromLeft];
                else if (fromRight < kBorder)
                    c = dark[fromRight];
            } else {
                const int fromBottom = 2 * kBorder - 1 - y;
                if (fromLeft < kBorder && fromLeft < fromBottom)
                    c = lit[fromLeft];
                else if (fromRight < kBorder && fromRight <= fromBottom)
                    c = dark[fromRight];
                else
                    c = dark[fromBottom];
            }
            image.setPixel(left + x, y, c.rgb());
        }
    }
}

} // namespace

QImage drawSkinCaption() {
    QImage image = artwork::canvas(640, 48, palette::skinFiller);
    drawCaptionBar(image, 0, kActive);
    drawCaptionBar(image, kInactiveColumn, kInactive);
    const Glyph glyphs[] = {Glyph::Close, Glyph::Restore, Glyph::Maximise, Glyph::Minimise};
    for (int i = 0; i < 4; ++i) {
        const int x = kCaptionWidth + i * kButtonWidth;
        drawCaptionButton(image, x, 0, glyphs[i], false);
        drawCaptionButton(image, x, kButtonHeight, glyphs[i], true);
    }
    return artwork::opaque(image);
}

QImage drawSkinFrame() {
    QImage image = artwork::canvas(14 * kBorder, 2 * kBorder, palette::skinFiller);
    drawFramePieces(image, 0, kActive);
    drawFramePieces(image, 7 * kBorder, kInactive);
    return artwork::opaque(image);
}
