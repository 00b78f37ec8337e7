#pragma once

#include <QRect>

// Where a help window goes, its frame included. `wanted` is the rectangle the help file asks for
// (or the viewer's own); `screen` the screen's free area; `beside` the window the help is for,
// or an empty rectangle for none; `smallest` the least size the window can take (never less
// than kSmallestHelpWindow). The help window keeps its wanted place when that leaves the other
// window uncovered. Otherwise it goes beside that window, in the largest free part of the screen,
// smaller if it must but not below a readable size; where even that does not fit, it stays on
// the screen and covers as little of the other window as it can. A screen smaller than
// `smallest` gets a window of the screen's size.

// The smallest help window still worth reading in: a topic beside a narrow navigation pane.
inline constexpr QSize kSmallestHelpWindow{320, 240};

QRect placeHelpWindow(const QRect& wanted, const QRect& screen, const QRect& beside,
                      QSize smallest = kSmallestHelpWindow);
