#pragma once

class QWidget;

// True when the window directly under the mouse cursor is `window` itself: a child of it, or
// another window covering it, makes the answer false, and so does a point outside its outline.
bool IsCursorOver(const QWidget* window);
