#pragma once

class QPoint;
class QWidget;

// True when the window directly under the mouse cursor is `window` itself: a child of it, or
// another window covering it, makes the answer false, and so does a point outside its outline.
bool IsCursorOver(const QWidget* window);

// The same test at a point of `window` (its own co-ordinates) where a mouse event happened,
// made within the top-level window that received the event: a child, a sibling in front or a
// point outside the outline makes it false. Other top-level windows are not consulted, since
// not every window system tells a program where they are (Wayland does not).
bool IsPointOver(const QWidget* window, const QPoint& local);
