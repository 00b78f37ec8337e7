#pragma once

#include "platform/drawing/colour.h"

#include <QImage>
#include <QWidget>

#include <functional>

class DrawSurface;

// A panel that shows a finished surface as its picture, in one step, over its background
// colour. It keeps its own copy (shared until the surface is drawn on again), so the surface
// can go on drawing the next frame while the panel shows the last one.
class SurfaceView : public QWidget {
    Q_OBJECT
public:
    explicit SurfaceView(QWidget* parent = nullptr);

    void setBackColour(ColourRef colour); // stored translated
    ColourRef backColour() const { return m_back; }

    void showSurface(const DrawSurface& surface);
    void showImage(const QImage& picture);
    const QImage& picture() const { return m_picture; }

    // Whether anybody can see the panel: it is shown and its window is exposed on the screen
    // (not minimised, unmapped or hidden).
    bool exposed() const;
    // Called before each paint, so that a frame the panel skipped while nobody saw it can be
    // taken with takeSurface() just before it is painted.
    void setBeforePaint(std::function<void()> beforePaint) {
        m_beforePaint = std::move(beforePaint);
    }
    // The picture, without painting it: for use inside the before-paint call.
    void takeSurface(const DrawSurface& surface);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColourRef m_back = 0;
    QImage m_picture;
    std::function<void()> m_beforePaint;
};
