#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>

#include <initializer_list>
#include <utility>

class QPainter;

namespace artwork {

// A blank picture to draw on: opaque pictures start filled, the others transparent.
QImage canvas(int width, int height, const QColor& fill = Qt::transparent);
// The stored form of an opaque picture: 24 bits a pixel, no transparency.
QImage opaque(const QImage& image);

QColor mix(const QColor& a, const QColor& b, double t);
void verticalGradient(QImage& image, const QRect& box, const QColor& top, const QColor& bottom);

// Pixel art: each character of `rows` names a colour in `colours`; any other character is
// left as it is.
void paintRows(QImage& image, int left, int top, std::initializer_list<const char*> rows,
               std::initializer_list<std::pair<char, QColor>> colours);

// The round record emblem: a red dot in a rimmed blue disc, drawn smooth into `box`.
void drawEmblem(QPainter& painter, const QRectF& box, bool withSpectrum);

} // namespace artwork
