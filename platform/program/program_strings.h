#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The program's own numbered strings.
class ProgramStrings {
public:
    virtual ~ProgramStrings() = default;
    // The string of that number, or nothing when the program has none.
    virtual std::optional<std::string> loadString(std::int32_t id) const = 0;
};
