#include "platform/ui/surface_view.h"

#include "platform/drawing/draw_surface.h"

#include <QPainter>
#include <QWindow>

#include <algorithm>
#include <cstring>

namespace {

// The smallest rectangle that holds every pixel in which the two pictures differ: empty when
// they are alike, both pictures' area when they cannot be compared pixel by pixel.
QRect changedRect(const QImage& before, const QImage& after) {
    if (before.isNull() || before.size() != after.size() || before.format() != after.format() ||
        before.depth() != 32)
        return before.rect().united(after.rect());
    int left = after.width(), right = -1, top = -1, bottom = -1;
    const std::size_t rowBytes = static_cast<std::size_t>(after.width()) * 4;
    for (int y = 0; y < after.height(); ++y) {
        const auto* was = reinterpret_cast<const quint32*>(before.constScanLine(y));
        const auto* now = reinterpret_cast<const quint32*>(after.constScanLine(y));
        if (std::memcmp(was, now, rowBytes) == 0)
            continue;
        int first = 0;
        while (was[first] == now[first])
            ++first;
        int last = after.width() - 1;
        while (was[last] == now[last])
            --last;
        left = std::min(left, first);
        right = std::max(right, last);
        if (top < 0)
            top = y;
        bottom = y;
    }
    if (top < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

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
    // Only the pixels that changed since the last frame are painted, so a frame like the last
    // one (a quiet input, a steady tone) costs the display nothing.
    const QRect changed = changedRect(m_picture, picture).translated(contentsRect().topLeft());
    m_picture = picture;
    // A finished frame is painted now: through a posted update it would cost the window one
    // more trip through its event loop for every frame of the live spectrum.
    if (!changed.isEmpty())
        repaint(changed);
}

bool SurfaceView::exposed() const {
    const QWindow* handle = window()->windowHandle();
    return isVisible() && handle && handle->isExposed();
}

void SurfaceView::takeSurface(const DrawSurface& surface) {
    m_picture = surface.image();
}

void SurfaceView::paintEvent(QPaintEvent*) {
    if (m_beforePaint)
        m_beforePaint();
    QPainter painter(this);
    const QRect pictureRect(contentsRect().topLeft(), m_picture.size());
    // The background shows only where the picture does not cover the panel.
    if (m_picture.isNull() || !pictureRect.contains(rect()))
        painter.fillRect(rect(), QColor(toQRgb(m_back)));
    if (!m_picture.isNull())
        painter.drawImage(pictureRect.topLeft(), m_picture);
}
