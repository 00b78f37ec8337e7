#pragma once

#include <string>
#include <string_view>
#include <vector>

// One entry of a contents (.hhc) or keyword index (.hhk) file, in document order. `level` is
// its depth in the tree (0 at the top); each entry is at most one level below the one before.
// An index entry's first name is its keyword; further names title its further topics.
struct SitemapEntry {
    int level = 0;
    std::vector<std::string> names;
    std::vector<std::string> locals;
    std::string seeAlso;

    const std::string& name() const;
    std::string local() const; // the first topic, or empty
};

// The entries of a sitemap file, read with libxml2's HTML parser. `encoding` is handed to the
// parser (empty: the file's own declaration). Damaged input gives what could be read.
std::vector<SitemapEntry> parseSitemap(std::string_view html, const std::string& encoding);
