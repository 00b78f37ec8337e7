#include "controls/bevel_button/cartesian.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

namespace {

enum class Fault { None, Format, NonNumeric, Values };

struct ParseCase {
    const char* name;
    const char* text;
    Fault fault;
    const char* after; // the text afterwards
    std::int16_t x;    // x and y afterwards, both starting at 11 and 22
    std::int16_t y;
};

const char* firstLine(Fault fault) {
    switch (fault) {
    case Fault::Format:
        return "INVALID CARTESIAN CO-ORDINATES FORMAT.";
    case Fault::NonNumeric:
        return "NON-NUMERIC CARTESIAN CO-ORDINATES.";
    case Fault::Values:
        return "INVALID CARTESIAN CO-ORDINATES VALUES.";
    case Fault::None:
        break;
    }
    return "";
}

class ParseCartesianTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCartesianTest, NormalisesOrRejects) {
    const ParseCase& c = GetParam();
    FakeMessageBox messages;
    std::string text = c.text;
    std::int16_t x = 11;
    std::int16_t y = 22;

    EXPECT_EQ(ParseCartesian(text, x, y, messages), c.fault == Fault::None);
    EXPECT_EQ(text, c.after);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    if (c.fault == Fault::None) {
        EXPECT_TRUE(messages.shown.empty());
        return;
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.starts_with(std::string(firstLine(c.fault)) + "\r\n\r\n"))
        << messages.shown[0].text;
    EXPECT_EQ(messages.shown[0].title, "Cartesian Co-ordinates Validation");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCartesianTest,
    ::testing::Values(
        ParseCase{"empty", "", Fault::None, "(0,0)", 0, 0},
        ParseCase{"only_spaces", "   ", Fault::None, "(0,0)", 0, 0},
        ParseCase{"spaces_around_and_inside", " ( 0 , 8 ) ", Fault::None, "(0,8)", 0, 8},
        ParseCase{"negative_y", "(0,-10)", Fault::None, "(0,-10)", 0, -10},
        ParseCase{"plus_sign", "(+4,-0)", Fault::None, "(4,0)", 4, 0},
        ParseCase{"bare_number", "5", Fault::None, "(5,0)", 5, 0},
        ParseCase{"leading_comma", ",7", Fault::None, "(0,7)", 0, 7},
        ParseCase{"trailing_comma", "3,", Fault::None, "(3,0)", 3, 0},
        ParseCase{"missing_close", "(3,4", Fault::None, "(3,4)", 3, 4},
        ParseCase{"no_comma_in_parentheses", "(4)", Fault::None, "(4,0)", 4, 0},
        ParseCase{"fractions_half_to_even", "(1.5,2.5)", Fault::None, "(2,2)", 2, 2},
        ParseCase{"limits", "(32767,-32768)", Fault::None, "(32767,-32768)", 32767, -32768},
        ParseCase{"half_below_the_limit", "(-32768.5,0)", Fault::None, "(-32768,0)", -32768, 0},
        ParseCase{"empty_parentheses", "()", Fault::Format, "(,0)", 11, 22},
        ParseCase{"comma_after_open", "(,5)", Fault::Format, "(,5)", 11, 22},
        ParseCase{"letters", "(a,1)", Fault::NonNumeric, "(a,1)", 11, 22},
        ParseCase{"empty_y", "(1,)", Fault::NonNumeric, "(1,)", 11, 22},
        ParseCase{"three_parts", "(1,2,3)", Fault::NonNumeric, "(1,2,3)", 11, 22},
        ParseCase{"exponent", "(1e3,0)", Fault::NonNumeric, "(1e3,0)", 11, 22},
        ParseCase{"hexadecimal", "(0x10,0)", Fault::NonNumeric, "(0x10,0)", 11, 22},
        ParseCase{"lone_point", "(.,0)", Fault::NonNumeric, "(.,0)", 11, 22},
        ParseCase{"x_too_large", "(40000,1)", Fault::Values, "(40000,1)", 11, 22},
        ParseCase{"x_rounds_past_the_limit", "(32767.5,0)", Fault::Values, "(32767.5,0)", 11, 22},
        ParseCase{"only_y_too_large", "(5,40000)", Fault::Values, "(5,40000)", 5, 22},
        ParseCase{"huge", "(100000000000000000000000,0)", Fault::Values,
                  "(100000000000000000000000,0)", 11, 22}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseCartesian, MessagesTellTheRule) {
    FakeMessageBox messages;
    std::int16_t x = 0;
    std::int16_t y = 0;
    for (std::string text : {"()", "(a,b)", "(99999,0)"})
        ParseCartesian(text, x, y, messages);
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0].text, "INVALID CARTESIAN CO-ORDINATES FORMAT.\r\n\r\n"
                                      "Co-ordinates must be in the format\r\n"
                                      "\"(x,y)\" where x and y are Integers\r\n"
                                      "in the range -32768 to +32767.");
    EXPECT_EQ(messages.shown[1].text, "NON-NUMERIC CARTESIAN CO-ORDINATES.\r\n\r\n"
                                      "Co-ordinates must numeric Integers\r\n"
                                      "in the range -32768 to +32767.");
    EXPECT_EQ(messages.shown[2].text, "INVALID CARTESIAN CO-ORDINATES VALUES.\r\n\r\n"
                                      "Values must be Integers in the\r\n"
                                      "range -32768 to +32767 only.");
}

} // namespace
