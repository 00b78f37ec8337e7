#include "help/chm/topic_text.h"

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <climits>
#include <cstring>
#include <strings.h>

namespace {

bool is(const xmlChar* name, const char* what) {
    return name && strcasecmp(reinterpret_cast<const char*>(name), what) == 0;
}

// Elements that do not break a word: the text on either side runs on.
bool isInline(const xmlChar* name) {
    static const char* const kInline[] = {
        "a",    "b",    "i",     "u",   "em", "strong", "span",    "font", "code",
        "sub",  "sup",  "small", "big", "tt", "abbr",   "acronym", "var",  "kbd",
        "samp", "cite", "dfn",   "q",   "s",  "strike", "mark",    "nobr"};
    for (const char* n : kInline) {
        if (is(name, n))
            return true;
    }
    return false;
}

struct Reader {
    TopicText text;
    int hidden = 0; // inside script or style
    bool inTitle = false;
    bool inObject = false;

    static Reader& of(void* context) {
        auto* ctxt = static_cast<htmlParserCtxtPtr>(context);
        return *static_cast<Reader*>(ctxt->_private);
    }

    static const char* attribute(const xmlChar** attributes, const char* name) {
        for (const xmlChar** a = attributes; a && a[0]; a += 2) {
            if (is(a[0], name))
                return a[1] ? reinterpret_cast<const char*>(a[1]) : "";
        }
        return nullptr;
    }

    static void startElement(void* context, const xmlChar* name, const xmlChar** attributes) {
        Reader& r = of(context);
        if (is(name, "script") || is(name, "style")) {
            ++r.hidden;
        } else if (is(name, "title")) {
            r.inTitle = true;
        } else if (is(name, "object")) {
            r.inObject = true;
        } else if (is(name, "link")) {
            const char* rel = attribute(attributes, "rel");
            const char* href = attribute(attributes, "href");
            if (rel && href && strcasestr(rel, "stylesheet"))
                r.text.styleSheets.emplace_back(href);
        } else if (is(name, "param") && r.inObject) {
            const char* param = attribute(attributes, "name");
            const char* value = attribute(attributes, "value");
            if (param && value) {
                if (strcasecmp(param, "ALink Name") == 0)
                    for (std::string& n : splitNames(value))
                        r.text.alinks.push_back(std::move(n));
                else if (strcasecmp(param, "Keyword") == 0)
                    for (std::string& n : splitNames(value))
                        r.text.keywords.push_back(std::move(n));
            }
        } else if (!isInline(name) && !r.text.body.empty() && r.text.body.back() != ' ') {
            r.text.body += ' ';
        }
    }

    static void endElement(void* context, const xmlChar* name) {
        Reader& r = of(context);
        if ((is(name, "script") || is(name, "style")) && r.hidden > 0)
            --r.hidden;
        else if (is(name, "title"))
            r.inTitle = false;
        else if (is(name, "object"))
            r.inObject = false;
        else if (!isInline(name) && !r.text.body.empty() && r.text.body.back() != ' ')
            r.text.body += ' ';
    }

    static void characters(void* context, const xmlChar* chars, int length) {
        Reader& r = of(context);
        if (r.hidden > 0 || length <= 0)
            return;
        std::string& target = r.inTitle ? r.text.title : r.text.body;
        target.append(reinterpret_cast<const char*>(chars), static_cast<std::size_t>(length));
    }
};

} // namespace

std::vector<std::string> splitNames(std::string_view list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string_view::npos)
            end = list.size();
        std::string_view name = list.substr(start, end - start);
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
            name.remove_prefix(1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
            name.remove_suffix(1);
        if (!name.empty())
            names.emplace_back(name);
        start = end + 1;
    }
    return names;
}

TopicText readTopicText(std::string_view html, const std::string& encoding) {
    Reader reader;
    if (html.empty() || html.size() > INT_MAX)
        return reader.text;
    htmlParserCtxtPtr ctxt = htmlCreateMemoryParserCtxt(html.data(), static_cast<int>(html.size()));
    if (!ctxt)
        return reader.text;
    htmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.startElement = &Reader::startElement;
    sax.endElement = &Reader::endElement;
    sax.characters = &Reader::characters;
    sax.cdataBlock = &Reader::characters;
    std::memcpy(ctxt->sax, &sax, sizeof sax);
    ctxt->_private = &reader;
    ctxt->userData = ctxt;
    htmlCtxtUseOptions(ctxt, HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                 HTML_PARSE_NONET);
    if (!encoding.empty()) {
        if (xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding.c_str()))
            xmlSwitchToEncoding(ctxt, handler);
    }
    htmlParseDocument(ctxt);
    if (ctxt->myDoc)
        xmlFreeDoc(ctxt->myDoc);
    htmlFreeParserCtxt(ctxt);
    return std::move(reader.text);
}
