#include "platform/browser/desktop_browser.h"
#include "support/no_browser_desktop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

namespace {

// Runs events until `done` holds or `ms` pass; whether it held.
bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return done();
}

constexpr const char* kAddress = "https://www.sorvinta.example/";

} // namespace

TEST(DesktopBrowser, WebAddressesGoToTheDesktopsOpenerEachTime) {
    NoBrowserDesktop desktop;
    desktop.addOpener(QStringLiteral("exit 0"));
    DesktopBrowser browser;
    int failures = 0;
    browser.openNewWindow(kAddress, [&] { ++failures; });
    browser.openNewWindow(kAddress, [&] { ++failures; });
    ASSERT_TRUE(waitUntil([&] { return desktop.opened().size() == 2; }, 10000));
    waitUntil([] { return false; }, 300); // the exits arrive
    EXPECT_EQ(desktop.opened(), (QStringList{kAddress, kAddress}));
    EXPECT_EQ(failures, 0);
}

TEST(DesktopBrowser, AnythingButAWebAddressIsRefusedAtOnce) {
    NoBrowserDesktop desktop;
    desktop.addOpener(QStringLiteral("exit 0"));
    DesktopBrowser browser;
    for (const char* address :
         {"file:///etc/passwd", "javascript:alert(1)", "", "not an address"}) {
        int failures = 0;
        browser.openNewWindow(address, [&] { ++failures; });
        EXPECT_EQ(failures, 1) << address;
    }
    waitUntil([] { return false; }, 300);
    EXPECT_TRUE(desktop.opened().isEmpty());
}

// The opener starts, finds no browser and ends with a failure: that failure is seen, once,
// however the opener fails. Without any opener it is seen at once.
TEST(DesktopBrowser, WithoutABrowserTheOpenersFailureIsReported) {
    struct Case {
        const char* name;
        std::function<void(NoBrowserDesktop&)> setUp;
    };
    const std::vector<Case> cases = {
        {"the desktop's own opener",
         [](NoBrowserDesktop& d) {
             EXPECT_TRUE(d.addRealOpener()) << "xdg-open is not installed (xdg-utils)";
         }},
        {"an opener with no method",
         [](NoBrowserDesktop& d) {
             d.addOpener(QStringLiteral("echo \"xdg-open: no method available\" >&2; exit 3"));
         }},
        {"an opener that is killed",
         [](NoBrowserDesktop& d) { d.addOpener(QStringLiteral("kill -9 $$")); }},
        {"no opener at all", [](NoBrowserDesktop&) {}},
    };
    for (const Case& c : cases) {
        NoBrowserDesktop desktop;
        c.setUp(desktop);
        DesktopBrowser browser;
        int failures = 0;
        browser.openNewWindow(kAddress, [&] { ++failures; });
        EXPECT_TRUE(waitUntil([&] { return failures > 0; }, 20000)) << c.name;
        waitUntil([] { return false; }, 200);
        EXPECT_EQ(failures, 1) << c.name;
        if (std::string(c.name) != "no opener at all") {
            EXPECT_EQ(desktop.opened(), QStringList{kAddress}) << c.name;
        }
    }
}

// An opener that stays with the browser it started: the call returns at once, and once the
// patience has run out the opener counts as having started a browser, whatever it does later.
TEST(DesktopBrowser, AnOpenerThatStaysDoesNotHoldTheCaller) {
    NoBrowserDesktop desktop;
    desktop.addOpener(QStringLiteral("/bin/sleep 2; exit 1"));
    DesktopBrowser browser(std::chrono::milliseconds(300));
    int failures = 0;
    QElapsedTimer t;
    t.start();
    browser.openNewWindow(kAddress, [&] { ++failures; });
    EXPECT_LT(t.elapsed(), 1000);
    waitUntil([] { return false; }, 3000);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(desktop.opened(), QStringList{kAddress});
}
