#include "platform/forms/form_file.h"

#include <gtest/gtest.h>

namespace {

// The control types the reader is told of, shaped like the program's two controls.
constexpr FormKey kBarKeys[] = {
    {"font", PropertyType::Font},        {"brushstyle", PropertyType::Integer},
    {"color", PropertyType::Colour},     {"image", PropertyType::Picture},
    {"max", PropertyType::Integer},      {"scrolling", PropertyType::Integer},
    {"showtext", PropertyType::Boolean},
};
constexpr FormKey kButtonKeys[] = {
    {"caption", PropertyType::Text},
    {"backcolour", PropertyType::Colour},
    {"picture", PropertyType::Picture},
    {"mouseicon", PropertyType::Picture},
};
constexpr FormType kTypes[] = {
    {"Sorvinta.XP_ProgressBar", kBarKeys},
    {"Sorvinta.bvlBUTTON", kButtonKeys},
};

FormFile parse(std::string_view text, std::string_view fileName) {
    return parseFormFile(text, fileName, kTypes);
}

std::vector<std::string> texts(const FormFile& form) {
    std::vector<std::string> out;
    for (const FormDiagnostic& d : form.diagnostics)
        out.push_back(d.text());
    return out;
}

} // namespace

TEST(FormFile, ReadsAGoodFile) {
    const FormFile form = parse(R"(# the main window
[barMMControl1 Sorvinta.XP_ProgressBar]
left = 429
Font = Verdana, 9.75, 400, 0, 0, 0
color = RGB(126, 142, 197)
scrolling = 5
showtext = True

; a button
[cmdRecord Sorvinta.bvlBUTTON]
caption = "RE\"CORD\\"
backcolour = 0x8000000F
picture = ":/record.png"
mouseicon = none
)",
                                "form1.form");
    EXPECT_TRUE(form.diagnostics.empty()) << testing::PrintToString(texts(form));
    ASSERT_EQ(form.instances.size(), 2u);

    const FormInstance* bar = form.find("BARMMCONTROL1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->typeName, "Sorvinta.XP_ProgressBar");
    EXPECT_EQ(bar->line, 2);
    EXPECT_EQ(bar->bag.read("left", std::int32_t{0}), 429);
    EXPECT_EQ(bar->bag.read("font", FontValue{}), (FontValue{"Verdana", 9.75, 400}));
    EXPECT_EQ(bar->bag.read("color", ColourRef{}), ColourRef{0xC58E7E});
    EXPECT_EQ(bar->bag.read("scrolling", std::int32_t{0}), 5);
    EXPECT_TRUE(bar->bag.read("showtext", false));

    const FormInstance* button = form.find("cmdRecord");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->bag.read("caption", ""), "RE\"CORD\\");
    EXPECT_EQ(button->bag.read("backcolour", ColourRef{}), ColourRef{0x8000000F});
    EXPECT_EQ(button->bag.read("picture", PictureValue{}).source, ":/record.png");
    EXPECT_TRUE(button->bag.contains("mouseicon"));
    EXPECT_TRUE(button->bag.read("mouseicon", PictureValue{"x"}).isNone());
}

TEST(FormFile, ControlArrayMembersCarryTheirIndex) {
    const FormFile form = parse(
        "[optFreq(0) Sorvinta.bvlBUTTON]\ncaption = \"A\"\n[optFreq(12) Sorvinta.bvlBUTTON]\n",
        "f");
    EXPECT_TRUE(form.diagnostics.empty()) << testing::PrintToString(texts(form));
    ASSERT_NE(form.find("optFreq(0)"), nullptr);
    EXPECT_EQ(form.find("optFreq(0)")->bag.read("caption", ""), "A");
    EXPECT_NE(form.find("OPTFREQ(12)"), nullptr);
    EXPECT_EQ(form.find("optFreq"), nullptr);
}

struct BadCase {
    const char* name;
    const char* text;
    int line;
    const char* messagePart;
};

class FormFileDiagnostics : public testing::TestWithParam<BadCase> {};

// Each file holds one fault on the given line; the good lines around it are still read.
TEST_P(FormFileDiagnostics, NamesFileAndLineAndKeepsTheRest) {
    const BadCase& c = GetParam();
    const FormFile form = parse(c.text, "form1.form");
    ASSERT_EQ(form.diagnostics.size(), 1u) << testing::PrintToString(texts(form));
    const FormDiagnostic& d = form.diagnostics.front();
    EXPECT_EQ(d.fileName, "form1.form");
    EXPECT_EQ(d.line, c.line);
    EXPECT_NE(d.message.find(c.messagePart), std::string::npos) << d.text();
    EXPECT_EQ(d.text().rfind("form1.form:" + std::to_string(c.line) + ": ", 0), 0u);

    const FormInstance* bar = form.find("bar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->bag.read("scrolling", std::int32_t{0}), 5);
    EXPECT_FALSE(bar->bag.contains("max"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormFileDiagnostics,
    testing::Values(
        BadCase{"MalformedLine", "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\nmax 50\n", 3,
                "malformed line"},
        BadCase{"UnknownKey", "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\nspeed = 3\n", 3,
                "unknown key \"speed\""},
        BadCase{"IntegerWanted", "[bar Sorvinta.XP_ProgressBar]\nmax = ten\nscrolling = 5\n", 2,
                "needs an integer"},
        BadCase{"IntegerOverflow",
                "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\nmax = 2147483648\n", 3,
                "needs an integer"},
        BadCase{"BooleanWanted", "[bar Sorvinta.XP_ProgressBar]\nshowtext = 1\nscrolling = 5\n", 2,
                "boolean"},
        BadCase{"ChannelAbove255",
                "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\ncolor = RGB(256, 0, 0)\n", 3,
                "colour"},
        BadCase{"FontWithoutSize", "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\nfont = Arial\n",
                3, "font"},
        BadCase{"PictureUnquoted", "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\nimage = a.png\n",
                3, "picture"},
        BadCase{"QuotedPathThatLooksEmbedded",
                "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\nimage = \"base64:?\"\n", 3,
                "picture"},
        BadCase{"KeyBeforeAnySection", "max = 50\n[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\n",
                1, "outside any section"},
        BadCase{"UnknownType",
                "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\n[x Other.Thing]\nmax = 50\n", 3,
                "unknown control type"},
        BadCase{"BadHeader", "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\n[nospace]\nmax = 50\n",
                3, "malformed section header"},
        BadCase{"BadIndex",
                "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\n[opt(x) Sorvinta.bvlBUTTON]\n", 3,
                "malformed section header"},
        BadCase{"EmptyIndex",
                "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\n[opt() Sorvinta.bvlBUTTON]\n", 3,
                "malformed section header"},
        BadCase{"UnclosedHeader",
                "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\n[x Sorvinta.bvlBUTTON\nmax = 50\n",
                3, "malformed section header"},
        BadCase{"DuplicateInstance",
                "[bar Sorvinta.XP_ProgressBar]\nscrolling = 5\n[BAR Sorvinta.XP_ProgressBar]\n"
                "max = 50\n",
                3, "more than once"}),
    [](const testing::TestParamInfo<BadCase>& info) { return info.param.name; });

TEST(FormFile, RepeatedKeyIsReportedAndTheLaterValueWins) {
    const FormFile form = parse("[bar Sorvinta.XP_ProgressBar]\nmax = 5\nMAX = 7\n", "f.form");
    ASSERT_EQ(form.diagnostics.size(), 1u);
    EXPECT_EQ(form.diagnostics[0].line, 3);
    EXPECT_EQ(form.instances.at(0).bag.read("max", std::int32_t{0}), 7);
}

TEST(FormFile, EmptyTextAndWindowsLineEnds) {
    EXPECT_TRUE(parse("", "f.form").instances.empty());
    const FormFile form = parse("[bar Sorvinta.XP_ProgressBar]\r\nmax = 5\r\n", "f.form");
    EXPECT_TRUE(form.diagnostics.empty());
    EXPECT_EQ(form.instances.at(0).bag.read("max", std::int32_t{0}), 5);
}

TEST(FormFile, MissingFileGivesOneDiagnosticAndNoInstances) {
    const FormFile form = loadFormFile("/nonexistent/form1.form", kTypes);
    EXPECT_TRUE(form.instances.empty());
    ASSERT_EQ(form.diagnostics.size(), 1u);
    EXPECT_EQ(form.diagnostics[0].fileName, "/nonexistent/form1.form");
    EXPECT_EQ(form.diagnostics[0].line, 0);
    EXPECT_EQ(form.diagnostics[0].text().rfind("/nonexistent/form1.form: ", 0), 0u);
}

TEST(FormFile, WrittenFormReadsBackTheSame) {
    FormInstance bar{"barMMControl1", "Sorvinta.XP_ProgressBar", 0, {}};
    bar.bag.write("Font", FontValue{"DejaVu Sans", 8.25, 700, true, false, true});
    bar.bag.write("Color", ColourRef{0x00C58E7E});
    bar.bag.write("BrushStyle", std::int32_t{-2147483647 - 1});
    bar.bag.write("Image", PictureValue{"base64:iVBORw0KGgo="});
    bar.bag.write("ShowText", false);
    FormInstance button{"cmdPlay", "Sorvinta.bvlBUTTON", 0, {}};
    button.bag.write("Caption", std::string("say \"hi\"\\\n\tok"));
    button.bag.write("BackColour", ColourRef{0x8000000F});
    button.bag.write("Picture", PictureValue{":/a b.png"});

    const std::string text = writeFormFile({bar, button});
    const FormFile form = parse(text, "out.form");
    EXPECT_TRUE(form.diagnostics.empty()) << text;
    ASSERT_EQ(form.instances.size(), 2u);
    EXPECT_EQ(form.instances[0].bag, bar.bag) << text;
    EXPECT_EQ(form.instances[1].bag, button.bag) << text;
    EXPECT_NE(text.find("color = RGB(126, 142, 197)"), std::string::npos) << text;
    EXPECT_NE(text.find("backcolour = 0x8000000F"), std::string::npos) << text;
}
