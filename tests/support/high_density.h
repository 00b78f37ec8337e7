#pragma once

#include <QImage>
#include <QWidget>

// How a widget looks on a screen of twice the density (device pixel ratio 2).
inline QImage renderDoubled(QWidget& widget) {
    QImage doubled(widget.size() * 2, QImage::Format_RGB32);
    doubled.setDevicePixelRatio(2);
    doubled.fill(Qt::black);
    widget.render(&doubled);
    return doubled;
}

// How many pixels of `source`, placed at `at` in the widget, are not shown as a 2 × 2 block of
// their own colour in `doubled`: 0 when the picture was pixel-doubled, never smoothed.
inline int undoubledPixels(const QImage& doubled, const QImage& source, QPoint at = {}) {
    const QImage s = source.convertToFormat(QImage::Format_RGB32);
    int wrong = 0;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            const QPoint d = 2 * (at + QPoint(x, y));
            const QRgb c = s.pixel(x, y);
            for (const QPoint o : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
                wrong += doubled.pixel(d + o) == c ? 0 : 1;
        }
    }
    return wrong;
}
