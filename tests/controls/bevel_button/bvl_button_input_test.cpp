#include "bevel_button_fixture.h"

#include <QGroupBox>

namespace {

using Events = std::vector<std::string>;

class BevelInput : public BevelForm {};

TEST_F(BevelInput, LeftClickOrderThenExitAfterTheCursorLeaves) {
    bvlBUTTON* b = add("b", QRect(20, 20, 100, 40));
    show();
    moveAway();
    take();
    moveTo(b, QPoint(10, 10));
    press(b, QPoint(50, 20));
    moveTo(b, QPoint(60, 25)); // held: reported 2 less in both directions
    release(b, QPoint(60, 25));
    moveTo(b, QPoint(61, 25)); // no longer held
    EXPECT_EQ(take(true), (Events{"b MouseMove 0 0 10 10", "b MouseMove 0 0 50 20",
                                  "b MouseDown 1 0 50 20", "b MouseMove 1 0 58 23",
                                  "b MouseUp 1 0 60 25", "b Click", "b MouseMove 0 0 61 25"}));
    EXPECT_TRUE(b->timerActive());
    moveAway();
    QTest::qWait(bvlBUTTON::kTimerInterval * 2);
    EXPECT_EQ(take(), Events{"b MouseExit"});
    EXPECT_FALSE(b->timerActive()); // nothing runs once the cursor is gone
}

TEST_F(BevelInput, MouseKeysDecideWhichButtonsPress) {
    bvlBUTTON* b = add("b", QRect(20, 20, 100, 40));
    ASSERT_TRUE(b->setBehaviour(bvlBUTTON::Check));
    show();
    take();
    // A right press neither sinks the face nor is reported; its release still runs the
    // release rules, and the Check button's Value change raises Click, there being no press.
    press(b, QPoint(50, 20), Qt::RightButton);
    EXPECT_EQ(b->ButtonState(), bvlBUTTON::StateHover);
    EXPECT_FALSE(b->MouseIsDown());
    release(b, QPoint(50, 20), Qt::RightButton);
    EXPECT_TRUE(b->Value());
    // A mouse button that MouseKeys does not accept makes no click of the host's.
    EXPECT_EQ(take(), (Events{"b Click", "b MouseUp 2 0 50 20"}));

    b->setMouseKeys(bvlBUTTON::MouseLeft | bvlBUTTON::MouseRight);
    press(b, QPoint(50, 20), Qt::RightButton);
    EXPECT_EQ(take(), Events{"b MouseDown 2 0 50 20"});
}

// The host's click comes from a mouse button that MouseKeys accepts, whichever it is.
TEST_F(BevelInput, RightClickOnACommandButtonClicksOnlyWhenMouseKeysAcceptIt) {
    bvlBUTTON* b = add("b", QRect(20, 20, 100, 40));
    show();
    take();
    click(b, QPoint(50, 20), Qt::RightButton);
    EXPECT_EQ(take(), Events{"b MouseUp 2 0 50 20"});

    b->setMouseKeys(bvlBUTTON::MouseLeft | bvlBUTTON::MouseRight);
    click(b, QPoint(50, 20), Qt::RightButton);
    EXPECT_EQ(take(), (Events{"b MouseDown 2 0 50 20", "b MouseUp 2 0 50 20", "b Click"}));

    b->setMouseKeys(bvlBUTTON::MouseMiddle);
    click(b, QPoint(50, 20), Qt::MiddleButton);
    click(b, QPoint(50, 20), Qt::LeftButton);
    EXPECT_EQ(take(), (Events{"b MouseDown 4 0 50 20", "b MouseUp 4 0 50 20", "b Click",
                              "b MouseUp 1 0 50 20"}));
}

TEST_F(BevelInput, FourOptionButtonsMakeOneGroup) {
    auto* frame = new QGroupBox(&form);
    frame->setObjectName(QStringLiteral("Frame3"));
    frame->setGeometry(10, 10, 200, 200);
    std::vector<bvlBUTTON*> opt;
    for (int i = 0; i < 4; ++i) {
        opt.push_back(
            add(("opt" + std::to_string(i)).c_str(), QRect(10, 20 + 40 * i, 150, 30), frame));
        ASSERT_TRUE(opt.back()->setBehaviour(bvlBUTTON::Option));
    }
    // An option button of another container is not part of the group.
    bvlBUTTON* outside = add("outside", QRect(250, 20, 100, 30));
    ASSERT_TRUE(outside->setBehaviour(bvlBUTTON::Option));
    outside->setValue(true);
    opt[0]->setValue(true); // from code: Click once
    show();
    take();

    click(opt[2], QPoint(20, 10));
    EXPECT_EQ(take(), (Events{"opt2 MouseDown 1 0 20 10", "opt2 MouseUp 1 0 20 10", "opt2 Click"}));
    EXPECT_EQ((std::vector<bool>{opt[0]->Value(), opt[1]->Value(), opt[2]->Value(), opt[3]->Value(),
                                 outside->Value()}),
              (std::vector<bool>{false, false, true, false, true}));
    EXPECT_EQ(opt[0]->ButtonState() & bvlBUTTON::StateDown, 0);

    click(opt[2], QPoint(20, 10)); // again: Click again, no Value change
    EXPECT_EQ(take(), (Events{"opt2 MouseDown 1 0 20 10", "opt2 MouseUp 1 0 20 10", "opt2 Click"}));
    EXPECT_TRUE(opt[2]->Value());

    opt[1]->setValue(false); // clearing from code raises nothing
    opt[3]->setValue(true);
    EXPECT_EQ(take(), Events{"opt3 Click"});
    EXPECT_FALSE(opt[2]->Value());
}

// A busy window handles a release late, when the cursor has moved on: where the release
// happened decides the Value, the MouseUp and the Click alike, so an option button never
// raises its Click without taking its Value.
TEST_F(BevelInput, ReleaseHandledAfterTheCursorMovedDecidesByWhereItHappened) {
    auto* frame = new QGroupBox(&form);
    frame->setObjectName(QStringLiteral("Frame3"));
    frame->setGeometry(10, 10, 200, 200);
    std::vector<bvlBUTTON*> opt;
    for (int i = 0; i < 3; ++i) {
        opt.push_back(
            add(("opt" + std::to_string(i)).c_str(), QRect(10, 20 + 40 * i, 150, 30), frame));
        ASSERT_TRUE(opt.back()->setBehaviour(bvlBUTTON::Option));
    }
    opt[0]->setValue(true);
    show();
    take();

    // Released on opt1, handled once the cursor is away.
    press(opt[1], QPoint(20, 10));
    moveAway();
    QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, onForm(opt[1], QPoint(20, 10)));
    EXPECT_EQ(take(), (Events{"opt1 MouseDown 1 0 20 10", "opt1 MouseUp 1 0 20 10", "opt1 Click"}));
    EXPECT_EQ((std::vector<bool>{opt[0]->Value(), opt[1]->Value(), opt[2]->Value()}),
              (std::vector<bool>{false, true, false}));

    // Released away from opt2, handled once the cursor is back over it: nothing is chosen.
    press(opt[2], QPoint(20, 10));
    moveAway();
    moveTo(opt[2], QPoint(20, 10));
    QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, QPoint(395, 295));
    EXPECT_EQ(take(), Events{"opt2 MouseDown 1 0 20 10"});
    EXPECT_EQ((std::vector<bool>{opt[0]->Value(), opt[1]->Value(), opt[2]->Value()}),
              (std::vector<bool>{false, true, false}));
    EXPECT_EQ(opt[2]->ButtonState() & bvlBUTTON::StateDown, 0);
}

TEST_F(BevelInput, ContainersAreMatchedByName) {
    auto* a = new QWidget(&form);
    auto* b = new QWidget(&form);
    a->setObjectName(QStringLiteral("Panel"));
    b->setObjectName(QStringLiteral("Panel"));
    bvlBUTTON* inA = add("inA", QRect(0, 0, 50, 20), a);
    bvlBUTTON* inB = add("inB", QRect(0, 0, 50, 20), b);
    ASSERT_TRUE(inA->setBehaviour(bvlBUTTON::Option));
    ASSERT_TRUE(inB->setBehaviour(bvlBUTTON::Option));
    inA->setValue(true);
    inB->setValue(true);
    EXPECT_FALSE(inA->Value());
}

TEST_F(BevelInput, ValueOnACommandButtonDoesNothing) {
    bvlBUTTON* b = add("b", QRect(20, 20, 100, 40));
    std::vector<QString> changed;
    QObject::connect(b, &bvlBUTTON::propertyChanged,
                     [&](const QString& n) { changed.push_back(n); });
    b->setValue(true);
    EXPECT_FALSE(b->Value());
    EXPECT_TRUE(take().empty());
    EXPECT_TRUE(changed.empty());
}

TEST_F(BevelInput, KeysAreReportedEnabledOrNotAndNeverPress) {
    bvlBUTTON* b = add("b", QRect(20, 20, 100, 40));
    show();
    for (const bool enabled : {true, false}) {
        b->setEnabled(enabled);
        take();
        QTest::keyClick(b, Qt::Key_A, Qt::ShiftModifier);
        QTest::keyClick(b, Qt::Key_Space);
        QTest::keyClick(b, Qt::Key_Return);
        // Shift comes as a key of its own; the character typed is the key's own ("a").
        EXPECT_EQ(take(),
                  (Events{"b KeyDown 16 1", "b KeyDown 65 1", "b KeyPress 97", "b KeyUp 65 1",
                          "b KeyUp 16 0", "b KeyDown 32 0", "b KeyPress 32", "b KeyUp 32 0",
                          "b KeyDown 13 0", "b KeyPress 13", "b KeyUp 13 0"}))
            << "enabled " << enabled;
        EXPECT_EQ(b->ButtonState() & bvlBUTTON::StateDown, 0);
    }
}

TEST_F(BevelInput, AccessKeyFlashesAndClicks) {
    bvlBUTTON* b = add("b", QRect(20, 20, 100, 40));
    b->setAccessKeys(QStringLiteral("r"));
    show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    moveAway();
    take();

    QTest::keyClick(&form, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(take(), Events{"b Click"});
    EXPECT_EQ(b->ButtonState(), bvlBUTTON::FlashState);
    EXPECT_EQ(b->LastPaintedState(), bvlBUTTON::FlashState); // shows pressed
    QTest::qWait(bvlBUTTON::kTimerInterval * 2);
    EXPECT_EQ(b->ButtonState(), 0);

    // A disabled button does not act on its access key.
    b->setEnabled(false);
    QTest::keyClick(&form, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(b->ButtonState(), bvlBUTTON::StateDisabled);
}

TEST_F(BevelInput, DoubleClick) {
    bvlBUTTON* b = add("b", QRect(20, 20, 100, 40));
    show();
    take();
    const QPoint at = onForm(b, QPoint(50, 20));
    moveTo(b, QPoint(50, 20));
    QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, at);
    const Events got = take();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(std::count(got.begin(), got.end(), "b DblClick"), 1);
    EXPECT_EQ(std::count(got.begin(), got.end(), "b Click"), 1);
    EXPECT_EQ(b->ButtonState(), bvlBUTTON::StateHover);
}

// Disabled while held, the release is not handled: the press is still in progress, so a
// Value change from code raises no Click until a release is handled while enabled.
TEST_F(BevelInput, DisabledDuringAPress) {
    bvlBUTTON* b = add("b", QRect(20, 20, 100, 40));
    ASSERT_TRUE(b->setBehaviour(bvlBUTTON::Check));
    show();
    press(b, QPoint(50, 20));
    b->setEnabled(false);
    release(b, QPoint(50, 20));
    EXPECT_TRUE(b->MouseIsDown());
    take();
    b->setValue(true);
    EXPECT_TRUE(take().empty());
    b->setEnabled(true);
    click(b, QPoint(50, 20));
    EXPECT_FALSE(b->MouseIsDown());
    b->setValue(true);
    EXPECT_EQ(take(),
              (Events{"b MouseDown 1 0 50 20", "b MouseUp 1 0 50 20", "b Click", "b Click"}));
}

TEST_F(BevelInput, ClicksOutsideTheOutlineReachTheForm) {
    bvlBUTTON* b = add("b", QRect(20, 20, 60, 40));
    b->setAppearance(bvlBUTTON::Ellipse);
    show();
    EXPECT_EQ(b->size(), QSize(60, 60));
    take();
    struct FormClicks : QObject {
        int presses = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            presses += e->type() == QEvent::MouseButtonPress;
            return false;
        }
    } filter;
    form.installEventFilter(&filter);
    click(b, QPoint(1, 1)); // inside the box, outside the circle
    EXPECT_EQ(filter.presses, 1);
    EXPECT_TRUE(take().empty());
    click(b, QPoint(30, 30));
    EXPECT_EQ(filter.presses, 1);
    EXPECT_EQ(take(), (Events{"b MouseDown 1 0 30 30", "b MouseUp 1 0 30 30", "b Click"}));
}

TEST_F(BevelInput, CoveredButtonIsNotUnderTheCursor) {
    bvlBUTTON* b = add("b", QRect(20, 20, 100, 40));
    auto* cover = new QWidget(&form);
    cover->setGeometry(60, 20, 60, 40);
    show();
    moveTo(b, QPoint(10, 10));
    EXPECT_EQ(b->ButtonState(), bvlBUTTON::StateHover);
    moveTo(b, QPoint(70, 10)); // under the cover
    b->tmrRCB_Timer();
    EXPECT_EQ(b->ButtonState(), 0);
    EXPECT_EQ(take(), Events{"b MouseExit"});

    press(b, QPoint(10, 10));
    release(b, QPoint(70, 10)); // released under the cover: not over the button
    EXPECT_EQ(take(), Events{"b MouseDown 1 0 10 10"});
    EXPECT_EQ(b->ButtonState(), 0);
}

} // namespace
