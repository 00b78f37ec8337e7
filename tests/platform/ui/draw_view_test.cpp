#include "platform/drawing/draw_surface.h"
#include "platform/ui/surface_view.h"

#include "support/high_density.h"

#include <QPaintEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The regions that a widget is asked to paint, in order.
class PaintLog : public QObject {
public:
    explicit PaintLog(QWidget& widget) { widget.installEventFilter(this); }
    std::vector<QRegion> regions;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            regions.push_back(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
};

} // namespace

TEST(SurfaceView, ShowsTheSurfaceAsItWasWhenHandedOver) {
    SurfaceView view;
    view.setBackColour(Colour::RGB(0, 0, 255));
    view.resize(6, 4);

    DrawSurface surface(4, 3, Colour::RGB(255, 0, 0));
    view.showSurface(surface);
    surface.clear();
    surface.setPixel(0, 0, Colour::RGB(0, 255, 0)); // the next frame, not yet shown

    const QImage shot = view.grab().toImage();
    EXPECT_EQ(shot.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(4, 0), qRgb(0, 0, 255)); // beyond the picture: the background
    EXPECT_EQ(shot.pixel(0, 3), qRgb(0, 0, 255));
}

// On a screen of twice the density the surface is pixel-doubled, never smoothed.
TEST(SurfaceView, DoublesTheSurfacesPixelsOnAHighDensityScreen) {
    SurfaceView view;
    view.resize(8, 6);
    DrawSurface surface(8, 6, Colour::RGB(0, 0, 0));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            surface.setPixel(x, y, (x + y) % 2 ? Colour::RGB(255, 255, 255) : Colour::RGB(0, 0, 0));
    view.showSurface(surface);
    EXPECT_EQ(undoubledPixels(renderDoubled(view), surface.image()), 0);
}

// A live frame repaints only the pixels that differ from the frame before; one like the last
// (a quiet input) paints nothing, and the panel still shows every frame as it was handed over.
TEST(SurfaceView, RepaintsOnlyWhatChangedSinceTheLastFrame) {
    SurfaceView view;
    view.setBackColour(Colour::RGB(0, 0, 255));
    view.resize(12, 8);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    DrawSurface surface(10, 8, Colour::RGB(0, 0, 0));
    view.showSurface(surface);

    PaintLog log(view);
    view.showSurface(surface);
    EXPECT_TRUE(log.regions.empty());

    surface.setPixel(3, 5, Colour::RGB(255, 255, 255));
    surface.setPixel(6, 2, Colour::RGB(255, 255, 255));
    view.showSurface(surface);
    ASSERT_EQ(log.regions.size(), 1u);
    EXPECT_EQ(log.regions[0].boundingRect(), QRect(3, 2, 4, 4));

    surface.clear();
    view.showSurface(surface);
    ASSERT_EQ(log.regions.size(), 2u);
    EXPECT_EQ(log.regions[1].boundingRect(), QRect(3, 2, 4, 4));

    // A picture of another size is painted whole, and the panel shows its background again
    // where the old one stood.
    view.showSurface(DrawSurface(4, 4, Colour::RGB(255, 0, 0)));
    ASSERT_EQ(log.regions.size(), 3u);
    EXPECT_EQ(log.regions[2].boundingRect(), QRect(0, 0, 10, 8));
    const QImage shot = view.grab().toImage();
    EXPECT_EQ(shot.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(6, 2), qRgb(0, 0, 255));
}
