#include "app/window_place.h"

#include <gtest/gtest.h>

// The main window at twice the density (1234 x 636) on a 1024 x 768 screen would be centred at
// x = -105: its caption and menus must stay on the screen instead.
TEST(WindowPlace, CentredButNeverAboveOrLeftOfTheScreen) {
    const struct {
        QSize size;
        QRect area;
        QPoint topLeft;
    } cases[] = {
        {{617, 310}, {0, 0, 1024, 768}, {203, 229}},
        {{617, 310}, {100, 30, 1024, 738}, {303, 244}},
        {{1234, 636}, {0, 0, 1024, 768}, {0, 66}},
        {{1234, 636}, {0, 24, 1024, 576}, {0, 24}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(centredTopLeft(c.size, c.area), c.topLeft)
            << c.size.width() << "x" << c.size.height();
}
