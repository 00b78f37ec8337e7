#include "platform/skin/skin_part.h"

#include <QPainter>

SkinPart::SkinPart(QWidget& window, Draw draw) : QWidget(&window), m_draw(std::move(draw)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinPart::redraw() {
    m_stale = true;
    update();
}

void SkinPart::paintEvent(QPaintEvent*) {
    if (m_stale || m_drawnFor != geometry()) {
        m_picture = m_draw(geometry());
        m_drawnFor = geometry();
        m_stale = false;
    }
    QPainter painter(this);
    // No smooth scaling: a frame pixel becomes a block of whole screen pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), m_picture);
}
