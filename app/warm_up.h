#pragma once

// Work the window's first frame waits for, done beforehand on threads of main.cpp's, so that
// the window's thread finds it done (or waits only for the rest).

// Reads the font configuration and its caches; any time, best before the application object.
void readFontConfiguration();
// Fills Qt's font database; once the application object exists.
void fillFontDatabase();
// Loads Qt's image format plug-ins, which its image reader loads all of before it reads its
// first picture (the menu bar's has one); once the application object exists.
void loadImageFormats();
