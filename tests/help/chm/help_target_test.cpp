#include "help/chm/help_target.h"
#include "help/chm/popup_text_file.h"

#include <gtest/gtest.h>

TEST(HelpTarget, FileTopicAndWindow) {
    const struct {
        const char* text;
        const char* file;
        const char* topic;
        const char* window;
    } cases[] = {
        {"/x/a.chm", "/x/a.chm", "", ""},
        {"/x/a.chm>Main", "/x/a.chm", "", "Main"},
        {"/x/a.chm::/t.htm", "/x/a.chm", "/t.htm", ""},
        {"/x/a.chm::/d/t.htm#part>Main", "/x/a.chm", "/d/t.htm#part", "Main"},
        {"/x/a.chm> Main ", "/x/a.chm", "", " Main "},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        const HelpTarget t = parseHelpTarget(c.text);
        EXPECT_EQ(t.file, c.file) << c.text;
        EXPECT_EQ(t.topic, c.topic) << c.text;
        EXPECT_EQ(t.window, c.window) << c.text;
    }
}

TEST(HelpLink, ArchiveLinksAndLinksThatLeave) {
    const struct {
        const char* link;
        const char* file;
        const char* path;
        bool external;
        bool openable = false;
    } cases[] = {
        {"b.htm#x", "", "b.htm#x", false},
        {"ms-its:other.chm::/a.htm", "other.chm", "/a.htm", false},
        {"MS-ITS:Other.chm::/a.htm", "Other.chm", "/a.htm", false},
        {"mk:@MSITStore:C:\\help\\x.chm::/d/a.htm", "C:\\help\\x.chm", "/d/a.htm", false},
        {"its:x.chm::a.htm", "x.chm", "a.htm", false},
        {"ms-its:x.chm", "x.chm", "", false},
        {"https://example.org/", "", "https://example.org/", true, true},
        {"HTTP://example.org/", "", "HTTP://example.org/", true, true},
        {"mailto:someone@example.org", "", "mailto:someone@example.org", true, true},
        // Leaving the help file for anything else opens nothing at a click.
        {"file:///home/u/payload.desktop", "", "file:///home/u/payload.desktop", true},
        {"ftp://example.org/x", "", "ftp://example.org/x", true},
        {"javascript:alert(1)", "", "javascript:alert(1)", true},
        {"x-scheme+1.b:thing", "", "x-scheme+1.b:thing", true},
        {"C:\\Windows\\notepad.exe", "", "C:\\Windows\\notepad.exe", true},
        // A colon further on is part of a path inside the file.
        {"pages/a:b.htm", "", "pages/a:b.htm", false},
        {"#part:2", "", "#part:2", false},
    };
    for (const auto& c : cases) {
        const HelpLink l = parseHelpLink(c.link);
        EXPECT_EQ(l.file, c.file) << c.link;
        EXPECT_EQ(l.path, c.path) << c.link;
        EXPECT_EQ(l.external, c.external) << c.link;
        EXPECT_EQ(l.openable, c.openable) << c.link;
    }
}

TEST(HelpLink, PathsResolveFromThePageThatLinks) {
    const struct {
        const char* base;
        const char* link;
        const char* path;
    } cases[] = {
        {"/pages/a.htm", "b.htm", "/pages/b.htm"},
        {"/pages/a.htm", "../intro.htm#top", "/intro.htm#top"},
        {"/pages/a.htm", "/x/./y/../z.htm", "/x/z.htm"},
        {"/pages/a.htm#old", "#new", "/pages/a.htm#new"},
        {"/a.htm", "../../../b.htm", "/b.htm"},
        {"/", "dir\\c.htm", "/dir/c.htm"},
        {"/", "", "/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolveTopicPath(c.base, c.link), c.path) << c.base << " + " << c.link;
}

TEST(PopupTextFile, NumberedTopicsWithTheirLines) {
    const auto popups = parsePopupTextFile("before\n.topic 7\nFirst.\n.topic 8\r\n\r\nSecond,\r\n"
                                           "two lines.\r\n\r\n.topic name\nskipped\n"
                                           ".topic 9\n");
    ASSERT_EQ(popups.size(), 3u);
    EXPECT_EQ(popups.at(7), "First.");
    EXPECT_EQ(popups.at(8), "Second,\ntwo lines.");
    EXPECT_EQ(popups.at(9), "");
    EXPECT_TRUE(parsePopupTextFile("").empty());
}
