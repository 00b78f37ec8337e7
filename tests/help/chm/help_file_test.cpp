#include "help/chm/help_file.h"

#include "help_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

class HelpFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        file = HelpFile::open(testHelpFile("sample.chm"), error);
        ASSERT_TRUE(file) << error;
    }
    static void TearDownTestSuite() { file.reset(); }
    static std::shared_ptr<HelpFile> file;
};
std::shared_ptr<HelpFile> HelpFileTest::file;

TEST_F(HelpFileTest, ContextIdsLeadToTopicsWhereverTheFileWasBuilt) {
    EXPECT_EQ(file->topicForContext(1), "/intro.htm");
    EXPECT_EQ(file->topicForContext(20), "/pages/second.htm");
    EXPECT_EQ(file->topicForContext(300), "/pages/cyrillic.htm");
    EXPECT_EQ(file->topicForContext(2), std::nullopt);
}

TEST_F(HelpFileTest, DefaultTopicOfTheFileAndOfAWindowType) {
    EXPECT_EQ(file->defaultTopic(), "/intro.htm");
    EXPECT_EQ(file->defaultTopic(file->windowType("plain")), "/pages/second.htm");
    EXPECT_EQ(file->windowType("PLAIN")->caption, "Plain Window");
    EXPECT_EQ(file->windowType("none"), nullptr);
    EXPECT_EQ(file->title(), QStringLiteral("Sample Help"));
}

TEST_F(HelpFileTest, TopicsAreFoundInAnyCaseWithTheirAnchors) {
    EXPECT_EQ(file->findTopic("Pages/SECOND.htm#part"), "/pages/second.htm#part");
    EXPECT_EQ(file->findTopic("/intro.htm"), "/intro.htm");
    EXPECT_EQ(file->findTopic("pages/../intro.htm"), "/intro.htm");
    EXPECT_EQ(file->findTopic("missing.htm"), std::nullopt);
}

TEST_F(HelpFileTest, ContentsTree) {
    std::vector<std::string> lines;
    for (const SitemapEntry& e : file->contents())
        lines.push_back(std::string(2 * e.level, ' ') + e.name() + "\t" + e.local());
    EXPECT_THAT(lines, ElementsAre("Introduction\tintro.htm", "Pages & more\t",
                                   "  Second page\tpages/second.htm",
                                   "  Запись\tpages/cyrillic.htm", "Latin\tpages/latin1.htm"));
}

TEST_F(HelpFileTest, KeywordsFromTheIndexItsSeeAlsoAndThePages) {
    EXPECT_THAT(file->topicsForKeyword("welcome"), ElementsAre("/intro.htm"));
    EXPECT_THAT(file->topicsForKeyword("Pages"),
                ElementsAre("/pages/second.htm", "/pages/latin1.htm"));
    EXPECT_THAT(file->topicsForKeyword("second part"), ElementsAre("/pages/second.htm#part"));
    EXPECT_THAT(file->topicsForKeyword("elsewhere"),
                ElementsAre("/pages/second.htm", "/pages/latin1.htm"));
    EXPECT_TRUE(file->topicsForKeyword("nothing").empty());
}

TEST_F(HelpFileTest, LinkNamesThePagesDeclare) {
    EXPECT_THAT(file->topicsForALink("begin"),
                ::testing::UnorderedElementsAre("/intro.htm", "/pages/second.htm"));
    EXPECT_THAT(file->topicsForALink("Start"), ElementsAre("/intro.htm"));
    EXPECT_TRUE(file->topicsForALink("Welcome").empty());
}

TEST_F(HelpFileTest, SearchReadsEveryPageInItsOwnCharset) {
    EXPECT_THAT(file->search("запись"), ElementsAre("/pages/cyrillic.htm"));
    EXPECT_THAT(file->search("ήχοσ"), ElementsAre("/pages/cyrillic.htm"));
    EXPECT_THAT(file->search("déjà"), ElementsAre("/pages/latin1.htm"));
    EXPECT_THAT(file->search("café"),
                ::testing::UnorderedElementsAre("/pages/cyrillic.htm", "/pages/latin1.htm"));
    EXPECT_THAT(file->search("chips"), ElementsAre("/pages/script.htm"));
    EXPECT_TRUE(file->search("hiddenscript").empty());
    EXPECT_TRUE(file->search("hiddenstyle").empty());
    EXPECT_EQ(file->search("recording").front(), "/intro.htm");
    EXPECT_EQ(file->catalog().paths.size(), 5u);
}

TEST_F(HelpFileTest, PopupTexts) {
    EXPECT_EQ(file->popupText("popups.txt", 7), "First popup.");
    EXPECT_EQ(file->popupText("POPUPS.TXT", 8), "Second popup,\ntwo lines.");
    EXPECT_EQ(file->popupText("popups.txt", 9), std::nullopt);
    EXPECT_EQ(file->popupText("missing.txt", 7), std::nullopt);
}

TEST_F(HelpFileTest, TopicTitlesFromTheContentsElseThePage) {
    EXPECT_EQ(file->topicTitle("/pages/cyrillic.htm"), "Запись");
    EXPECT_EQ(file->topicTitle("/pages/script.htm"), "Scripted page");
}

// The program's own help file: How to Use is context 1 and every topic can be reached.
TEST(ProgramHelpFile, EveryContextLeadsToATopicAndHowToUseIsOne) {
    std::string error;
    const auto help = HelpFile::open(PROGRAM_HELP_FILE, error);
    ASSERT_TRUE(help) << error;
    EXPECT_EQ(help->topicForContext(1), "/howto.htm");
    EXPECT_FALSE(help->contextMap().empty());
    for (const auto& [id, path] : help->contextMap())
        EXPECT_TRUE(help->topicForContext(id)) << id << " " << path;
    const ChmWindowType* main = help->windowType("Main");
    ASSERT_TRUE(main);
    EXPECT_EQ(main->caption, "Sorvinta Help");
    for (const SitemapEntry& e : help->contents())
        EXPECT_TRUE(e.local().empty() || help->findTopic(e.local())) << e.local();
    for (const SitemapEntry& e : help->keywordIndex())
        for (const std::string& local : e.locals)
            EXPECT_TRUE(help->findTopic(local)) << local;
    EXPECT_EQ(help->topicsForALink("How to Use").size(), 1u);
}
