// What a help file or a caller names: a help target ("file.chm::/topic.htm>Window"), a link as a
// page writes it, and a link resolved from the page at a base path. The input's first line is
// the base, the rest the link; the whole input is also read as a target and as a link.
#include "help/chm/help_target.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    parseHelpTarget(text);
    parseHelpLink(text);
    const std::size_t newline = text.find('\n');
    const std::string base = text.substr(0, newline);
    const std::string link =
        newline == std::string::npos ? std::string() : text.substr(newline + 1);
    const HelpLink parsed = parseHelpLink(link);
    const std::string resolved = resolveTopicPath(base, parsed.path);
    // A link to a page, not to an anchor alone, resolves to an absolute path.
    if (!withoutAnchor(parsed.path).empty() && (resolved.empty() || resolved[0] != '/'))
        __builtin_trap();
    withoutAnchor(resolved);
    anchorOf(resolved);
    return 0;
}
