#include "help/chm/chm_internal_files.h"

#include "help/chm/chm_archive.h"
#include "help_files.h"

#include <gtest/gtest.h>

namespace {

std::string internalFile(const char* name) {
    std::string error;
    const auto archive = ChmArchive::open(testHelpFile("sample.chm"), error);
    return archive ? archive->read(name).value_or("") : "";
}

} // namespace

TEST(ChmInternalFiles, SystemNamesTheFilesTitleAndDefaults) {
    const ChmSystemInfo info = parseSystem(internalFile("/#SYSTEM"));
    EXPECT_EQ(info.title, "Sample Help");
    EXPECT_EQ(info.defaultTopic, "intro.htm");
    EXPECT_EQ(info.contentsFile, "toc.hhc");
    EXPECT_EQ(info.indexFile, "keywords.hhk");
    EXPECT_EQ(info.defaultWindow, "Main");
    EXPECT_EQ(info.language, 0x409u);
}

TEST(ChmInternalFiles, ContextIdsMapToTheCompilersPaths) {
    const auto map = parseContextMap(internalFile("/#IVB"), internalFile("/#STRINGS"));
    ASSERT_EQ(map.size(), 3u);
    EXPECT_TRUE(map.at(1).ends_with("/intro.htm")) << map.at(1);
    EXPECT_TRUE(map.at(20).ends_with("/pages/second.htm")) << map.at(20);
    EXPECT_TRUE(map.at(300).ends_with("/pages/cyrillic.htm")) << map.at(300);
}

TEST(ChmInternalFiles, WindowTypesCarryCaptionPlaceAndPanes) {
    const auto types = parseWindowTypes(internalFile("/#WINDOWS"), internalFile("/#STRINGS"));
    ASSERT_EQ(types.size(), 2u);
    const ChmWindowType& main = types[0];
    EXPECT_EQ(main.name, "Main");
    EXPECT_EQ(main.caption, "Sample Main Window");
    EXPECT_EQ(main.left, 40);
    EXPECT_EQ(main.top, 50);
    EXPECT_EQ(main.right, 840);
    EXPECT_EQ(main.bottom, 650);
    EXPECT_EQ(main.navigationWidth, 240);
    EXPECT_TRUE(main.properties & kWindowTriPane);
    EXPECT_TRUE(main.properties & kWindowSearchTab);
    EXPECT_EQ(main.contentsFile, "toc.hhc");
    EXPECT_EQ(main.indexFile, "keywords.hhk");
    EXPECT_EQ(main.homeFile, "intro.htm");
    const ChmWindowType& plain = types[1];
    EXPECT_EQ(plain.caption, "Plain Window");
    EXPECT_FALSE(plain.properties & kWindowTriPane);
    EXPECT_EQ(plain.defaultFile, "pages/second.htm");
}

// Cut short or with numbers that point anywhere, the readers keep to the bytes they were given.
TEST(ChmInternalFiles, DamagedBytesGiveWhatCanBeRead) {
    const std::string system = internalFile("/#SYSTEM");
    const std::string ivb = internalFile("/#IVB");
    const std::string windows = internalFile("/#WINDOWS");
    const std::string strings = internalFile("/#STRINGS");
    for (std::size_t n = 0; n <= system.size(); n += 3)
        parseSystem(std::string_view(system).substr(0, n));
    for (std::size_t n = 0; n <= ivb.size(); ++n)
        EXPECT_LE(parseContextMap(std::string_view(ivb).substr(0, n), strings).size(), 3u);
    for (std::size_t n = 0; n <= windows.size(); n += 5)
        EXPECT_LE(parseWindowTypes(std::string_view(windows).substr(0, n), strings).size(), 2u);
    for (std::size_t n = 0; n <= strings.size(); n += 7)
        parseWindowTypes(windows, std::string_view(strings).substr(0, n));

    std::string huge = ivb;
    huge[0] = huge[1] = huge[2] = huge[3] = '\xff';
    EXPECT_EQ(parseContextMap(huge, strings).size(), 3u);
    std::string manyWindows = windows;
    manyWindows[0] = manyWindows[1] = manyWindows[2] = manyWindows[3] = '\xff';
    EXPECT_EQ(parseWindowTypes(manyWindows, strings).size(), 2u);
    EXPECT_EQ(stringAt(strings, 0xFFFFFFFFu), "");
}
