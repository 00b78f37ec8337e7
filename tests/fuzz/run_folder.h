#pragma once

#include <cstdlib>
#include <string>

// A folder of this fuzzing run's own under /tmp, named from `prefix` ("fuzz-take"); /tmp itself
// when none can be made. Each harness makes it once and keeps it for the run.
inline std::string makeRunFolder(const std::string& prefix) {
    std::string name = "/tmp/" + prefix + "-XXXXXX";
    const char* made = mkdtemp(name.data());
    return made ? name : std::string("/tmp");
}
