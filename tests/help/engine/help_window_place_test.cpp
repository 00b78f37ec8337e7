#include "help/engine/help_window_place.h"

#include <gtest/gtest.h>

// Where a help window opens beside the program's window (607 x 310 with its frame): it keeps
// the place its help file asks for when that covers nothing, else goes beside that window, and
// on a screen with no room beside it covers as little of it as a readable window can.
TEST(HelpWindowPlace, BesideTheProgramsWindowWhereTheScreenAllows) {
    const QRect asked(80, 60, 900, 660);
    const struct {
        const char* name;
        QRect wanted;
        QRect screen;
        QRect beside;
        QRect placed;
    } cases[] = {
        {"no other window", asked, QRect(0, 0, 1024, 768), QRect(), asked},
        {"larger than the screen", asked, QRect(0, 0, 800, 600), QRect(), QRect(0, 0, 800, 600)},
        {"nothing covered", asked, QRect(0, 0, 1920, 1080), QRect(1000, 740, 607, 310), asked},
        // 657 pixels free to the right, 656 to the left, 385 below.
        {"wide screen", asked, QRect(0, 0, 1920, 1080), QRect(656, 385, 607, 310),
         QRect(1263, 60, 657, 660)},
        {"room below", asked, QRect(0, 0, 1280, 1024), QRect(336, 40, 607, 310),
         QRect(80, 350, 900, 660)},
        // 208 pixels free at either side, 229 above and below: the smallest window at the
        // bottom, over 11 pixels of the other one's lower edge.
        {"1024 x 768", asked, QRect(0, 0, 1024, 768), QRect(208, 229, 607, 310),
         QRect(80, 528, 900, 240)},
    };
    for (const auto& c : cases) {
        const QRect placed = placeHelpWindow(c.wanted, c.screen, c.beside);
        EXPECT_EQ(placed, c.placed) << c.name;
        EXPECT_TRUE(c.screen.contains(placed)) << c.name;
    }
}

// A window that cannot be smaller than 320 x 257 (its frame included) never gets less, so it
// never reaches past the screen's edge; a screen smaller still gets a window of its own size.
TEST(HelpWindowPlace, NeverBelowTheWindowsLeastSize) {
    const QRect asked(80, 60, 900, 660);
    const QSize least(320, 257);
    const struct {
        const char* name;
        QRect screen;
        QRect beside;
        QRect placed;
    } cases[] = {
        {"1024 x 768", QRect(0, 0, 1024, 768), QRect(208, 229, 607, 310), QRect(80, 511, 900, 257)},
        {"800 x 600", QRect(0, 0, 800, 600), QRect(96, 145, 607, 310), QRect(0, 343, 800, 257)},
        {"smaller than the window can be", QRect(0, 0, 300, 200), QRect(), QRect(0, 0, 300, 200)},
    };
    for (const auto& c : cases) {
        const QRect placed = placeHelpWindow(asked, c.screen, c.beside, least);
        EXPECT_EQ(placed, c.placed) << c.name;
        EXPECT_TRUE(c.screen.contains(placed)) << c.name;
    }
}
