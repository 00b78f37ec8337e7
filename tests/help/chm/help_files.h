#pragma once

#include <string>

// The help files the tests compiled (see tests/CMakeLists.txt).
inline std::string testHelpFile(const std::string& name) {
    return std::string(TEST_HELP_FILES) + "/" + name;
}
