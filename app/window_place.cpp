#include "app/window_place.h"

#include <algorithm>

QPoint centredTopLeft(QSize size, const QRect& area) {
    const auto place = [](int start, int length, int room) {
        const int centred = start + (room - length) / 2;
        return std::max(start, centred);
    };
    return {place(area.left(), size.width(), area.width()),
            place(area.top(), size.height(), area.height())};
}
