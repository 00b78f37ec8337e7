#pragma once

#include <string>

// File names as the help class reads them: "/" and "\" both separate folders.
bool hasFolderSeparator(const std::string& path);
// The text after the last separator; all of it when there is none.
std::string bareFileName(const std::string& path);
// True when the last three characters equal `ending`, letter case aside.
bool endsWithLetters(const std::string& name, const std::string& ending);
// Equal apart from letter case, for any letters of UTF-8 text.
bool equalsIgnoringCase(const std::string& a, const std::string& b);
