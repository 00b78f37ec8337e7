#include "tools/artwork/artwork.h"

#include "tools/artwork/artwork_common.h"

#include <QPainter>

// The emblem alone; from 32 pixels up it carries three spectrum bars beside the dot.
QImage drawWindowIcon(int size) {
    QImage image = artwork::canvas(size, size);
    QPainter painter(&image);
    const double margin = size >= 32 ? size / 32.0 : 0;
    artwork::drawEmblem(
        painter, QRectF(0, 0, size, size).adjusted(margin, margin, -margin, -margin), size >= 32);
    return image;
}
