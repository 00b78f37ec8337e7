#include "tools/artwork/artwork.h"

#include "tools/artwork/artwork_common.h"
#include "tools/artwork/palette.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The logo's lettering is drawn from strokes of its own, so the picture comes out the same
// whatever fonts the machine has. Each glyph lives on a grid 10 wide and 14 high.
struct Glyph {
    QPainterPath path;
    double width;
};

Glyph glyph(char c) {
    QPainterPath p;
    double width = 10;
    switch (c) {
    case 'S':
        p.moveTo(9, 2.5);
        p.cubicTo(7.5, 0, 1, 0, 1, 3.5);
        p.cubicTo(1, 7, 9, 6.5, 9, 10.5);
        p.cubicTo(9, 14, 2, 14, 0.8, 11.2);
        break;
    case 'O':
        p.addEllipse(QRectF(0.8, 0.5, 8.4, 13));
        break;
    case 'R':
        p.moveTo(1, 14);
        p.lineTo(1, 0.5);
        p.lineTo(5.5, 0.5);
        p.cubicTo(9.5, 0.5, 9.5, 7, 5.5, 7);
        p.lineTo(1, 7);
        p.moveTo(5, 7);
        p.lineTo(9, 14);
        break;
    case 'V':
        p.moveTo(0.5, 0.5);
        p.lineTo(5, 14);
        p.lineTo(9.5, 0.5);
        break;
    case 'I':
        p.moveTo(2, 0.5);
        p.lineTo(2, 14);
        width = 4;
        break;
    case 'N':
        p.moveTo(1, 14);
        p.lineTo(1, 0.5);
        p.lineTo(9, 14);
        p.lineTo(9, 0.5);
        break;
    case 'T':
        p.moveTo(0.5, 0.5);
        p.lineTo(9.5, 0.5);
        p.moveTo(5, 0.5);
        p.lineTo(5, 14);
        break;
    case 'A':
        p.moveTo(0.5, 14);
        p.lineTo(5, 0.5);
        p.lineTo(9.5, 14);
        p.moveTo(2.3, 9);
        p.lineTo(7.7, 9);
        break;
    case '3':
        p.moveTo(1.2, 2.6);
        p.cubicTo(3, -0.2, 9, 0, 8.6, 3.6);
        p.cubicTo(8.3, 6.2, 5.5, 6.8, 4, 6.8);
        p.cubicTo(10.2, 6.8, 9.8, 14, 5, 14);
        p.cubicTo(3, 14, 1.4, 13, 0.8, 11.5);
        break;
    case '.':
        p.addRect(QRectF(1.2, 12.4, 1.6, 1.6));
        width = 4;
        break;
    case '0':
        p.addEllipse(QRectF(1, 0.5, 8, 13.5));
        break;
    default:
        width = 6;
        break;
    }
    return {p, width};
}

// The word's strokes, scaled and placed with their top left at `at`.
QPainterPath word(const char* text, double scale, QPointF at, double spacing) {
    QPainterPath path;
    double x = 0;
    for (const char* c = text; *c; ++c) {
        const Glyph g = glyph(*c);
        path.addPath(QTransform().translate(x, 0).map(g.path));
        x += g.width + spacing;
    }
    return QTransform().translate(at.x(), at.y()).scale(scale, scale).map(path);
}

double wordWidth(const char* text, double scale, double spacing) {
    double x = 0;
    for (const char* c = text; *c; ++c)
        x += glyph(*c).width + spacing;
    return (x - spacing) * scale;
}

void stroke(QPainter& painter, const QPainterPath& path, const QColor& ink, double pen,
            const QColor& shadow) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(shadow, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path.translated(1, 1));
    painter.setPen(QPen(ink, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
}

} // namespace

// A glossy steel plaque with the emblem, the name and the version.
QImage drawAboutLogo() {
    constexpr int width = 202;
    constexpr int height = 80;
    QImage image = artwork::canvas(width, height, palette::logoEdge);
    for (int y = 1; y < height - 1; ++y) {
        QColor row = artwork::mix(palette::logoTop, palette::logoBottom, double(y) / (height - 2));
        if (y < height / 2)
            row = artwork::mix(row, Qt::white, 0.12);
        for (int x = 1; x < width - 1; ++x)
            image.setPixel(x, y, row.rgb());
    }
    for (int x = 1; x < width - 1; ++x)
        image.setPixel(x, 1, palette::logoLight.rgb());
    for (int y = 1; y < height - 1; ++y)
        image.setPixel(1, y, palette::logoLight.rgb());

    QPainter painter(&image);
    artwork::drawEmblem(painter, QRectF(10, 12, 56, 56), true);
    painter.setRenderHint(QPainter::Antialiasing, true);

    const double nameScale = 1.2;
    const double nameLeft = 76;
    const double nameRight = width - 10;
    const double nameSpacing = (nameRight - nameLeft) / nameScale;
    // Spread the name over the space right of the emblem.
    const double gaps = 7;
    const double spacing = (nameSpacing - (wordWidth("SORVINTA", 1, 0))) / gaps;
    stroke(painter, word("SORVINTA", nameScale, QPointF(nameLeft, 17), spacing), palette::logoWord,
           2.4, palette::logoWordShadow);

    painter.setPen(QPen(palette::logoLight, 1));
    painter.drawLine(QPointF(nameLeft, 43.5), QPointF(nameRight, 43.5));

    const double versionScale = 1.05;
    const double versionWidth = wordWidth("3.0", versionScale, 2);
    stroke(painter, word("3.0", versionScale, QPointF(nameRight - versionWidth, 50), 2),
           palette::logoVersion, 2.2, palette::logoWordShadow);
    painter.end();
    return artwork::opaque(image);
}
