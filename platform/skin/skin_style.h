#pragma once

#include "common/colour_ref.h"

#include <QFont>
#include <QImage>
#include <QString>

// The look a frame skin draws: seventeen settings, in the order a window writes them.
//
// The caption picture holds, side by side, the active caption bar (columns 0 to
// `captionRightEnd`), the four caption buttons (close, restore, maximise, minimise) of
// `buttonWidth` × `buttonHeight` from `captionRightEnd` on, normal in the first row and pressed
// in the second, and the inactive caption bar from `inactiveCaptionLeft`. Each caption bar is
// cut into a left part (up to `captionLeftEnd`), a middle part (up to `captionMiddleEnd`)
// repeated to fit the window's width, and a right part. The frame picture holds the frame
// pieces of the active look in its left half and of the inactive look in its right half.
struct SkinStyle {
    QString name;                      // 1: the look's name
    ColourRef activeOutline = 0;       // 2: the ring around an active window
    ColourRef inactiveOutline = 0;     // 3: the ring around an inactive window
    ColourRef activeCaptionText = 0;   // 4
    ColourRef inactiveCaptionText = 0; // 5
    ColourRef captionRule = 0;         // 6: the line between the caption bar and the window
    ColourRef captionTextShadow = 0;   // 7
    QFont activeCaptionFont;           // 8
    QFont inactiveCaptionFont;         // 9
    QImage captionPicture;             // 10
    QImage framePicture;               // 11
    int buttonWidth = 0;               // 12
    int buttonHeight = 0;              // 13
    int captionLeftEnd = 0;            // 14
    int captionMiddleEnd = 0;          // 15
    int captionRightEnd = 0;           // 16
    int inactiveCaptionLeft = 0;       // 17
};
