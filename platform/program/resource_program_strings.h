#pragma once

#include "platform/program/program_strings.h"

#include <map>

// The numbered strings compiled into the program as the resource ":/strings.txt": one string a
// line, its number, a tab, then its text; "\n" in the text stands for a line break.
class ResourceProgramStrings : public ProgramStrings {
public:
    ResourceProgramStrings();
    std::optional<std::string> loadString(std::int32_t id) const override;

    // The table of a strings file's text; lines that do not start with a number are skipped.
    static std::map<std::int32_t, std::string> parse(const std::string& text);

private:
    std::map<std::int32_t, std::string> m_strings;
};
