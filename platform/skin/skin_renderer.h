#pragma once

#include "platform/skin/skin_layout.h"
#include "platform/skin/skin_style.h"

#include <QImage>

// Draws a skin's frame for a whole window, one pixel per unit, from the style's pictures: the
// caption bar with its close and minimise buttons, the sides, the bottom and the outline. The
// window's contents area is left black; the caption text is not part of it, so that text can be
// drawn at the screen's full resolution.
class SkinRenderer {
public:
    SkinRenderer(const SkinStyle& style, const SkinLayout& layout);

    const SkinLayout& layout() const { return m_layout; }
    QImage render(QSize window, bool active, CaptionButton pressed) const;

private:
    SkinLayout m_layout;
    QImage m_caption;
    QImage m_frame;
    ColourRef m_activeOutline;
    ColourRef m_inactiveOutline;
    ColourRef m_captionRule;
};
