#pragma once

#include <string>
#include <string_view>

// Letter case of ASCII text, whatever the locale: the keys, words and names the program matches
// without regard to case are all ASCII.

constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = asciiLower(c);
    return out;
}

constexpr bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}
