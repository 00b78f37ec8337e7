#include "platform/drawing/draw_surface.h"
#include "platform/ui/surface_view.h"

#include "support/high_density.h"

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
