#pragma once

#include <QImage>

#include <future>

// The main window's three pictures: its background and the two of its frame skin.
struct FormPictures {
    QImage background;
    QImage caption;
    QImage frame;
};

// Decodes them from the program's resources. It uses libpng, not Qt's image readers, which may
// only run once the application object exists: so this works on any thread at any time.
FormPictures decodeFormPictures();

// The same on a thread of its own, started at once: the program's first thing, so that the
// pictures are ready while the window's thread is still making the application object.
std::future<FormPictures> decodeFormPicturesAhead();
