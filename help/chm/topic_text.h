#pragma once

#include <string>
#include <string_view>
#include <vector>

// What a topic page holds for the search and for link lookups, as UTF-8.
struct TopicText {
    std::string title;                 // the <title>
    std::string body;                  // the visible text; block elements are separated by blanks
    std::vector<std::string> alinks;   // associative-link names the page declares
    std::vector<std::string> keywords; // keywords the page declares
    std::vector<std::string> styleSheets; // hrefs of <link rel="stylesheet">
};

// Reads a page with libxml2's HTML parser (as a stream, no tree). A page declares its link
// names and keywords in <object type="application/x-oleobject"> elements, with
// <param name="ALink Name" value="a;b"> and <param name="Keyword" value="c;d">.
TopicText readTopicText(std::string_view html, const std::string& encoding);

// The title and visible text of a UTF-8 page for the search, by a plain scan rather than a
// parse: the first search of a large help file reads every page, and a full parse of each took
// longer than reading them. Comments, script and style are skipped, block elements separate
// words, and entities are decoded with libxml2's table.
void scanPageText(std::string_view html, std::string& title, std::string& body);

// True when the page has an <object> tag, the only place where it can declare link names or
// keywords; pages without one need no parse for them.
bool mayDeclareNames(std::string_view html);

// The names of a ";"-separated list, without the blanks around them and without empty ones.
std::vector<std::string> splitNames(std::string_view list);
