#include "recorder/record_target.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string sentenceFor(const std::string& path, int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "Cannot record to " + quoted(path) + ": its folder does not exist.";
    case EACCES:
    case EPERM:
        return "Cannot record to " + quoted(path) + ": you have no permission to write there.";
    case EROFS:
        return "Cannot record to " + quoted(path) + ": it is on a read-only file system.";
    case EISDIR:
        return "Cannot record to " + quoted(path) + ": it is a folder, not a file.";
    case ENAMETOOLONG:
        return "Cannot record to " + quoted(path) + ": the name is too long.";
    default:
        return "Cannot record to " + quoted(path) + ": " + std::strerror(error) + ".";
    }
}

} // namespace

std::optional<std::string> targetNameProblem(const std::string& path) {
    for (const unsigned char c : path)
        if (c < 0x20 || c == 0x7f)
            return "Cannot record to this file: its name contains control characters.";
    struct stat st {};
    if (path.back() == '/' || (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
        return sentenceFor(path, EISDIR);
    return std::nullopt;
}

TargetPreparation prepareTarget(const std::string& path) {
    TargetPreparation result;
    if (auto problem = targetNameProblem(path)) {
        result.problem = std::move(problem);
        return result;
    }
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        result.created = fd >= 0;
    }
    if (fd < 0) {
        result.problem = sentenceFor(path, errno);
        return result;
    }
    ::close(fd);
    return result;
}
