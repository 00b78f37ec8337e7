// Encodings, page text, words and the search.
#include "help/chm/text_encoding.h"
#include "help/chm/topic_search.h"
#include "help/chm/topic_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

TEST(TextEncoding, CharsetOfTheFilesLanguage) {
    const struct {
        std::uint32_t language;
        const char* charset;
    } cases[] = {
        {0x0409, "windows-1252"}, {0x0407, "windows-1252"}, {0x0419, "windows-1251"},
        {0x0405, "windows-1250"}, {0x0408, "windows-1253"}, {0x041F, "windows-1254"},
        {0x0411, "Shift_JIS"},    {0x0804, "GBK"},          {0x0404, "Big5"},
        {0x081A, "windows-1250"}, {0x0C1A, "windows-1251"}, {0, "windows-1252"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(charsetForLanguage(c.language), c.charset) << std::hex << c.language;
}

TEST(TextEncoding, Utf8IsCheckedStrictly) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("Запись 录音 😀"));
    EXPECT_FALSE(isValidUtf8("caf\xe9"));
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));         // overlong
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xf4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xe2\x82"));         // cut short
}

TEST(TextEncoding, PagesDecodeByWhatTheySayElseUtf8ElseTheFallback) {
    EXPECT_EQ(decodeHtml("<p>caf\xe9</p>", "windows-1252"), QStringLiteral("<p>café</p>"));
    EXPECT_EQ(decodeHtml("<p>café</p>", "windows-1251"), QStringLiteral("<p>café</p>"));
    const std::string declared =
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\xc7\xe0";
    EXPECT_TRUE(decodeHtml(declared, "windows-1252").endsWith(QStringLiteral("За")));
    // The word "charset" alone does not make invalid bytes UTF-8.
    EXPECT_EQ(decodeHtml("charset caf\xe9", "windows-1252"), QStringLiteral("charset café"));
    EXPECT_EQ(htmlEncodingFor("<p>caf\xe9</p>", "windows-1252"), "windows-1252");
    EXPECT_EQ(htmlEncodingFor("<p>café</p>", "windows-1252"), "UTF-8");
    EXPECT_EQ(htmlEncodingFor("<meta charset=\"koi8-r\">", "windows-1252"), "");
}

TEST(TopicText, TitleVisibleTextAndDeclaredNames) {
    const TopicText t = readTopicText(
        "<html><head><title>The  Title</title><style>.x{hidden1}</style>"
        "<script>var hidden2;</script>"
        "<object type=\"application/x-oleobject\"><param name=\"ALink Name\" value=\"A; B ;;\">"
        "<param name=\"keyword\" value=\"K\"></object></head>"
        "<body><p>one<b>two</b></p><p>three&amp;four&nbsp;five</p><br>six</body></html>",
        "UTF-8");
    EXPECT_EQ(t.title, "The  Title");
    EXPECT_EQ(t.body.find("hidden"), std::string::npos);
    EXPECT_NE(t.body.find("onetwo"), std::string::npos);
    EXPECT_NE(t.body.find("three&four\u00a0five"), std::string::npos);
    EXPECT_NE(t.body.find(" six"), std::string::npos);
    EXPECT_THAT(t.alinks, ElementsAre("A", "B"));
    EXPECT_THAT(t.keywords, ElementsAre("K"));
}

TEST(TopicText, NamesOutsideAnObjectDoNotCount) {
    const TopicText t = readTopicText("<param name=\"ALink Name\" value=\"X\">", "UTF-8");
    EXPECT_TRUE(t.alinks.empty());
    EXPECT_TRUE(readTopicText("", "UTF-8").body.empty());
}

// The search reads pages by a plain scan; its words must be those the HTML parser sees.
TEST(TopicText, TheScanSeesTheWordsTheParserSees) {
    const char* const pages[] = {
        "<html><head><title>The  Title</title></head><body><p>one<b>two</b></p>"
        "<p>three&amp;four&nbsp;five&#233;&#x4E2D;</p><br>six</body></html>",
        "<HTML><HEAD><TITLE>Upper</TITLE><STYLE>.x{hidden}</STYLE></HEAD>"
        "<BODY><H1>Head</H1>text<SCRIPT>var hidden = \"</script>\";</SCRIPT>after</BODY>",
        "<p>a < b and c<d</p><!-- hidden comment <p> --><p>shown</p>",
        "<p title=\"x > y\">quoted</p><a href='>'>link</a>&unknown; &amp",
        "<p>unterminated <b",
        "<ul><li>one</li><li>two</li></ul><table><tr><td>cell</td><td>next</td></tr></table>",
    };
    for (const char* page : pages) {
        const TopicText parsed = readTopicText(page, "UTF-8");
        std::string title;
        std::string body;
        scanPageText(page, title, body);
        EXPECT_EQ(splitWords(title), splitWords(parsed.title)) << page;
        EXPECT_EQ(splitWords(body), splitWords(parsed.body)) << page;
    }
}

TEST(TopicText, NestingPastAnyRealDepthEndsTheReading) {
    std::string page = "<html><head><title>Deep</title></head><body>";
    for (int i = 0; i < 5000; ++i)
        page += "<div>level" + std::to_string(i);
    const TopicText t = readTopicText(page, "UTF-8");
    EXPECT_EQ(t.title, "Deep");
    EXPECT_NE(t.body.find("level0"), std::string::npos);
    EXPECT_EQ(t.body.find("level4999"), std::string::npos);
}

TEST(TopicText, OnlyPagesWithObjectsMayDeclareNames) {
    EXPECT_TRUE(mayDeclareNames("<p>x</p><OBJECT type=\"application/x-oleobject\">"));
    EXPECT_TRUE(mayDeclareNames("<object"));
    EXPECT_FALSE(mayDeclareNames("<p>an object, <objec</p>"));
    EXPECT_FALSE(mayDeclareNames(""));
}

TEST(TextEncoding, PagesBecomeUtf8DecodedOnlyWhenTheyAreNot) {
    const struct {
        std::string page;
        std::string utf8;
    } cases[] = {
        {"<p>café</p>", "<p>café</p>"},
        {"<meta charset=\"utf-8\"><p>café</p>", "<meta charset=\"utf-8\"><p>café</p>"},
        {"\xef\xbb\xbf<p>café</p>", "<p>café</p>"},
        {"<p>caf\xe9</p>", "<p>café</p>"},
        {"<meta charset=\"windows-1251\"><p>\xc7\xe0</p>",
         "<meta charset=\"windows-1251\"><p>За</p>"},
        {"<meta charset=\"utf-8\"><p>caf\xe9</p>", "<meta charset=\"utf-8\"><p>café</p>"},
    };
    for (const auto& c : cases) {
        std::string page = c.page;
        makePageUtf8(page, "windows-1252");
        EXPECT_EQ(page, c.utf8) << c.page;
    }
}

TEST(Words, LettersAndDigitsOfAnyScriptFolded) {
    EXPECT_THAT(splitWords("Hello, WORLD! x2 don't"),
                ElementsAre("hello", "world", "x2", "don", "t"));
    EXPECT_THAT(splitWords("ЗАПИСЬ звука"), ElementsAre("запись", "звука"));
    EXPECT_THAT(splitWords("ΉΧΟΣ Café NAÏVE"), ElementsAre("ήχοσ", "café", "naïve"));
    EXPECT_THAT(splitWords("录音机 test"), ElementsAre("录", "音", "机", "test"));
    EXPECT_THAT(splitWords("a\xff"
                           "b"),
                ElementsAre("a", "b"));
    EXPECT_TRUE(splitWords("  ,.;  ").empty());
}

class TopicSearchTest : public ::testing::Test {
protected:
    TopicSearchTest() {
        search.add("Recording", "How to record sound. Press record.");      // 0
        search.add("Formats", "The four formats of a recording.");          // 1
        search.add("Spectrum", "The spectrum shows sound while recording"); // 2
        search.add("Запись", "Нажмите ЗАПИСЬ.");                            // 3
    }
    std::vector<std::uint32_t> topics(const char* query) const {
        std::vector<std::uint32_t> found;
        for (const TopicSearch::Hit& h : search.search(query))
            found.push_back(h.topic);
        return found;
    }
    TopicSearch search;
};

TEST_F(TopicSearchTest, EveryWordMustBeThere) {
    EXPECT_THAT(topics("sound record"), ElementsAre(0));
    EXPECT_THAT(topics("SPECTRUM"), ElementsAre(2));
    EXPECT_TRUE(topics("spectrum formats").empty());
    EXPECT_TRUE(topics("nothing").empty());
    EXPECT_TRUE(topics("").empty());
    EXPECT_TRUE(topics(" ,; ").empty());
}

TEST_F(TopicSearchTest, AStarMatchesTheBeginningOfWords) {
    EXPECT_THAT(topics("record*"), ::testing::UnorderedElementsAre(0, 1, 2));
    EXPECT_THAT(topics("form* rec*"), ElementsAre(1));
}

TEST_F(TopicSearchTest, TitleWordsComeFirst) {
    EXPECT_EQ(topics("recording").front(), 0u);
    EXPECT_EQ(topics("sound").size(), 2u);
}

TEST_F(TopicSearchTest, FindsWordsOfOtherScriptsInAnyCase) {
    EXPECT_THAT(topics("запись"), ElementsAre(3));
    EXPECT_THAT(topics("НАЖМИТЕ"), ElementsAre(3));
}
