#include "app/form_pictures.h"

#include "app/form_look.h"

#include <QByteArray>
#include <QLocale>
#include <QResource>

#include <png.h>

namespace {

// One PNG picture of the resources, as the opaque 32-bit picture the window draws; a null
// picture if it is missing or cannot be read.
QImage decodeResourcePng(const QString& path) {
    // The resources have no variants by language; the C locale keeps the system's locale, which
    // the application object sets up meanwhile, out of it.
    const QByteArray bytes = QResource(path, QLocale::c()).uncompressedData();
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.constData(),
                                          static_cast<png_size_t>(bytes.size())))
        return {};
    // Byte order R, G, B, A on every machine, which is what Format_RGBA8888 holds.
    png.format = PNG_FORMAT_RGBA;
    QImage rgba(static_cast<int>(png.width), static_cast<int>(png.height),
                QImage::Format_RGBA8888);
    if (rgba.isNull() || !png_image_finish_read(&png, nullptr, rgba.bits(),
                                                static_cast<png_int_32>(rgba.bytesPerLine()),
                                                nullptr)) {
        png_image_free(&png);
        return {};
    }
    // The window's pictures have no transparency: what Qt's own reader makes of them.
    return rgba.convertToFormat(QImage::Format_RGB32);
}

} // namespace

FormPictures decodeFormPictures() {
    loadFormResources();
    return {.background = decodeResourcePng(QStringLiteral(":/background.png")),
            .caption = decodeResourcePng(QStringLiteral(":/skin/caption.png")),
            .frame = decodeResourcePng(QStringLiteral(":/skin/frame.png"))};
}
