#pragma once

#include <string>

// True when the path's attributes can be read.
bool fileExists(const std::string& path);

// Linux has no short names: the full path comes back unchanged, with no length limit.
// An empty string when nothing exists at `path`.
std::string shortPathName(const std::string& path);
