#include "platform/drawing/draw_surface.h"
#include "platform/ui/surface_view.h"

#include <gtest/gtest.h>

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
