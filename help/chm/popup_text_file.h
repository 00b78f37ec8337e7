#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// A text popup file: each popup starts with a line ".topic <number>"; its text is the lines up
// to the next such line, with blank lines at either end dropped. Lines before the first topic
// and topics without a number are skipped.
std::map<std::uint32_t, std::string> parsePopupTextFile(std::string_view text);
