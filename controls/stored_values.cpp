#include "controls/stored_values.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <string_view>

FontValue toFontValue(const QFont& font) {
    double points = font.pointSizeF();
    if (points <= 0.0) // a font sized in pixels: 96 dots per inch
        points = font.pixelSize() * 72.0 / 96.0;
    return {font.family().toStdString(),
            points,
            font.weight(),
            font.italic(),
            font.underline(),
            font.strikeOut()};
}

QFont toQFont(const FontValue& value, const QFont& fallback) {
    QFont font(fallback);
    font.setFamily(QString::fromStdString(value.name));
    if (value.pointSize > 0.0)
        font.setPointSizeF(value.pointSize);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(value.weight, 1, 1000)));
    font.setItalic(value.italic);
    font.setUnderline(value.underline);
    font.setStrikeOut(value.strikeOut);
    return font;
}

QImage toImage(const PictureValue& picture) {
    if (picture.isNone())
        return {};
    constexpr std::string_view prefix = "base64:";
    if (picture.source.starts_with(prefix)) {
        const QByteArray data =
            QByteArray::fromBase64(QByteArray::fromStdString(picture.source.substr(prefix.size())));
        return QImage::fromData(data, "PNG");
    }
    return QImage(QString::fromStdString(picture.source));
}

PictureValue toPictureValue(const QImage& image) {
    if (image.isNull())
        return {};
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {"base64:" + data.toBase64().toStdString()};
}
