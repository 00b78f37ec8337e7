#include "app/form_pictures.h"

#include "app/form_look.h"

#include <QByteArray>
#include <QLocale>
#include <QResource>
#include <QSysInfo>

#include <png.h>

namespace {

// One PNG picture of the resources, in the 32-bit format Qt's own reader gives it:
// Format_RGB32 (opaque) or Format_ARGB32 (with transparency). A null picture if it is missing
// or cannot be read.
QImage decodeResourcePng(const QString& path, QImage::Format format) {
    // The resources have no variants by language; the C locale keeps the system's locale, which
    // the application object sets up meanwhile, out of it.
    const QByteArray bytes = QResource(path, QLocale::c()).uncompressedData();
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.constData(),
                                          static_cast<png_size_t>(bytes.size())))
        return {};
    // Format_RGB32 and Format_ARGB32 hold each pixel as one 32-bit word 0xAARRGGBB, alpha not
    // premultiplied, so libpng writes straight into the picture in the machine's byte order; an
    // opaque picture gets alpha 255, as Format_RGB32 wants.
    png.format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    QImage picture(static_cast<int>(png.width), static_cast<int>(png.height), format);
    if (picture.isNull() ||
        !png_image_finish_read(&png, nullptr, picture.bits(),
                               static_cast<png_int_32>(picture.bytesPerLine()), nullptr)) {
        png_image_free(&png);
        return {};
    }
    return picture;
}

// The icon's pictures, smallest first.
QList<QImage> decodeFormIcon() {
    QList<QImage> sizes;
    for (const int size : kFormIconSizes) {
        const QString side = QString::number(size);
        QImage picture = decodeResourcePng(QStringLiteral(":/appicon/") + side + u'x' + side +
                                               QStringLiteral(".png"),
                                           QImage::Format_ARGB32);
        if (!picture.isNull())
            sizes << picture;
    }
    return sizes;
}

} // namespace

FormPictures decodeFormPictures() {
    loadFormResources();
    // The window's pictures have no transparency.
    return {
        .background = decodeResourcePng(QStringLiteral(":/background.png"), QImage::Format_RGB32),
        .caption = decodeResourcePng(QStringLiteral(":/skin/caption.png"), QImage::Format_RGB32),
        .frame = decodeResourcePng(QStringLiteral(":/skin/frame.png"), QImage::Format_RGB32),
        .icon = decodeFormIcon()};
}
