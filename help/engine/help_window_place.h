#pragma once

#include <QRect>

// Where a help window goes. `wanted` is the rectangle the help file asks for (or the viewer's
// own); `screen` the screen's free area; `beside` the window the help is for, or an empty
// rectangle for none. The help window keeps its wanted place when that leaves the other window
// uncovered. Otherwise it goes beside that window, in the largest free part of the screen,
// smaller if it must but not below a readable size; where even that does not fit, it stays on
// the screen and covers as little of the other window as it can.
QRect placeHelpWindow(const QRect& wanted, const QRect& screen, const QRect& beside);

// The smallest help window still worth reading in: a topic beside a narrow navigation pane.
inline constexpr QSize kSmallestHelpWindow{320, 240};
