#pragma once

#include <QImage>
#include <QList>

// The main window's pictures: its background, the two of its frame skin and its icon.
struct FormPictures {
    QImage background;
    QImage caption;
    QImage frame;
    QList<QImage> icon; // one picture a size, smallest first
};

// Decodes them from the program's resources. It uses libpng, not Qt's image readers, which may
// only run once the application object exists: so this works on any thread at any time, and
// main.cpp has it done while the window's thread is still making the application object.
FormPictures decodeFormPictures();

// The sizes of the icon's pictures, each ":/appicon/<size>x<size>.png".
inline constexpr int kFormIconSizes[] = {16, 22, 24, 32, 48, 64};
