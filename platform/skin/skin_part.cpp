#include "platform/skin/skin_part.h"

#include <QPainter>

SkinPart::SkinPart(QWidget& window, const QImage& frame) : QWidget(&window), m_frame(frame) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinPart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // No smooth scaling: a frame pixel becomes a block of whole screen pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), m_frame, geometry());
}
