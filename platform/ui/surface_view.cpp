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
    // A finished frame is painted now: through a posted update it would cost the window one
    // more trip through its event loop for every frame of the live spectrum.
    repaint();
}

void SurfaceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect pictureRect(contentsRect().topLeft(), m_picture.size());
    // The background shows only where the picture does not cover the panel.
    if (m_picture.isNull() || !pictureRect.contains(rect()))
        painter.fillRect(rect(), QColor(toQRgb(m_back)));
    if (!m_picture.isNull())
        painter.drawImage(pictureRect.topLeft(), m_picture);
}
