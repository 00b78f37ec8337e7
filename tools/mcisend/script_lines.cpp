#include "tools/mcisend/script_lines.h"

#include <charconv>

bool takeScriptLine(std::string& buffer, bool ended, std::string& line) {
    const std::size_t newline = buffer.find('\n');
    if (newline != std::string::npos) {
        line = buffer.substr(0, newline);
        buffer.erase(0, newline + 1);
    } else if (ended && !buffer.empty()) {
        line.swap(buffer);
        buffer.clear();
    } else {
        return false;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

std::optional<int> waitLine(const std::string& line) {
    const std::string prefix = "wait ";
    if (line.rfind(prefix, 0) != 0)
        return std::nullopt;
    const std::string number = line.substr(prefix.size());
    int ms = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), ms);
    if (ec != std::errc() || end != number.data() + number.size() || ms < 0)
        return std::nullopt;
    return ms;
}
