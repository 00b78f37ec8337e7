#include "platform/system/file_system.h"

#include <sys/stat.h>

bool fileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

std::string shortPathName(const std::string& path) {
    return fileExists(path) ? path : std::string();
}
