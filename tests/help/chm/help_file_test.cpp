#include "help/chm/help_file.h"

#include "../help_file_patch.h"
#include "help_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <future>

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

// Many help files name their contents and index only in their default window type, and some
// name them nowhere: every caller gets them the same way, from the window type given, else the
// default one, else #SYSTEM, else the one .hhc (.hhk) at the file's root.
TEST(HelpFileSitemaps, FromTheDefaultWindowTypeElseTheOneFileAtTheRoot) {
    HelpFilePatch windowOnly(testHelpFile("sample.chm"));
    ASSERT_TRUE(windowOnly.isRead());
    windowOnly.hideSystemRecords(0);
    windowOnly.hideSystemRecords(1);
    HelpFilePatch rootOnly = windowOnly;
    rootOnly.hideSystemRecords(5);
    QTemporaryDir dir;
    const struct {
        std::string path;
        const char* contents;
        const char* index;
    } cases[] = {
        {windowOnly.writeTo(dir.path(), "window-only.chm"), "toc.hhc", "keywords.hhk"},
        {rootOnly.writeTo(dir.path(), "root-only.chm"), "/toc.hhc", "/keywords.hhk"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto file = HelpFile::open(c.path, error);
        ASSERT_TRUE(file) << error;
        ASSERT_TRUE(file->system().contentsFile.empty() && file->system().indexFile.empty())
            << "the #SYSTEM records were not hidden";
        EXPECT_EQ(file->contentsFile(), c.contents) << c.path;
        EXPECT_EQ(file->indexFile(), c.index) << c.path;
        EXPECT_EQ(file->contentsFile(file->windowType("Plain")), c.contents) << c.path;
        ASSERT_EQ(file->contents().size(), 5u) << c.path;
        EXPECT_EQ(file->contents().front().name(), "Introduction");
        EXPECT_THAT(file->topicsForKeyword("welcome"), ElementsAre("/intro.htm")) << c.path;
    }
}

// The help compiler names chunk 1 as the first listing chunk when the listing takes several;
// the pages listed in chunk 0 are searched all the same.
TEST(HelpFileListing, SearchFindsThePagesOfEveryListingChunk) {
    const std::string path = testHelpFile("loose-unfinished.chm");
    HelpFilePatch raw(path);
    ASSERT_TRUE(raw.isRead());
    ASSERT_NE(raw.u32(raw.firstListingField()), 0u)
        << "the help compiler no longer shows the fault";
    std::string error;
    const auto file = HelpFile::open(path, error);
    ASSERT_TRUE(file) << error;
    EXPECT_TRUE(file->contents().empty());
    EXPECT_EQ(file->catalog().paths.size(), 420u);
    for (int n = 0; n < 420; ++n) {
        const std::string topic = "/topic" + std::to_string(n) + ".htm";
        EXPECT_THAT(file->search("uniqueword" + std::to_string(n)), ElementsAre(topic));
    }
}

namespace {

// The program's test file of many topics, damaged where its data say.
struct Damaged {
    std::string path;
    std::string error; // from opening it
    std::shared_ptr<HelpFile> file;
};

Damaged damagedManyTopics(const QTemporaryDir& dir, const char* name,
                          const std::function<void(HelpFilePatch&)>& damage) {
    HelpFilePatch patch(testHelpFile("many.chm"));
    damage(patch);
    Damaged d;
    d.path = patch.writeTo(dir.path(), name);
    d.file = HelpFile::open(d.path, d.error);
    return d;
}

// Zeros where the decompressor reads a block's type: it cannot decompress that block, nor any
// later block before the next restart.
void spoilBlock(HelpFilePatch& p, quint32 block) {
    const qsizetype at = p.compressedBlock(block);
    ASSERT_GT(at, 0);
    for (qsizetype i = 0; i < 16; ++i)
        p.bytes()[at + i] = 0;
}

} // namespace

// Damage that shows only when a file inside is read is told as damage, never as a file without
// contents, pages or context ids. chmcmd puts the pages first in the compressed section, then
// the contents, then the internal files, restarting every second block.
TEST(HelpFileDamage, FilesThatCannotBeReadAreToldApart) {
    QTemporaryDir dir;
    // The first two blocks: every page and the start of the contents.
    const Damaged pages =
        damagedManyTopics(dir, "pages.chm", [](HelpFilePatch& p) { spoilBlock(p, 0); });
    ASSERT_TRUE(pages.file) << pages.error;
    EXPECT_TRUE(pages.file->contents().empty());
    EXPECT_THAT(pages.file->damagedFiles(), ElementsAre("/toc.hhc"));
    EXPECT_EQ(pages.file->damage(), "is damaged: /toc.hhc cannot be read");
    EXPECT_TRUE(pages.file->search("uniqueword1").empty());
    EXPECT_EQ(pages.file->catalog().unreadable.size(), 420u);
    EXPECT_EQ(pages.file->damage(), "is damaged: 421 of its files cannot be read");

    // One page said to lie beyond the compressed section.
    const Damaged onePage = damagedManyTopics(dir, "one-page.chm", [](HelpFilePatch& p) {
        const auto page = p.entry("/topic300.htm");
        ASSERT_TRUE(page);
        ASSERT_GE(page->start, 1u << 14) << "the start must take three bytes";
        p.setNumber(page->startAt, (1u << 21) - 1);
    });
    ASSERT_TRUE(onePage.file) << onePage.error;
    bool damaged = false;
    EXPECT_FALSE(onePage.file->read("topic300.htm", &damaged));
    EXPECT_TRUE(damaged);
    EXPECT_FALSE(onePage.file->read("none.htm", &damaged));
    EXPECT_FALSE(damaged);
    EXPECT_EQ(onePage.file->search("shared").size(), 419u);
    EXPECT_THAT(onePage.file->catalog().unreadable, ElementsAre("/topic300.htm"));
    EXPECT_EQ(onePage.file->damage(), "is damaged: /topic300.htm cannot be read");

    // The internal files, which every use needs: the file does not open.
    const Damaged internal =
        damagedManyTopics(dir, "internal.chm", [](HelpFilePatch& p) { spoilBlock(p, 2); });
    EXPECT_FALSE(internal.file);
    EXPECT_EQ(internal.error, "is damaged: its internal file #STRINGS cannot be read");

    // Cut short in its compressed section: what lies past the end cannot be read.
    const Damaged cut = damagedManyTopics(
        dir, "cut.chm", [](HelpFilePatch& p) { p.bytes().truncate(p.compressedBlock(2) + 10); });
    EXPECT_FALSE(cut.file);
    EXPECT_EQ(cut.error, "is damaged: its internal file #STRINGS cannot be read");
}

// The catalog read on a thread of its own, as a help window starts it, is the one read at once:
// the same pages, titles, names and answers, and the same pages told as damaged.
TEST(HelpFileCatalog, ReadBesideIsTheSameAsReadAtOnce) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        std::function<void(HelpFilePatch&)> damage;
    } cases[] = {
        {"many.chm", [](HelpFilePatch&) {}},
        {"pages.chm", [](HelpFilePatch& p) { spoilBlock(p, 0); }},
    };
    for (const auto& c : cases) {
        HelpFilePatch patch(testHelpFile("many.chm"));
        c.damage(patch);
        const std::string path = patch.writeTo(dir.path(), c.name);
        std::string error;
        const auto atOnce = HelpFile::open(path, error);
        const auto beside = HelpFile::open(path, error);
        ASSERT_TRUE(atOnce && beside) << c.name << " " << error;

        std::promise<void> done;
        beside->prepareCatalog([&done] { done.set_value(); });
        beside->prepareCatalog(); // once only
        ASSERT_EQ(done.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready);
        EXPECT_TRUE(beside->catalogReady()) << c.name;
        EXPECT_FALSE(atOnce->catalogReady()) << c.name;

        const TopicCatalog& a = atOnce->catalog();
        const TopicCatalog& b = beside->catalog();
        EXPECT_EQ(b.paths, a.paths) << c.name;
        EXPECT_EQ(b.titles, a.titles) << c.name;
        EXPECT_EQ(b.unreadable, a.unreadable) << c.name;
        EXPECT_EQ(beside->damagedFiles(), atOnce->damagedFiles()) << c.name;
        for (const char* query : {"shared", "uniqueword7", "topic*"})
            EXPECT_EQ(beside->search(query), atOnce->search(query)) << c.name << " " << query;
    }
}

// A file let go while its catalog is still being read waits for no more than the page at hand.
TEST(HelpFileCatalog, AFileLetGoWhileItsCatalogIsReadEndsTheReading) {
    std::string error;
    auto file = HelpFile::open(testHelpFile("many.chm"), error);
    ASSERT_TRUE(file) << error;
    file->prepareCatalog();
    file.reset();
}
