#pragma once

#include "platform/skin/skin_style.h"

#include <QImage>

// A style whose pictures name their own pixels, so a test can tell where any pixel of the
// drawn frame came from: caption picture pixel (x, y) is RGB(x % 256, x / 256, y), frame
// picture pixel (x, y) is RGB(x, 100 + y, 200).
inline QRgb captionPixel(int x, int y) {
    return qRgb(x % 256, x / 256, y);
}
inline QRgb framePixel(int x, int y) {
    return qRgb(x, 100 + y, 200);
}

inline SkinStyle codedSkinStyle() {
    QImage caption(640, 48, QImage::Format_RGB888);
    for (int y = 0; y < caption.height(); ++y)
        for (int x = 0; x < caption.width(); ++x)
            caption.setPixel(x, y, captionPixel(x, y));
    QImage frame(70, 10, QImage::Format_RGB888);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            frame.setPixel(x, y, framePixel(x, y));
    SkinStyle style;
    style.name = QStringLiteral("Neo Classic");
    style.activeOutline = Colour::RGB(250, 1, 1);
    style.inactiveOutline = Colour::RGB(1, 250, 1);
    style.activeCaptionText = Colour::RGB(255, 255, 255);
    style.inactiveCaptionText = Colour::RGB(255, 255, 255);
    style.captionRule = Colour::RGB(1, 1, 250);
    style.captionTextShadow = Colour::RGB(126, 134, 125);
    style.captionPicture = caption;
    style.framePicture = frame;
    style.buttonWidth = 19;
    style.buttonHeight = 20;
    style.captionLeftEnd = 90;
    style.captionMiddleEnd = 140;
    style.captionRightEnd = 240;
    style.inactiveCaptionLeft = 400;
    return style;
}
