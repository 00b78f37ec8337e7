#include "app/form_skin.h"

SkinStyle formSkinStyle(const QFont& windowFont, const FormPictures& pictures) {
    // The seventeen settings in the order they are written; the compiler holds the
    // initialisers to the order of SkinStyle's fields.
    return SkinStyle{
        .name = QStringLiteral("Neo Classic"),
        .activeOutline = Colour::RGB(171, 171, 171),
        .inactiveOutline = Colour::RGB(171, 171, 171),
        .activeCaptionText = Colour::RGB(255, 255, 255),
        .inactiveCaptionText = Colour::RGB(255, 255, 255),
        .captionRule = Colour::RGB(255, 255, 255),
        .captionTextShadow = Colour::RGB(126, 134, 125),
        .activeCaptionFont = windowFont,
        .inactiveCaptionFont = windowFont,
        // The two skin pictures, as held by picResource(0) and picResource(1).
        .captionPicture = pictures.caption,
        .framePicture = pictures.frame,
        .buttonWidth = 19,
        .buttonHeight = 20,
        .captionLeftEnd = 90,
        .captionMiddleEnd = 140,
        .captionRightEnd = 240,
        .inactiveCaptionLeft = 400,
    };
}
