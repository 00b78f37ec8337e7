#include "tools/artwork/artwork.h"

#include "tools/artwork/artwork_common.h"
#include "tools/artwork/palette.h"

// A pointing hand in pixel art, its index finger up; the hot spot is the fingertip.
QImage drawHandCursor() {
    QImage image = artwork::canvas(32, 32);
    constexpr int left = 4;
    constexpr int top = 1;
    artwork::paintRows(image, left, top,
                       {
                           "......##..........", ".....#oo#.........", ".....#oo#.........",
                           ".....#oo#.........", ".....#oo#.........", ".....#oo###.......",
                           ".....#oo#oo###....", ".....#oo#oo#oo##..", ".....#oo#oo#oo#o#.",
                           ".##..#oo#oo#oo#oo#", "#oo#.#oooooooooo#",  "#ooo##oooooooooo#",
                           ".#ooo#ooooooooooo#", "..#ooooooooooooo#",  "...#ooooooooooooo#",
                           "...#oooooooooooo#",  "....#ooooooooooo#",  ".....#ooooooooo#",
                           ".....#ooooooooo#",   "......#ooooooo#",    "......#########",
                       },
                       {{'#', palette::cursorOutline}, {'o', palette::cursorFill}});
    image.setText(QStringLiteral("HotSpot"), QStringLiteral("%1,%2").arg(left + 6).arg(top));
    return image;
}
