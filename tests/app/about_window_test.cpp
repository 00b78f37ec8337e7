#include "app/about_window.h"

#include "platform/browser/desktop_browser.h"
#include "support/fake_browser.h"
#include "support/fakes.h"
#include "support/high_density.h"
#include "support/no_browser_desktop.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

namespace {

struct AboutFixture {
    FakeBrowser browser;
    FakeMessageBox boxes;
    About about{browser, boxes, QIcon()};
};

TEST(About, IsAFixedWindowOfItsOwnWithItsCaption) {
    AboutFixture f;
    EXPECT_EQ(f.about.windowTitle(), "  About Sorvinta 3.0");
    EXPECT_EQ(f.about.parentWidget(), nullptr);
    EXPECT_TRUE(f.about.isWindow());
    EXPECT_EQ(f.about.size(), QSize(318, 253));
    EXPECT_EQ(f.about.minimumSize(), f.about.maximumSize());
    EXPECT_FALSE(f.about.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(f.about.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f.about.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(About, EscapeClosesIt) {
    AboutFixture f;
    f.about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.about));
    QTest::keyClick(&f.about, Qt::Key_A);
    EXPECT_TRUE(f.about.isVisible());
    QTest::keyClick(&f.about, Qt::Key_Escape);
    EXPECT_FALSE(f.about.isVisible());
}

TEST(About, ControlsSitWhereTheLayoutPutsThem) {
    AboutFixture f;
    EXPECT_EQ(f.about.Image1->geometry(), QRect(52, 20, 202, 80));
    EXPECT_EQ(f.about.Image1->pixmap().size(), QSize(202, 80));
    EXPECT_EQ(f.about.Frame1->geometry(), QRect(12, 112, 289, 127));
    EXPECT_EQ(f.about.Frame1->title(), "  About ");
    EXPECT_EQ(f.about.Label1->geometry(), QRect(64, 16, 169, 29));
    EXPECT_TRUE(f.about.Label1->text().startsWith("Sorvinta 3.0\n"));
    EXPECT_TRUE(f.about.Label1->wordWrap());
    EXPECT_EQ(f.about.Label4->text(), "https://www.sorvinta.example/");
    EXPECT_TRUE(f.about.Label4->font().bold());
    EXPECT_EQ(f.about.Label4->alignment(), Qt::AlignCenter);
    // The address is never cut: the label keeps its centre and grows to fit when it must.
    EXPECT_GE(f.about.Label4->width(), f.about.Label4->sizeHint().width());
    EXPECT_EQ(f.about.Label4->geometry().center().x(), QRect(60, 44, 161, 17).center().x());
}

TEST(About, LinkShowsTheHandWithItsHotSpotAtTheFingertip) {
    AboutFixture f;
    const QCursor cursor = f.about.Label4->cursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(cursor.hotSpot(), QPoint(10, 1));
}

TEST(About, EachClickOnTheLinkOpensANewBrowserWindowOnTheAddress) {
    AboutFixture f;
    QTest::mouseClick(f.about.Label4, Qt::LeftButton);
    QTest::mouseClick(f.about.Label4, Qt::LeftButton);
    EXPECT_EQ(f.browser.opened, (std::vector<std::string>{"https://www.sorvinta.example/",
                                                          "https://www.sorvinta.example/"}));
    EXPECT_TRUE(f.boxes.shown.empty());
    QTest::mouseClick(f.about.Label1, Qt::LeftButton);
    EXPECT_EQ(f.browser.opened.size(), 2u);
}

TEST(About, WithoutABrowserAMessageShowsTheAddressToCopy) {
    AboutFixture f;
    f.browser.works = false;
    QTest::mouseClick(f.about.Label4, Qt::LeftButton);
    EXPECT_EQ(f.browser.opened.size(), 1u);
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.boxes.shown[0].title, "Sorvinta");
    EXPECT_NE(f.boxes.shown[0].text.find("https://www.sorvinta.example/"), std::string::npos);
}

// The desktop's real opener on a PATH that holds no browser: it is asked, gives up, and the
// message with the address shows, without the window waiting for it.
TEST(About, WithTheDesktopsOpenerButNoBrowserTheMessageShows) {
    NoBrowserDesktop desktop;
    ASSERT_TRUE(desktop.addRealOpener()) << "xdg-open is not installed (xdg-utils)";
    FakeMessageBox boxes;
    DesktopBrowser browser;
    About about(browser, boxes, QIcon());
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(about.Label4, Qt::LeftButton);
    EXPECT_LT(t.elapsed(), 1000) << "the window waited for the opener";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.shown.empty(); }, 20000));
    EXPECT_EQ(desktop.opened(), QStringList{"https://www.sorvinta.example/"});
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Sorvinta");
    EXPECT_NE(boxes.shown[0].text.find("https://www.sorvinta.example/"), std::string::npos);
}

// On a screen of twice the density the logo is pixel-doubled, not smoothed.
TEST(About, LogoDoublesItsPixelsOnAHighDensityScreen) {
    AboutFixture f;
    EXPECT_EQ(undoubledPixels(renderDoubled(f.about), f.about.Image1->pixmap().toImage(),
                              f.about.Image1->pos()),
              0);
}

} // namespace
