#include "platform/system/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool fileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

void createEmptyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd >= 0)
        ::close(fd);
}

std::string shortPathName(const std::string& path) {
    return fileExists(path) ? path : std::string();
}
