#pragma once

class QWidget;
struct SkinStyle;

// A frame skin: draws a top-level window's caption bar and frame in a look of its own.
class SkinFrame {
public:
    virtual ~SkinFrame() = default;

    // From now on the skin draws `window`'s caption bar and frame in `style`'s look: the window
    // loses the desktop's frame, and the skin's frame is added around its contents through the
    // window's contents margins, so a window that sizes itself from its contents keeps its
    // client area. Dragging the caption bar moves the window; its close button is the window's
    // close request and its minimise button minimises it. When the look cannot be drawn (a
    // picture missing or of the wrong size) the window is left as it was, with the desktop's
    // frame, and the result is false.
    virtual bool attach(QWidget& window, const SkinStyle& style) = 0;
};
