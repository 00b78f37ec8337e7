#pragma once

#include <optional>
#include <string>

// The lines of a script on standard input, as they arrive in `buffer`: the next whole line is
// taken out of it (a "\r" before its "\n" dropped, so CRLF scripts read as LF ones), and once
// the input has `ended`, what is left is the last line. False when no line is there yet.
bool takeScriptLine(std::string& buffer, bool ended, std::string& line);

// The milliseconds of a "wait MS" line; nothing for any other line.
std::optional<int> waitLine(const std::string& line);
