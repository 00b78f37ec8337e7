#include "help/chm/popup_text_file.h"

#include <charconv>
#include <vector>

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

void store(std::map<std::uint32_t, std::string>& popups, std::uint32_t id,
           std::vector<std::string_view>& lines) {
    while (!lines.empty() && trimmed(lines.back()).empty())
        lines.pop_back();
    std::size_t first = 0;
    while (first < lines.size() && trimmed(lines[first]).empty())
        ++first;
    std::string text;
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (i > first)
            text += '\n';
        std::string_view line = lines[i];
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        text += line;
    }
    popups[id] = text;
    lines.clear();
}

} // namespace

std::map<std::uint32_t, std::string> parsePopupTextFile(std::string_view text) {
    std::map<std::uint32_t, std::string> popups;
    std::vector<std::string_view> lines;
    bool inTopic = false;
    std::uint32_t id = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        const std::string_view bare = trimmed(line);
        if (bare.substr(0, 7) == ".topic " || bare.substr(0, 7) == ".topic\t") {
            if (inTopic)
                store(popups, id, lines);
            const std::string_view number = trimmed(bare.substr(7));
            const auto [ptr, error] =
                std::from_chars(number.data(), number.data() + number.size(), id);
            inTopic = error == std::errc() && ptr == number.data() + number.size();
            lines.clear();
        } else if (inTopic) {
            lines.push_back(line);
        }
        start = end + 1;
    }
    if (inTopic)
        store(popups, id, lines);
    return popups;
}
