#include "tools/artwork/artwork_common.h"

#include "tools/artwork/palette.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace artwork {

QImage canvas(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QImage opaque(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB888);
}

QColor mix(const QColor& a, const QColor& b, double t) {
    const auto channel = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

void verticalGradient(QImage& image, const QRect& box, const QColor& top, const QColor& bottom) {
    const int span = std::max(1, box.height() - 1);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const QRgb c = mix(top, bottom, double(y - box.top()) / span).rgb();
        for (int x = box.left(); x <= box.right(); ++x)
            image.setPixel(x, y, c);
    }
}

void paintRows(QImage& image, int left, int top, std::initializer_list<const char*> rows,
               std::initializer_list<std::pair<char, QColor>> colours) {
    int y = top;
    for (const char* row : rows) {
        for (int x = 0; row[x] != '\0'; ++x) {
            for (const auto& [key, colour] : colours) {
                if (row[x] == key)
                    image.setPixel(left + x, y, colour.rgba());
            }
        }
        ++y;
    }
}

void drawEmblem(QPainter& painter, const QRectF& box, bool withSpectrum) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double d = std::min(box.width(), box.height());
    const double rim = std::max(1.0, d / 16);
    const QRectF disc = QRectF(box.center() - QPointF(d / 2, d / 2), QSizeF(d, d));
    painter.setPen(QPen(palette::emblemDark, rim));
    painter.setBrush(palette::emblemRim);
    painter.drawEllipse(disc.adjusted(rim / 2, rim / 2, -rim / 2, -rim / 2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::emblemFace);
    const double face = rim * 2;
    painter.drawEllipse(disc.adjusted(face, face, -face, -face));

    // The record dot, left of centre when the spectrum bars share the disc.
    const double dot = d * (withSpectrum ? 0.30 : 0.42);
    const QPointF dotCentre = withSpectrum ? disc.center() - QPointF(d * 0.16, 0) : disc.center();
    painter.setPen(QPen(palette::recordRedDark, std::max(1.0, d / 32)));
    painter.setBrush(palette::recordRed);
    painter.drawEllipse(dotCentre, dot / 2, dot / 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::recordGlint);
    painter.drawEllipse(dotCentre - QPointF(dot * 0.18, dot * 0.18), dot * 0.12, dot * 0.12);

    if (withSpectrum) {
        const double barWidth = d * 0.06;
        const double heights[] = {0.18, 0.32, 0.24};
        const double base = disc.center().y() + d * 0.17;
        for (int i = 0; i < 3; ++i) {
            const double x = disc.center().x() + d * (0.10 + i * 0.10);
            painter.setBrush(palette::spectrumBar);
            painter.drawRect(QRectF(x, base - d * heights[i], barWidth, d * heights[i]));
        }
    }
    painter.restore();
}

} // namespace artwork
