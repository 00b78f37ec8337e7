#pragma once

#include "platform/forms/property_bag.h"

#include <QFont>
#include <QImage>

// The controls' fonts and pictures as the property bag stores them, and back.

FontValue toFontValue(const QFont& font);
// `fallback` gives whatever the stored value does not say.
QFont toQFont(const FontValue& value, const QFont& fallback);

// A stored picture: "base64:" PNG data, or a file or resource path. Unreadable data is none.
QImage toImage(const PictureValue& picture);
// Embeds the picture as PNG data; a null image is none.
PictureValue toPictureValue(const QImage& image);
