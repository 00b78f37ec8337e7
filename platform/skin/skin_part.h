#pragma once

#include <QWidget>

class QImage;

// One piece of a skinned window's frame (a side or the bottom): a child of the window, lying in
// its contents margins, that shows its part of the frame picture the skin drew for the whole
// window. On a high-density screen the picture is pixel-doubled, never smoothed.
class SkinPart : public QWidget {
public:
    SkinPart(QWidget& window, const QImage& frame);

protected:
    void paintEvent(QPaintEvent* event) override;
    const QImage& frame() const { return m_frame; }

private:
    const QImage& m_frame;
};
