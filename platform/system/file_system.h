#pragma once

#include <string>

// True when the path's attributes can be read.
bool fileExists(const std::string& path);
