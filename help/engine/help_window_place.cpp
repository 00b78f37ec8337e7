#include "help/engine/help_window_place.h"

#include <algorithm>
#include <array>

namespace {

// `box` moved (never resized) as little as possible to lie inside `area`; `box` must fit.
QRect moveInside(QRect box, const QRect& area) {
    box.moveLeft(std::clamp(box.left(), area.left(), area.right() - box.width() + 1));
    box.moveTop(std::clamp(box.top(), area.top(), area.bottom() - box.height() + 1));
    return box;
}

qint64 areaOf(const QRect& r) {
    return r.isEmpty() ? 0 : static_cast<qint64>(r.width()) * r.height();
}

enum class Side { Right, Left, Below, Above };

// The part of the screen on one side of the other window.
QRect freeSide(Side side, const QRect& screen, const QRect& beside) {
    QRect r = screen;
    switch (side) {
    case Side::Right:
        r.setLeft(beside.right() + 1);
        break;
    case Side::Left:
        r.setRight(beside.left() - 1);
        break;
    case Side::Below:
        r.setTop(beside.bottom() + 1);
        break;
    case Side::Above:
        r.setBottom(beside.top() - 1);
        break;
    }
    return r.intersected(screen);
}

} // namespace

QRect placeHelpWindow(const QRect& wanted, const QRect& screen, const QRect& beside,
                      QSize smallest) {
    // The window cannot be smaller than its least size, nor larger than the screen.
    smallest = smallest.expandedTo(smallest).boundedTo(screen.size());
    const QSize size = wanted.size().expandedTo(smallest).boundedTo(screen.size());
    const QRect onScreen = moveInside(QRect(wanted.topLeft(), size), screen);
    if (beside.isEmpty() || !onScreen.intersects(beside))
        return onScreen;

    constexpr std::array<Side, 4> kSides = {Side::Right, Side::Left, Side::Below, Side::Above};
    // Beside the other window: the side that gives the largest window, at most the wanted size
    // and not below the smallest readable one, as near the wanted place as that side allows.
    QRect best;
    for (const Side side : kSides) {
        const QRect area = freeSide(side, screen, beside);
        const QSize fits = size.boundedTo(area.size());
        if (area.isEmpty() || fits.width() < smallest.width() || fits.height() < smallest.height())
            continue;
        const QRect box = moveInside(QRect(wanted.topLeft(), fits), area);
        if (areaOf(box) > areaOf(best))
            best = box;
    }
    if (!best.isNull())
        return best;

    // No side has room: the smallest readable window against the screen's edge on the side
    // with the most room, reaching over the other window as little as it can.
    qint64 leastCovered = -1;
    for (const Side side : kSides) {
        const QRect area = freeSide(side, screen, beside);
        const QSize fits = size.boundedTo(area.isEmpty() ? QSize(0, 0) : area.size())
                               .expandedTo(smallest)
                               .boundedTo(size);
        QRect box(wanted.topLeft(), fits);
        switch (side) {
        case Side::Right:
            box.moveRight(screen.right());
            break;
        case Side::Left:
            box.moveLeft(screen.left());
            break;
        case Side::Below:
            box.moveBottom(screen.bottom());
            break;
        case Side::Above:
            box.moveTop(screen.top());
            break;
        }
        box = moveInside(box, screen);
        const qint64 covered = areaOf(box.intersected(beside));
        if (leastCovered < 0 || covered < leastCovered) {
            leastCovered = covered;
            best = box;
        }
    }
    return best;
}
