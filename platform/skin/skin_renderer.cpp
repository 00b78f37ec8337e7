#include "platform/skin/skin_renderer.h"

#include "platform/drawing/draw_surface.h"

#include <QPainter>

namespace {

// Repeats `source`'s piece over `target`, cutting the last copies at its edges; only the copies
// that reach into `area` are drawn.
void tile(QPainter& painter, const QRect& area, const QRect& target, const QImage& source,
          const QRect& piece) {
    const QRect visible = target & area;
    if (visible.isEmpty() || piece.isEmpty())
        return;
    painter.save();
    painter.setClipRect(visible);
    const int firstX =
        target.left() + (visible.left() - target.left()) / piece.width() * piece.width();
    const int firstY =
        target.top() + (visible.top() - target.top()) / piece.height() * piece.height();
    for (int y = firstY; y <= visible.bottom(); y += piece.height()) {
        for (int x = firstX; x <= visible.right(); x += piece.width())
            painter.drawImage(QPoint(x, y), source, piece);
    }
    painter.restore();
}

} // namespace

SkinRenderer::SkinRenderer(const SkinStyle& style, const SkinLayout& layout)
    : m_layout(layout), m_caption(style.captionPicture.convertToFormat(QImage::Format_RGB32)),
      m_frame(style.framePicture.convertToFormat(QImage::Format_RGB32)),
      m_activeOutline(style.activeOutline), m_inactiveOutline(style.inactiveOutline),
      m_captionRule(style.captionRule) {}

QImage SkinRenderer::render(const QRect& area, QSize window, bool active,
                            CaptionButton pressed) const {
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    const int w = window.width();
    const int h = window.height();
    const int b = m_layout.border();
    const int ch = m_layout.captionHeight();
    QPainter p(&image);
    p.translate(-area.topLeft());

    const QRect left = m_layout.captionSource(CaptionPart::Left, active);
    const QRect middle = m_layout.captionSource(CaptionPart::Middle, active);
    const QRect right = m_layout.captionSource(CaptionPart::Right, active);
    tile(p, area, QRect(left.width(), 0, w - left.width() - right.width(), ch), m_caption, middle);
    p.drawImage(QPoint(0, 0), m_caption, left);
    p.drawImage(QPoint(w - right.width(), 0), m_caption, right);

    p.drawImage(m_layout.minimiseButton(w).topLeft(), m_caption,
                m_layout.buttonSource(CaptionButton::Minimise, pressed == CaptionButton::Minimise));
    p.drawImage(m_layout.closeButton(w).topLeft(), m_caption,
                m_layout.buttonSource(CaptionButton::Close, pressed == CaptionButton::Close));

    const int sideHeight = h - ch - b;
    tile(p, area, QRect(0, ch, b, sideHeight), m_frame,
         m_layout.frameSource(FramePiece::LeftSide, active));
    tile(p, area, QRect(w - b, ch, b, sideHeight), m_frame,
         m_layout.frameSource(FramePiece::RightSide, active));
    tile(p, area, QRect(b, h - b, w - 2 * b, b), m_frame,
         m_layout.frameSource(FramePiece::Bottom, active));
    p.drawImage(QPoint(0, h - b), m_frame, m_layout.frameSource(FramePiece::BottomLeft, active));
    p.drawImage(QPoint(w - b, h - b), m_frame,
                m_layout.frameSource(FramePiece::BottomRight, active));

    p.setPen(QColor(toQRgb(m_captionRule)));
    p.drawLine(b, ch - 1, w - b - 1, ch - 1);
    p.setPen(QColor(toQRgb(active ? m_activeOutline : m_inactiveOutline)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, w - 1, h - 1);
    return image;
}
