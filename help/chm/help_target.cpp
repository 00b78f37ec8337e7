#include "help/chm/help_target.h"

#include <cctype>
#include <vector>

namespace {

bool startsWithNoCase(const std::string& text, const char* prefix) {
    std::size_t i = 0;
    for (; prefix[i]; ++i) {
        if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    }
    return true;
}

// A URL scheme: a letter, then letters, digits, "+", "-" or ".", then ":". One letter alone is
// a drive ("C:/help/a.htm"), which is no place inside the help file either.
bool hasScheme(const std::string& link) {
    const std::size_t colon = link.find(':');
    if (colon == std::string::npos || colon == 0 ||
        !std::isalpha(static_cast<unsigned char>(link[0])))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(link[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

} // namespace

HelpTarget parseHelpTarget(const std::string& text) {
    HelpTarget target;
    std::string rest = text;
    const std::size_t window = rest.rfind('>');
    if (window != std::string::npos) {
        target.window = rest.substr(window + 1);
        rest.resize(window);
    }
    const std::size_t inside = rest.find("::");
    if (inside != std::string::npos) {
        target.topic = rest.substr(inside + 2);
        rest.resize(inside);
    }
    target.file = rest;
    return target;
}

HelpLink parseHelpLink(const std::string& link) {
    HelpLink result;
    static const char* const kArchive[] = {"mk:@msitstore:", "ms-its:", "its:"};
    for (const char* scheme : kArchive) {
        if (!startsWithNoCase(link, scheme))
            continue;
        const std::string rest = link.substr(std::char_traits<char>::length(scheme));
        const std::size_t inside = rest.find("::");
        if (inside == std::string::npos) {
            result.file = rest;
            return result;
        }
        result.file = rest.substr(0, inside);
        result.path = rest.substr(inside + 2);
        return result;
    }
    result.path = link;
    if (hasScheme(link)) {
        result.external = true;
        for (const char* scheme : {"http:", "https:", "mailto:"})
            result.openable = result.openable || startsWithNoCase(link, scheme);
    }
    return result;
}

std::string withoutAnchor(const std::string& path) {
    return path.substr(0, path.find('#'));
}

std::string anchorOf(const std::string& path) {
    const std::size_t hash = path.find('#');
    return hash == std::string::npos ? std::string() : path.substr(hash);
}

std::string resolveTopicPath(const std::string& base, const std::string& link) {
    std::string target = link;
    for (char& c : target)
        if (c == '\\')
            c = '/';
    const std::string anchor = anchorOf(target);
    target = withoutAnchor(target);
    // A link to an anchor alone stays on its page.
    if (target.empty())
        return withoutAnchor(base) + anchor;
    std::string joined;
    if (target[0] == '/') {
        joined = target;
    } else {
        const std::string page = withoutAnchor(base);
        const std::size_t slash = page.rfind('/');
        joined =
            (slash == std::string::npos ? std::string("/") : page.substr(0, slash + 1)) + target;
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= joined.size()) {
        std::size_t end = joined.find('/', start);
        if (end == std::string::npos)
            end = joined.size();
        const std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string& part : parts)
        path += "/" + part;
    return (path.empty() ? std::string("/") : path) + anchor;
}
