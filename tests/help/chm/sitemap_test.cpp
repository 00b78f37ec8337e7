#include "help/chm/sitemap.h"

#include <gtest/gtest.h>

namespace {

// Each entry as "<level>:<names joined by |>=<locals joined by |>".
std::vector<std::string> outline(const std::string& html) {
    std::vector<std::string> lines;
    for (const SitemapEntry& e : parseSitemap(html, "UTF-8")) {
        std::string line = std::to_string(e.level) + ":";
        for (std::size_t i = 0; i < e.names.size(); ++i)
            line += (i ? "|" : "") + e.names[i];
        line += "=";
        for (std::size_t i = 0; i < e.locals.size(); ++i)
            line += (i ? "|" : "") + e.locals[i];
        if (!e.seeAlso.empty())
            line += " see " + e.seeAlso;
        lines.push_back(line);
    }
    return lines;
}

std::string item(const char* name, const char* local) {
    return std::string("<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"") + name +
           "\"><param name=\"Local\" value=\"" + local + "\"></object>";
}

} // namespace

TEST(Sitemap, NestingWhicheverWayTheListsAreWritten) {
    const struct {
        const char* what;
        std::string html;
        std::vector<std::string> outline;
    } cases[] = {
        {"list inside an open item",
         "<ul>" + item("A", "a.htm") + "<ul>" + item("B", "b.htm") + "</ul>" + item("C", "c.htm") +
             "</ul>",
         {"0:A=a.htm", "1:B=b.htm", "0:C=c.htm"}},
        {"list after a closed item",
         "<ul>" + item("A", "a.htm") + "</li><ul>" + item("B", "b.htm") + "</li></ul></ul>",
         {"0:A=a.htm", "1:B=b.htm"}},
        {"three levels then back to the top",
         "<ul>" + item("A", "a") + "<ul>" + item("B", "b") + "<ul>" + item("C", "c") +
             "</ul></ul>" + item("D", "d") + "</ul>",
         {"0:A=a", "1:B=b", "2:C=c", "0:D=d"}},
        {"a jump of two levels is one level",
         "<ul>" + item("A", "a") + "<ul><ul>" + item("B", "b") + "</ul></ul></ul>",
         {"0:A=a", "1:B=b"}},
        {"upper-case tags and parameters, entities",
         "<UL><LI><OBJECT TYPE=\"Text/Sitemap\"><PARAM NAME=\"NAME\" VALUE=\"R&amp;D &lt;x&gt;\">"
         "<PARAM NAME=\"LOCAL\" VALUE=\"r%20d.htm\"></OBJECT></UL>",
         {"0:R&D <x>=r%20d.htm"}},
        {"other objects and empty ones are skipped",
         "<object type=\"text/site properties\"><param name=\"Name\" value=\"no\"></object><ul>"
         "<li><object type=\"text/sitemap\"></object>" +
             item("A", "a") + "</ul>",
         {"0:A=a"}},
        {"several names and topics, see also",
         "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"K\">"
         "<param name=\"Name\" value=\"T1\"><param name=\"Local\" value=\"1.htm\">"
         "<param name=\"Name\" value=\"T2\"><param name=\"Local\" value=\"2.htm\"></object>"
         "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"S\">"
         "<param name=\"See Also\" value=\"K\"></object></ul>",
         {"0:K|T1|T2=1.htm|2.htm", "0:S= see K"}},
        {"no lists at all", item("A", "a"), {"0:A=a"}},
        {"nothing", "", {}},
        {"not html", std::string("\0\x01\x02<<<>>>", 9), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(outline(c.html), c.outline) << c.what;
}

TEST(Sitemap, TheFilesOwnCharsetOrTheOneHandedIn) {
    const std::string cp1251 = "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" "
                               "value=\"\xc7\xe0\xef\xe8\xf1\xfc\"></object></ul>";
    const auto entries = parseSitemap(cp1251, "windows-1251");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name(), "Запись");
    const std::string declared =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=windows-1251\"></head><body>" +
        cp1251 + "</body></html>";
    const auto own = parseSitemap(declared, "");
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].name(), "Запись");
}

TEST(Sitemap, DeepNestingIsCutRatherThanOverflowingTheStack) {
    std::string html;
    for (int i = 0; i < 20000; ++i)
        html += "<ul><li>";
    html += "<object type=\"text/sitemap\"><param name=\"Name\" value=\"deep\"></object>";
    const auto entries = parseSitemap(html, "UTF-8");
    EXPECT_LE(entries.size(), 1u);
}

// Lists nested without end: reading stops at a depth no real contents reaches, keeping the
// entries above it in their places.
TEST(Sitemap, NestingPastAnyRealDepthEndsTheReading) {
    std::string html = "<html><body>";
    for (int i = 0; i < 5000; ++i) {
        html += "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Level " +
                std::to_string(i) + "\"></object>";
    }
    const auto entries = parseSitemap(html, "UTF-8");
    ASSERT_GE(entries.size(), 40u);
    ASSERT_LT(entries.size(), 5000u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].level, static_cast<int>(i));
        EXPECT_EQ(entries[i].name(), "Level " + std::to_string(i));
    }
}
