#include "help/chm/topic_text.h"

#include "help/chm/html_nesting.h"
#include "help/chm/text_encoding.h"

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

bool is(const xmlChar* name, const char* what) {
    return name && strcasecmp(reinterpret_cast<const char*>(name), what) == 0;
}

// Elements that do not break a word: the text on either side runs on.
constexpr std::string_view kInline[] = {
    "a",    "b",    "i",     "u",   "em", "strong", "span",    "font", "code",
    "sub",  "sup",  "small", "big", "tt", "abbr",   "acronym", "var",  "kbd",
    "samp", "cite", "dfn",   "q",   "s",  "strike", "mark",    "nobr"};

bool isInline(const xmlChar* name) {
    for (const std::string_view n : kInline) {
        if (is(name, n.data()))
            return true;
    }
    return false;
}

struct Reader {
    TopicText text;
    int hidden = 0; // inside script or style
    int depth = 0;  // elements open
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
        if (++r.depth > kMaxHtmlNesting) {
            xmlStopParser(static_cast<htmlParserCtxtPtr>(context));
            return;
        }
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
        if (r.depth-- > kMaxHtmlNesting)
            return;
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

// The same test for a lower-case name.
bool isInlineName(std::string_view name) {
    for (const std::string_view n : kInline) {
        if (n == name)
            return true;
    }
    return false;
}

std::size_t findNoCase(std::string_view text, std::string_view what, std::size_t from) {
    for (std::size_t i = from; i + what.size() <= text.size(); ++i) {
        if (strncasecmp(text.data() + i, what.data(), what.size()) == 0)
            return i;
    }
    return std::string_view::npos;
}

// Decodes the entity at html[i] == '&' into `out`; returns the index after it.
std::size_t decodeEntity(std::string_view html, std::size_t i, std::string& out) {
    const std::size_t end = html.find(';', i + 1);
    if (end == std::string_view::npos || end - i > 32) {
        out += '&';
        return i + 1;
    }
    const std::string name(html.substr(i + 1, end - i - 1));
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        char* stop = nullptr;
        const unsigned long cp = std::strtoul(name.c_str() + (hex ? 2 : 1), &stop, hex ? 16 : 10);
        if (stop && *stop == '\0' && cp <= 0x10FFFF) {
            appendUtf8(static_cast<char32_t>(cp), out);
            return end + 1;
        }
    } else if (const htmlEntityDesc* entity =
                   htmlEntityLookup(reinterpret_cast<const xmlChar*>(name.c_str()))) {
        appendUtf8(static_cast<char32_t>(entity->value), out);
        return end + 1;
    }
    out += '&';
    return i + 1;
}

// The end of a tag that starts at html[i] == '<': the '>' outside quoted attribute values.
std::size_t tagEnd(std::string_view html, std::size_t i) {
    char quote = 0;
    for (std::size_t k = i + 1; k < html.size(); ++k) {
        const char c = html[k];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return k;
        }
    }
    return html.size();
}

// The first '<' or '&' from `from` on, else the end: eight bytes at a time, as pages are
// mostly text.
std::size_t findMarkup(std::string_view html, std::size_t from) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    const auto hasZeroByte = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHighBits) != 0; };
    std::size_t i = from;
    for (; i + 8 <= html.size(); i += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, html.data() + i, 8);
        if (hasZeroByte(eight ^ (kOnes * '<')) || hasZeroByte(eight ^ (kOnes * '&')))
            break;
    }
    while (i < html.size() && html[i] != '<' && html[i] != '&')
        ++i;
    return i;
}

} // namespace

void scanPageText(std::string_view html, std::string& title, std::string& body) {
    bool inTitle = false;
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c != '<' && c != '&') {
            const std::size_t run = findMarkup(html, i);
            (inTitle ? title : body).append(html.data() + i, run - i);
            i = run;
            continue;
        }
        if (c == '&') {
            i = decodeEntity(html, i, inTitle ? title : body);
            continue;
        }
        if (html.compare(i, 4, "<!--") == 0) {
            const std::size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        std::size_t k = i + 1;
        const bool closing = k < html.size() && html[k] == '/';
        if (closing)
            ++k;
        std::size_t nameEnd = k;
        while (nameEnd < html.size() && std::isalnum(static_cast<unsigned char>(html[nameEnd])))
            ++nameEnd;
        // The tag's name in lower case; longer names are none of those looked for.
        char name[12] = {};
        for (std::size_t n = 0; n < nameEnd - k && n + 1 < sizeof name; ++n)
            name[n] = static_cast<char>(std::tolower(static_cast<unsigned char>(html[k + n])));
        if (nameEnd - k >= sizeof name)
            name[0] = '-';
        if (nameEnd == k && !(k < html.size() && (html[k] == '!' || html[k] == '?'))) {
            // A "<" that opens no tag is text.
            (inTitle ? title : body) += '<';
            ++i;
            continue;
        }
        const std::size_t end = tagEnd(html, i);
        i = end < html.size() ? end + 1 : html.size();
        const std::string_view lower(name);
        if (!closing && (lower == "script" || lower == "style")) {
            const std::size_t close =
                findNoCase(html, lower == "script" ? "</script" : "</style", i);
            i = close == std::string_view::npos ? html.size() : tagEnd(html, close) + 1;
            continue;
        }
        if (lower == "title") {
            inTitle = !closing;
            continue;
        }
        if (!isInlineName(lower) && !body.empty() && body.back() != ' ')
            body += ' ';
    }
}

bool mayDeclareNames(std::string_view html) {
    static constexpr std::string_view kObject = "<object";
    for (std::size_t i = html.find('<'); i != std::string_view::npos; i = html.find('<', i + 1)) {
        if (html.size() - i >= kObject.size() &&
            strncasecmp(html.data() + i, kObject.data(), kObject.size()) == 0)
            return true;
    }
    return false;
}

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
