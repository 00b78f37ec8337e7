#pragma once

#include "platform/drawing/colour.h"
#include "platform/drawing/draw_surface.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QRect>

class QLabel;

// Layout is given in twips, 15 to a pixel.
constexpr int twips(int t) {
    return t / 15;
}
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

inline QColor qColour(ColourRef value) {
    return QColor(toQRgb(value));
}

// The window's display fonts may be missing; each falls back to a family every Debian desktop has.
QFont formFont(const QString& family, double pointSize, bool bold);

// Labels sized to their text keep one edge or their centre where the layout put them.
enum class Anchor { Left, Right, Centre };
void fitToText(QLabel* label, Anchor anchor);

// Style sheets of the windows' transparent labels and of their frames (a titled group box).
QString labelStyleSheet(ColourRef text);
QString frameStyleSheet(ColourRef text, ColourRef back);

// The program's icon from its pictures in the sizes a window shows (FormPictures::icon); the
// desktop's launchers take the larger ones from the installed icon theme.
QIcon formIcon(const QList<QImage>& sizes);

// The pictures and stored forms compiled into the program; call before the first is read.
void loadFormResources();
