#include "platform/registry/expand_environment.h"

#include <cctype>
#include <cstdlib>

namespace {

bool isNameChar(char c, bool first) {
    const auto u = static_cast<unsigned char>(c);
    return c == '_' || std::isalpha(u) || (!first && std::isdigit(u));
}

} // namespace

std::string expandEnvironmentStrings(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '$' || i + 1 >= text.size()) {
            out += text[i++];
            continue;
        }
        if (text[i + 1] == '$') {
            out += '$';
            i += 2;
            continue;
        }
        std::size_t nameStart = i + 1;
        std::size_t nameEnd = nameStart;
        std::size_t next = 0;
        if (text[nameStart] == '{') {
            const std::size_t close = text.find('}', nameStart + 1);
            if (close == std::string::npos) {
                out += text[i++];
                continue;
            }
            ++nameStart;
            nameEnd = close;
            next = close + 1;
        } else {
            while (nameEnd < text.size() && isNameChar(text[nameEnd], nameEnd == nameStart))
                ++nameEnd;
            next = nameEnd;
        }
        const std::string name = text.substr(nameStart, nameEnd - nameStart);
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        if (value)
            out += value;
        else
            out += text.substr(i, next - i);
        i = next;
    }
    return out;
}
