#include "platform/ui/surface_view.h"

#include "platform/drawing/draw_surface.h"

#include <QPainter>

SurfaceView::SurfaceView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceView::setBackColour(ColourRef colour) {
    m_back = Colour::translate(colour);
    update();
}

void SurfaceView::showSurface(const DrawSurface& surface) {
    showImage(surface.image());
}

void SurfaceView::showImage(const QImage& picture) {
    m_picture = picture;
    update();
}

void SurfaceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(toQRgb(m_back)));
    if (!m_picture.isNull())
        painter.drawImage(contentsRect().topLeft(), m_picture);
}
