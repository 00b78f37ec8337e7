#include "platform/browser/desktop_browser.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

namespace {

// Stands in for the desktop's URL handler and keeps what it was asked to open.
class UrlHandler : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

struct HandlerFixture : ::testing::Test {
    void SetUp() override {
        for (const char* scheme : {"https", "http", "file", "javascript"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &handler, "open");
    }
    void TearDown() override {
        for (const char* scheme : {"https", "http", "file", "javascript"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    UrlHandler handler;
    DesktopBrowser browser;
};

TEST_F(HandlerFixture, WebAddressesGoToTheDesktopsUrlHandlerEachTime) {
    EXPECT_TRUE(browser.openNewWindow("https://www.sorvinta.example/"));
    EXPECT_TRUE(browser.openNewWindow("https://www.sorvinta.example/"));
    ASSERT_EQ(handler.opened.size(), 2);
    EXPECT_EQ(handler.opened[0], QUrl("https://www.sorvinta.example/"));
    EXPECT_EQ(handler.opened[1], QUrl("https://www.sorvinta.example/"));
}

TEST_F(HandlerFixture, AnythingButAWebAddressIsRefused) {
    for (const char* address : {"file:///etc/passwd", "javascript:alert(1)", "", "not an address"})
        EXPECT_FALSE(browser.openNewWindow(address)) << address;
    EXPECT_TRUE(handler.opened.empty());
}

} // namespace

#include "desktop_browser_test.moc"
