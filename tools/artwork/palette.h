#pragma once

#include <QColor>

// Every colour the program's pictures are drawn in. Changing one here and running the
// `artwork` target redraws every picture that uses it.
namespace palette {

// The main window's background picture: a brushed light steel that fades into the window's
// own background colour at its right edge.
inline const QColor backgroundTop{214, 218, 226};
inline const QColor backgroundBottom{150, 160, 178};
inline const QColor windowGrey{192, 192, 192};

// The emblem shared by the window icon, the caption bar and the About logo.
inline const QColor emblemFace{80, 106, 146};
inline const QColor emblemRim{193, 208, 242};
inline const QColor emblemDark{34, 46, 72};
inline const QColor recordRed{214, 36, 36};
inline const QColor recordRedDark{120, 10, 10};
inline const QColor recordGlint{255, 210, 210};
inline const QColor spectrumBar{152, 214, 255};

// Button icons. The transparency colours are the buttons' own (white for RECORD, pure red for
// the rest), so no glyph may use them.
inline const QColor iconTransparentWhite{255, 255, 255};
inline const QColor iconTransparentRed{255, 0, 0};
inline const QColor stopFace{128, 128, 128};
inline const QColor stopEdge{64, 64, 64};
inline const QColor stopLight{192, 192, 192};
inline const QColor playFace{32, 176, 64};
inline const QColor playEdge{0, 96, 24};
inline const QColor playLight{144, 232, 152};
inline const QColor folderBack{200, 150, 40};
inline const QColor folderFront{250, 210, 90};
inline const QColor folderEdge{120, 76, 0};
inline const QColor folderPaper{248, 248, 240};
inline const QColor arrowFace{250, 220, 40};
inline const QColor arrowEdge{150, 104, 0};

// The frame skin: active look in steel blue, inactive look in grey.
inline const QColor captionActiveTop{150, 170, 205};
inline const QColor captionActiveBottom{70, 92, 134};
inline const QColor captionInactiveTop{184, 188, 194};
inline const QColor captionInactiveBottom{136, 140, 148};
// The frame's profile from the outside in: outer line, light edge, two body tones, inner line.
inline const QColor frameActive[5] = {
    {36, 48, 76}, {170, 188, 220}, {112, 132, 170}, {96, 116, 154}, {58, 72, 104}};
inline const QColor frameActiveShade{80, 98, 134};
inline const QColor frameInactive[5] = {
    {92, 96, 102}, {212, 214, 218}, {168, 172, 178}, {156, 160, 166}, {118, 122, 128}};
inline const QColor frameInactiveShade{138, 142, 148};
inline const QColor skinFiller{171, 171, 171};
inline const QColor captionButtonFace{214, 220, 230};
inline const QColor captionButtonPressed{176, 186, 202};
inline const QColor captionButtonLight{255, 255, 255};
inline const QColor captionButtonShade{96, 106, 126};
inline const QColor captionButtonEdge{36, 48, 76};
inline const QColor captionButtonGlyph{28, 38, 60};

// The About logo.
inline const QColor logoTop{112, 136, 176};
inline const QColor logoBottom{52, 70, 104};
inline const QColor logoEdge{24, 32, 52};
inline const QColor logoLight{200, 214, 240};
inline const QColor logoWord{255, 255, 255};
inline const QColor logoWordShadow{20, 28, 46};
inline const QColor logoVersion{255, 192, 128};

// The hand cursor.
inline const QColor cursorOutline{0, 0, 0};
inline const QColor cursorFill{255, 255, 255};

} // namespace palette
