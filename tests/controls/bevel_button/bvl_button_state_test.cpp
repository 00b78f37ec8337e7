// The button's state table, driven by real mouse events on a shown form.

#include "bevel_button_fixture.h"

namespace {

enum class Step {
    MoveOver,  // the cursor onto the button
    MoveAway,  // the cursor off it (a drag when a button is held)
    Press,     // left button down where the cursor is
    Release,   // left button up where the cursor is
    Tick,      // one tick of the hover timer
    ValueTrue, // Value set from code
    ValueFalse,
    Flash,
    Disable,
    Enable,
};

struct StateCase {
    const char* name;
    std::uint8_t behaviour;
    std::vector<Step> steps;
    int state; // ButtonState afterwards
    bool value;
    std::vector<std::string> events; // without moves
};

class StateTable : public BevelForm, public ::testing::WithParamInterface<StateCase> {};

TEST_P(StateTable, Transitions) {
    const StateCase& c = GetParam();
    bvlBUTTON* b = add("b", QRect(20, 20, 100, 40));
    ASSERT_TRUE(b->setBehaviour(c.behaviour));
    show();
    moveAway();
    take();

    const QPoint over(50, 20);
    bool away = true;
    for (const Step step : c.steps) {
        switch (step) {
        case Step::MoveOver:
            moveTo(b, over);
            away = false;
            break;
        case Step::MoveAway:
            moveAway();
            away = true;
            break;
        case Step::Press:
            QTest::mousePress(form.windowHandle(), Qt::LeftButton, {},
                              away ? QPoint(395, 295) : onForm(b, over));
            break;
        case Step::Release:
            QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {},
                                away ? QPoint(395, 295) : onForm(b, over));
            break;
        case Step::Tick:
            b->tmrRCB_Timer();
            break;
        case Step::ValueTrue:
            b->setValue(true);
            break;
        case Step::ValueFalse:
            b->setValue(false);
            break;
        case Step::Flash:
            b->Flash();
            break;
        case Step::Disable:
            b->setEnabled(false);
            break;
        case Step::Enable:
            b->setEnabled(true);
            break;
        }
    }
    EXPECT_EQ(b->ButtonState(), c.state);
    EXPECT_EQ(b->Value(), c.value);
    EXPECT_EQ(take(), c.events);
    // What shows is the state: sunken exactly when StateDown is set.
    EXPECT_EQ(b->LastPaintedState(), b->ButtonState());
}

using S = Step;
const std::string Down = "b MouseDown 1 0 50 20";
const std::string Up = "b MouseUp 1 0 50 20";
const std::string Click = "b Click";
const std::string Exit = "b MouseExit";

INSTANTIATE_TEST_SUITE_P(
    Table, StateTable,
    ::testing::Values(
        // Up (0)
        StateCase{"up_move_over_to_hover", 0, {S::MoveOver}, 2, false, {}},
        StateCase{"up_value_true_to_down", 1, {S::ValueTrue}, 1, true, {Click}},
        // Hover (2)
        StateCase{"hover_press_to_down_hover", 0, {S::MoveOver, S::Press}, 3, false, {Down}},
        StateCase{"hover_cursor_gone_tick_to_up",
                  0,
                  {S::MoveOver, S::MoveAway, S::Tick},
                  0,
                  false,
                  {Exit}},
        StateCase{"hover_cursor_still_there_tick", 0, {S::MoveOver, S::Tick}, 2, false, {}},
        StateCase{
            "hover_value_true_to_down_hover", 2, {S::MoveOver, S::ValueTrue}, 3, true, {Click}},
        // Down and hover (3)
        StateCase{"command_release_over_to_hover",
                  0,
                  {S::MoveOver, S::Press, S::Release},
                  2,
                  false,
                  {Down, Up, Click}},
        StateCase{"check_release_over_sets",
                  1,
                  {S::MoveOver, S::Press, S::Release},
                  3,
                  true,
                  {Down, Up, Click}},
        StateCase{"check_release_over_clears",
                  1,
                  {S::ValueTrue, S::MoveOver, S::Press, S::Release},
                  2,
                  false,
                  {Click, Down, Up, Click}},
        StateCase{"option_release_over_sets",
                  2,
                  {S::MoveOver, S::Press, S::Release},
                  3,
                  true,
                  {Down, Up, Click}},
        StateCase{"option_already_set_clicks_again",
                  2,
                  {S::ValueTrue, S::MoveOver, S::Press, S::Release},
                  3,
                  true,
                  {Click, Down, Up, Click}},
        StateCase{
            "command_drag_off_to_down", 0, {S::MoveOver, S::Press, S::MoveAway}, 1, false, {Down}},
        StateCase{"command_release_outside_to_up",
                  0,
                  {S::MoveOver, S::Press, S::MoveAway, S::Release},
                  0,
                  false,
                  {Down}},
        StateCase{"command_drag_off_exit_on_tick",
                  0,
                  {S::MoveOver, S::Press, S::MoveAway, S::Tick},
                  1,
                  false,
                  {Down, Exit}},
        StateCase{"check_set_release_outside_to_down",
                  1,
                  {S::ValueTrue, S::MoveOver, S::Press, S::MoveAway, S::Release},
                  1,
                  true,
                  {Click, Down}},
        StateCase{"option_unset_release_outside_to_up",
                  2,
                  {S::MoveOver, S::Press, S::MoveAway, S::Release},
                  0,
                  false,
                  {Down}},
        StateCase{"check_value_false_to_hover",
                  1,
                  {S::MoveOver, S::ValueTrue, S::ValueFalse},
                  2,
                  false,
                  {Click, Click}},
        // Down (1)
        StateCase{"down_move_over_to_down_hover", 1, {S::ValueTrue, S::MoveOver}, 3, true, {Click}},
        StateCase{"check_down_value_false_to_up",
                  1,
                  {S::ValueTrue, S::ValueFalse},
                  0,
                  false,
                  {Click, Click}},
        StateCase{
            "option_down_value_false_silent", 2, {S::ValueTrue, S::ValueFalse}, 0, false, {Click}},
        // Flash (11)
        StateCase{"flash", 0, {S::Flash}, 11, false, {}},
        StateCase{"flash_ends_away", 0, {S::Flash, S::Tick}, 0, false, {}},
        StateCase{"flash_ends_under_cursor", 0, {S::MoveOver, S::Flash, S::Tick}, 2, false, {}},
        StateCase{"flash_ends_raised_on_set_check",
                  1,
                  {S::ValueTrue, S::Flash, S::Tick},
                  0,
                  true,
                  {Click}},
        // Disabled (+4)
        StateCase{"disabled_on_hover", 0, {S::MoveOver, S::Disable}, 6, false, {}},
        StateCase{"disabled_press_ignored",
                  0,
                  {S::Disable, S::MoveOver, S::Press, S::Release},
                  4,
                  false,
                  {}},
        StateCase{"disabled_no_flash", 0, {S::Disable, S::Flash}, 4, false, {}},
        StateCase{"enabled_again", 0, {S::Disable, S::Enable}, 0, false, {}},
        // Behaviour past Option releases like a Command button instead of sticking sunken.
        StateCase{"behaviour_3_release_over",
                  3,
                  {S::MoveOver, S::Press, S::Release},
                  2,
                  false,
                  {Down, Up, Click}},
        // ... and takes no Value from code either.
        StateCase{
            "behaviour_3_value_true_does_nothing", 3, {S::MoveOver, S::ValueTrue}, 2, false, {}},
        StateCase{"behaviour_255_value_true_does_nothing", 255, {S::ValueTrue}, 0, false, {}},
        StateCase{"behaviour_200_release_outside",
                  200,
                  {S::MoveOver, S::Press, S::MoveAway, S::Release},
                  0,
                  false,
                  {Down}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
