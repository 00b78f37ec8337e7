#pragma once

#include "platform/skin/skin_layout.h"
#include "platform/skin/skin_part.h"
#include "platform/skin/skin_style.h"

#include <functional>

// The skinned window's caption bar: its part of the frame picture, the window's caption in the
// style's font and colours, the close and minimise buttons, and dragging to move the window.
class SkinCaptionBar : public SkinPart {
public:
    SkinCaptionBar(QWidget& window, Draw draw, const SkinStyle& style, const SkinLayout& layout,
                   std::function<void(CaptionButton)> showPressed);

    // Whether the last drag moved the window itself, for want of a window system's move.
    bool movesByHand() const { return m_movesByHand; }
    // Where a caption button lies on the bar.
    QRect buttonRect(CaptionButton button) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CaptionButton buttonAt(QPoint pos) const;
    void setShownPressed(CaptionButton button);

    QFont m_activeFont;
    QFont m_inactiveFont;
    ColourRef m_activeText;
    ColourRef m_inactiveText;
    ColourRef m_textShadow;
    SkinLayout m_layout;
    std::function<void(CaptionButton)> m_showPressed;

    CaptionButton m_held = CaptionButton::None; // the button the mouse went down on
    CaptionButton m_shownPressed = CaptionButton::None;
    bool m_dragging = false;
    bool m_movesByHand = false;
    QPoint m_grabOffset; // from the window's top left to the mouse, in screen co-ordinates
};
