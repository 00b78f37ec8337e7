#include "platform/skin/widget_skin_frame.h"

#include "platform/skin/skin_caption_bar.h"

#include "coded_skin_style.h"
#include "support/high_density.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

// A window whose contents are one fixed 200 × 100 client widget, like the program's own; it
// counts close requests and refuses them while told to.
class Window : public QWidget {
public:
    Window() {
        client = new QWidget;
        client->setFixedSize(200, 100);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(client);
    }
    QWidget* client;
    int closeRequests = 0;
    bool refuseClose = false;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closeRequests;
        if (refuseClose)
            event->ignore();
        else
            event->accept();
    }
};

struct Skinned {
    Skinned() { attached = skin.attach(window, codedSkinStyle()); }
    void show() {
        window.adjustSize();
        window.move(100, 100);
        window.show();
        QApplication::setActiveWindow(&window);
        QApplication::processEvents();
    }
    SkinCaptionBar& caption() { return *skin.captionBar(); }
    // A mouse event on the caption bar at `pos`, its screen position taken from the window's
    // present place.
    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButtons held) {
        const QPoint global = window.pos() + pos;
        QMouseEvent event(type, QPointF(pos), QPointF(global),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&caption(), &event);
    }
    void click(QPoint pos) {
        mouse(QEvent::MouseButtonPress, pos, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, pos, Qt::NoButton);
    }

    Window window;
    WidgetSkinFrame skin;
    bool attached = false;
};

TEST(WidgetSkinFrame, PutsItsFrameAroundTheUnchangedClientArea) {
    Skinned s;
    ASSERT_TRUE(s.attached);
    s.show();
    EXPECT_TRUE(s.window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(s.window.size(), QSize(210, 129));
    EXPECT_EQ(s.window.client->geometry(), QRect(5, 24, 200, 100));
    EXPECT_EQ(s.caption().geometry(), QRect(0, 0, 210, 24));
    EXPECT_EQ(s.skin.framePicture().size(), s.window.size());
}

TEST(WidgetSkinFrame, LeavesTheWindowAloneWhenAPictureIsMissingOrOfTheWrongSize) {
    SkinStyle noCaption = codedSkinStyle();
    noCaption.captionPicture = QImage();
    SkinStyle smallFrame = codedSkinStyle();
    smallFrame.framePicture = smallFrame.framePicture.copy(0, 0, 60, 10);
    SkinStyle smallCaption = codedSkinStyle();
    smallCaption.captionPicture = smallCaption.captionPicture.scaled(320, 24);
    for (const SkinStyle& style : {noCaption, smallFrame, smallCaption}) {
        Window window;
        const Qt::WindowFlags flags = window.windowFlags();
        const qsizetype children = window.children().size();
        WidgetSkinFrame skin;
        EXPECT_FALSE(skin.attach(window, style));
        EXPECT_EQ(window.windowFlags(), flags);
        EXPECT_EQ(window.contentsMargins(), QMargins());
        EXPECT_EQ(window.children().size(), children);
        EXPECT_FALSE(skin.attached());
    }
}

TEST(WidgetSkinFrame, CloseButtonIsTheWindowsCloseRequestWhichItMayRefuse) {
    Skinned s;
    s.show();
    s.window.refuseClose = true;
    s.click(QPoint(200 - 5, 10)); // close sits at x 184..202
    EXPECT_EQ(s.window.closeRequests, 1);
    EXPECT_TRUE(s.window.isVisible());
    s.window.refuseClose = false;
    s.click(QPoint(190, 10));
    EXPECT_EQ(s.window.closeRequests, 2);
    EXPECT_FALSE(s.window.isVisible());
}

TEST(WidgetSkinFrame, MinimiseButtonMinimises) {
    Skinned s;
    s.show();
    s.click(QPoint(170, 10)); // minimise sits at x 163..181
    EXPECT_TRUE(s.window.isMinimized());
    EXPECT_EQ(s.window.closeRequests, 0);
}

TEST(WidgetSkinFrame, AButtonShowsPressedWhileHeldAndActsOnlyWhenReleasedOverIt) {
    Skinned s;
    s.show();
    const QRgb up = s.skin.framePicture().pixel(184, 2);
    s.mouse(QEvent::MouseButtonPress, QPoint(190, 10), Qt::LeftButton);
    EXPECT_EQ(s.skin.framePicture().pixel(184, 2), captionPixel(240, 20));
    s.mouse(QEvent::MouseMove, QPoint(100, 10), Qt::LeftButton);
    EXPECT_EQ(s.skin.framePicture().pixel(184, 2), up);
    s.mouse(QEvent::MouseButtonRelease, QPoint(100, 10), Qt::NoButton);
    EXPECT_EQ(s.window.closeRequests, 0);
    EXPECT_TRUE(s.window.isVisible());
}

TEST(WidgetSkinFrame, DraggingTheCaptionBarMovesTheWindow) {
    Skinned s;
    s.show();
    const QPoint start = s.window.pos();
    s.mouse(QEvent::MouseButtonPress, QPoint(60, 10), Qt::LeftButton);
    // The offscreen platform offers no move of its own, as a bare X server does not.
    EXPECT_TRUE(s.caption().movesByHand());
    s.mouse(QEvent::MouseMove, QPoint(90, 30), Qt::LeftButton);
    EXPECT_EQ(s.window.pos(), start + QPoint(30, 20));
    // The window moved under the mouse: the mouse is again at (60, 10) on the caption bar.
    s.mouse(QEvent::MouseMove, QPoint(50, 15), Qt::LeftButton);
    EXPECT_EQ(s.window.pos(), start + QPoint(20, 25));
    s.mouse(QEvent::MouseButtonRelease, QPoint(60, 10), Qt::NoButton);
    s.mouse(QEvent::MouseMove, QPoint(90, 30), Qt::NoButton);
    EXPECT_EQ(s.window.pos(), start + QPoint(20, 25));
    EXPECT_EQ(s.window.closeRequests, 0);
}

TEST(WidgetSkinFrame, ActiveAndInactiveWindowsLookDifferent) {
    Skinned s;
    s.show();
    ASSERT_TRUE(s.window.isActiveWindow());
    EXPECT_EQ(s.skin.framePicture().pixel(10, 10), captionPixel(10, 10));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::processEvents();
    ASSERT_FALSE(s.window.isActiveWindow());
    EXPECT_EQ(s.skin.framePicture().pixel(10, 10), captionPixel(410, 10));
    EXPECT_EQ(s.caption().grab().toImage().pixel(10, 10), captionPixel(410, 10));
}

TEST(WidgetSkinFrame, CaptionBarShowsTheWindowsCaption) {
    Skinned s;
    s.show();
    const QRect textArea(29, 0, 100, 24);
    const QImage empty = s.caption().grab().toImage().copy(textArea);
    EXPECT_EQ(empty, s.skin.framePicture().copy(textArea).convertToFormat(empty.format()));
    s.window.setWindowTitle(QStringLiteral("Sorvinta 3.0"));
    QApplication::processEvents();
    EXPECT_NE(s.caption().grab().toImage().copy(textArea), empty);
}

// On a screen of twice the density every frame pixel becomes a 2 × 2 block of its colour.
TEST(WidgetSkinFrame, DoublesItsPixelsOnAHighDensityScreen) {
    Skinned s;
    s.show();
    const QImage doubled = renderDoubled(s.window);
    const QImage& frame = s.skin.framePicture();
    EXPECT_EQ(undoubledPixels(doubled, frame.copy(0, 0, frame.width(), 24)), 0);
    EXPECT_EQ(undoubledPixels(doubled, frame.copy(0, 24, 5, frame.height() - 24), QPoint(0, 24)),
              0);
    const QRect bottom(0, frame.height() - 5, frame.width(), 5);
    EXPECT_EQ(undoubledPixels(doubled, frame.copy(bottom), bottom.topLeft()), 0);
}

} // namespace
