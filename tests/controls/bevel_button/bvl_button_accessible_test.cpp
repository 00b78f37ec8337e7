#include "bevel_button_fixture.h"

#include <QAccessible>
#include <QAccessibleActionInterface>

namespace {

class BevelAccessible : public BevelForm {};

TEST_F(BevelAccessible, NameRoleAndState) {
    bvlBUTTON* b = add("cmdRecord", QRect(0, 0, 100, 40));
    b->setCaption("RECORD");
    b->setToolTip("Record");
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(QAccessible::Name), "RECORD");
    EXPECT_EQ(a->role(), QAccessible::Button);
    b->setCaption("");
    EXPECT_EQ(a->text(QAccessible::Name), "Record");

    b->setEnabled(false);
    EXPECT_TRUE(a->state().disabled);
    b->setEnabled(true);
    EXPECT_FALSE(a->state().disabled);

    b->setBehaviour(bvlBUTTON::Check);
    EXPECT_EQ(a->role(), QAccessible::CheckBox);
    b->setValue(true);
    EXPECT_TRUE(a->state().checkable);
    EXPECT_TRUE(a->state().checked);
    b->setBehaviour(bvlBUTTON::Option);
    EXPECT_EQ(a->role(), QAccessible::RadioButton);
}

TEST_F(BevelAccessible, PressTakesTheRoadOfAClick) {
    bvlBUTTON* check = add("check", QRect(0, 0, 100, 40));
    check->setBehaviour(bvlBUTTON::Check);
    QAccessibleActionInterface* action =
        QAccessible::queryAccessibleInterface(check)->actionInterface();
    ASSERT_NE(action, nullptr);
    ASSERT_TRUE(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
    action->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_TRUE(check->Value());
    EXPECT_EQ(take(), std::vector<std::string>{"check Click"}); // one click, as with the mouse
    EXPECT_EQ(check->ButtonState(), bvlBUTTON::StateDown);

    check->setEnabled(false);
    EXPECT_FALSE(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
    action->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_TRUE(check->Value());
    EXPECT_TRUE(take().empty());
}

// A click may run a whole recording; the tool that pressed must have its answer first.
TEST_F(BevelAccessible, PressReturnsBeforeTheClickRuns) {
    bvlBUTTON* b = add("cmdRecord", QRect(0, 0, 100, 40));
    bool pressReturned = false;
    bool returnedBeforeClick = false;
    QObject::connect(b, &bvlBUTTON::Click, [&] { returnedBeforeClick = pressReturned; });
    QAccessible::queryAccessibleInterface(b)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    pressReturned = true;
    EXPECT_TRUE(take().empty()); // nothing has run yet
    QCoreApplication::processEvents();
    EXPECT_TRUE(returnedBeforeClick);
    EXPECT_EQ(take(), std::vector<std::string>{"cmdRecord Click"});
}

// A button deleted while its press waits in the queue is simply not pressed.
TEST_F(BevelAccessible, PressQueuedForADeletedButtonDoesNothing) {
    bvlBUTTON* b = add("b", QRect(0, 0, 100, 40));
    QAccessible::queryAccessibleInterface(b)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    delete b;
    QCoreApplication::processEvents();
    EXPECT_TRUE(take().empty());
}

} // namespace
