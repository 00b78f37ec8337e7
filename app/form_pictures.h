#pragma once

#include <QImage>

// The main window's three pictures: its background and the two of its frame skin.
struct FormPictures {
    QImage background;
    QImage caption;
    QImage frame;
};

// Decodes them from the program's resources. It uses libpng, not Qt's image readers, which may
// only run once the application object exists: so this works on any thread at any time, and
// main.cpp has it done while the window's thread is still making the application object.
FormPictures decodeFormPictures();
