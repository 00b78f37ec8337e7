#pragma once

#include <QImage>
#include <QString>

#include <vector>

// Every picture the program uses is drawn here; the `artwork` target writes them under
// resources/, where they are committed.

// One picture, with its path under resources/.
struct ArtworkPicture {
    QString path;
    QImage image;
};

enum class ButtonIcon { Record, Stop, Play, Pause, Open, Arrow };

inline constexpr int kWindowIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage drawBackground();                // 392 × 414, 24-bit
QImage drawWindowIcon(int size);        // size × size, with transparency
QImage drawButtonIcon(ButtonIcon icon); // 16 × 16 on the button's transparency colour
QImage drawSkinCaption();               // 640 × 48, 24-bit: caption bars and caption buttons
QImage drawSkinFrame();                 // 70 × 10, 24-bit: frame pieces, active then inactive
QImage drawAboutLogo();                 // 202 × 80, 24-bit
QImage drawHandCursor();                // 32 × 32 with transparency; hot spot in text "HotSpot"

std::vector<ArtworkPicture> drawAllArtwork();
