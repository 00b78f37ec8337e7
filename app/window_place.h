#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of `size` opens on a screen's free `area`: centred, but a window larger than
// the area keeps its top-left corner on it, so that its caption and menus stay reachable
// (a window twice the size on a small screen, for one).
QPoint centredTopLeft(QSize size, const QRect& area);
