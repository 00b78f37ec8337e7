#include "platform/skin/skin_caption_bar.h"

#include "platform/drawing/draw_surface.h"
#include "platform/skin/skin_caption_accessible.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

SkinCaptionBar::SkinCaptionBar(QWidget& window, Draw draw, const SkinStyle& style,
                               const SkinLayout& layout,
                               std::function<void(CaptionButton)> showPressed)
    : SkinPart(window, std::move(draw)), m_activeFont(style.activeCaptionFont),
      m_inactiveFont(style.inactiveCaptionFont), m_activeText(style.activeCaptionText),
      m_inactiveText(style.inactiveCaptionText), m_textShadow(style.captionTextShadow),
      m_layout(layout), m_showPressed(std::move(showPressed)) {
    installSkinCaptionAccessibility();
}

void SkinCaptionBar::paintEvent(QPaintEvent* event) {
    SkinPart::paintEvent(event);
    const QString caption = window()->windowTitle();
    if (caption.isEmpty())
        return;
    const bool active = window()->isActiveWindow();
    QPainter painter(this);
    painter.setFont(active ? m_activeFont : m_inactiveFont);
    const int left = m_layout.captionTextLeft();
    const int right = m_layout.minimiseButton(width()).left() - 4;
    const QRect box(left, 0, std::max(0, right - left), m_layout.captionHeight());
    const QString shown = painter.fontMetrics().elidedText(caption, Qt::ElideRight, box.width());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter.setPen(QColor(toQRgb(m_textShadow)));
    painter.drawText(box.translated(1, 1), flags, shown);
    painter.setPen(QColor(toQRgb(active ? m_activeText : m_inactiveText)));
    painter.drawText(box, flags, shown);
}

QRect SkinCaptionBar::buttonRect(CaptionButton button) const {
    return button == CaptionButton::Close ? m_layout.closeButton(width())
                                          : m_layout.minimiseButton(width());
}

CaptionButton SkinCaptionBar::buttonAt(QPoint pos) const {
    return m_layout.buttonAt(pos, width());
}

void SkinCaptionBar::setShownPressed(CaptionButton button) {
    if (button == m_shownPressed)
        return;
    m_shownPressed = button;
    m_showPressed(button);
}

void SkinCaptionBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_held = buttonAt(event->position().toPoint());
    if (m_held != CaptionButton::None) {
        setShownPressed(m_held);
        return;
    }
    // The window system moves the window where it offers to (it then also snaps and tiles as
    // the desktop does); a bare X server offers nothing, so the window follows the mouse here.
    QWindow* handle = window()->windowHandle();
    m_movesByHand = !(handle && handle->startSystemMove());
    m_dragging = m_movesByHand;
    m_grabOffset = event->globalPosition().toPoint() - window()->pos();
}

void SkinCaptionBar::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    if (m_held != CaptionButton::None) {
        // A held button shows pressed only while the mouse is over it.
        setShownPressed(buttonAt(event->position().toPoint()) == m_held ? m_held
                                                                        : CaptionButton::None);
        return;
    }
    if (m_dragging)
        window()->move(event->globalPosition().toPoint() - m_grabOffset);
}

void SkinCaptionBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    const CaptionButton held = m_held;
    m_held = CaptionButton::None;
    setShownPressed(CaptionButton::None);
    if (held == CaptionButton::None || buttonAt(event->position().toPoint()) != held)
        return;
    if (held == CaptionButton::Close)
        window()->close(); // the window's own close request, which it may refuse
    else
        window()->showMinimized();
}
