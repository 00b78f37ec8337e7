#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include <cstdint>

// Layout is given in twips, 15 to a pixel.
constexpr int twips(int t) { return t / 15; }
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// 0x00BBGGRR, red in the low byte.
inline QColor qColour(std::uint32_t value) {
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

// The window's display fonts may be missing; each falls back to a family every Debian desktop has.
QFont formFont(const QString& family, double pointSize, bool bold);
