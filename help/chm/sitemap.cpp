#include "help/chm/sitemap.h"

#include "help/chm/html_nesting.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <memory>

namespace {

struct DocumentDeleter {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

bool named(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

std::string attribute(const xmlNode* node, const char* name) {
    // Attribute names of HTML are matched in any case.
    for (const xmlAttr* a = node->properties; a; a = a->next) {
        if (xmlStrcasecmp(a->name, reinterpret_cast<const xmlChar*>(name)) != 0)
            continue;
        xmlChar* value = xmlNodeListGetString(node->doc, a->children, 1);
        std::string text = value ? reinterpret_cast<const char*>(value) : "";
        xmlFree(value);
        return text;
    }
    return {};
}

bool equalsLower(const std::string& text, const char* lower) {
    if (text.size() != std::strlen(lower))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != lower[i])
            return false;
    }
    return true;
}

class SitemapReader {
public:
    std::vector<SitemapEntry> entries;

    // Deeper than any real contents tree; stops a hostile file from using up the stack.
    static constexpr int kMaxDepth = 400;

    void walk(const xmlNode* node, int lists, int depth = 0) {
        if (depth > kMaxDepth)
            return;
        for (; node; node = node->next) {
            if (node->type != XML_ELEMENT_NODE)
                continue;
            if (named(node, "object") && equalsLower(attribute(node, "type"), "text/sitemap")) {
                addEntry(node, lists);
                continue;
            }
            const bool list = named(node, "ul") || named(node, "ol");
            walk(node->children, lists + (list ? 1 : 0), depth + 1);
        }
    }

private:
    void addEntry(const xmlNode* object, int lists) {
        SitemapEntry entry;
        // A list inside a list item and a list after it both nest; so does a stray object
        // outside any list, which counts as the top level.
        entry.level = std::max(0, lists - 1);
        if (entries.empty())
            entry.level = 0;
        else
            entry.level = std::min(entry.level, entries.back().level + 1);
        collectParams(object->children, entry, 0);
        if (entry.names.empty() && entry.locals.empty())
            return;
        entries.push_back(std::move(entry));
    }

    // <param> elements may sit inside other elements the parser opened on the way.
    void collectParams(const xmlNode* node, SitemapEntry& entry, int depth) {
        if (depth > 8)
            return;
        for (; node; node = node->next) {
            if (named(node, "param")) {
                const std::string name = attribute(node, "name");
                const std::string value = attribute(node, "value");
                if (equalsLower(name, "name"))
                    entry.names.push_back(value);
                else if (equalsLower(name, "local"))
                    entry.locals.push_back(value);
                else if (equalsLower(name, "see also"))
                    entry.seeAlso = value;
            } else if (node->type == XML_ELEMENT_NODE && !named(node, "object")) {
                collectParams(node->children, entry, depth + 1);
            }
        }
    }
};

// Stops the tree-building parser once its elements nest deeper than kMaxHtmlNesting, rather
// than leaving the depth to the parser's own defaults.
class NestingGuard {
public:
    explicit NestingGuard(xmlParserCtxt& ctxt)
        : m_start(ctxt.sax->startElement), m_end(ctxt.sax->endElement) {
        ctxt._private = this;
        ctxt.sax->startElement = &NestingGuard::start;
        ctxt.sax->endElement = &NestingGuard::end;
    }

private:
    static NestingGuard& of(void* ctx) {
        return *static_cast<NestingGuard*>(static_cast<xmlParserCtxt*>(ctx)->_private);
    }
    static void start(void* ctx, const xmlChar* name, const xmlChar** attributes) {
        NestingGuard& guard = of(ctx);
        if (++guard.m_depth > kMaxHtmlNesting) {
            xmlStopParser(static_cast<xmlParserCtxt*>(ctx));
            return;
        }
        guard.m_start(ctx, name, attributes);
    }
    static void end(void* ctx, const xmlChar* name) {
        NestingGuard& guard = of(ctx);
        if (guard.m_depth-- <= kMaxHtmlNesting)
            guard.m_end(ctx, name);
    }

    startElementSAXFunc m_start;
    endElementSAXFunc m_end;
    int m_depth = 0;
};

struct ContextDeleter {
    void operator()(xmlParserCtxt* ctxt) const { htmlFreeParserCtxt(ctxt); }
};

} // namespace

const std::string& SitemapEntry::name() const {
    static const std::string none;
    return names.empty() ? none : names.front();
}

std::string SitemapEntry::local() const {
    return locals.empty() ? std::string() : locals.front();
}

std::vector<SitemapEntry> parseSitemap(std::string_view html, const std::string& encoding) {
    if (html.empty() || html.size() > INT_MAX)
        return {};
    xmlInitParser();
    const std::unique_ptr<xmlParserCtxt, ContextDeleter> ctxt(
        htmlCreateMemoryParserCtxt(html.data(), static_cast<int>(html.size())));
    if (!ctxt || !ctxt->sax)
        return {};
    const NestingGuard guard(*ctxt);
    htmlCtxtUseOptions(ctxt.get(), HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                       HTML_PARSE_NONET);
    if (!encoding.empty()) {
        if (xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding.c_str()))
            xmlSwitchToEncoding(ctxt.get(), handler);
    }
    htmlParseDocument(ctxt.get());
    const std::unique_ptr<xmlDoc, DocumentDeleter> doc(ctxt->myDoc);
    ctxt->myDoc = nullptr;
    if (!doc)
        return {};
    SitemapReader reader;
    reader.walk(xmlDocGetRootElement(doc.get()), 0);
    return std::move(reader.entries);
}
