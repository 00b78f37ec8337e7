#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

// One piece of a skinned window's frame (the caption bar, a side or the bottom): a child of the
// window, lying in its contents margins, that shows the frame's picture for the rectangle it
// covers. The picture is drawn when the piece is first painted and again only after the frame
// changed or the piece was resized; moving the window draws nothing anew. On a high-density
// screen the picture is pixel-doubled, never smoothed.
class SkinPart : public QWidget {
public:
    // The frame's picture for a rectangle of the window, in window co-ordinates.
    using Draw = std::function<QImage(const QRect& area)>;

    SkinPart(QWidget& window, Draw draw);

    // The frame changed: draw the picture anew before the next paint.
    void redraw();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Draw m_draw;
    QImage m_picture;
    QRect m_drawnFor;
    bool m_stale = true;
};
