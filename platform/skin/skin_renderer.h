#pragma once

#include "platform/skin/skin_layout.h"
#include "platform/skin/skin_style.h"

#include <QImage>

// Draws a skin's frame for a window, one pixel per unit, from the style's pictures: the caption
// bar with its close and minimise buttons, the sides, the bottom and the outline. The window's
// contents area is left black; the caption text is not part of it, so that text can be drawn at
// the screen's full resolution.
class SkinRenderer {
public:
    SkinRenderer(const SkinStyle& style, const SkinLayout& layout);

    const SkinLayout& layout() const { return m_layout; }
    // The part of the frame of a `window`-sized window that lies in `area` (window co-ordinates),
    // or all of it.
    QImage render(const QRect& area, QSize window, bool active, CaptionButton pressed) const;
    QImage render(QSize window, bool active, CaptionButton pressed) const {
        return render(QRect(QPoint(0, 0), window), window, active, pressed);
    }

private:
    SkinLayout m_layout;
    QImage m_caption;
    QImage m_frame;
    ColourRef m_activeOutline;
    ColourRef m_inactiveOutline;
    ColourRef m_captionRule;
};
