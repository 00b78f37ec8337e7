#include "platform/system/file_system.h"

#include <sys/stat.h>

bool fileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}
