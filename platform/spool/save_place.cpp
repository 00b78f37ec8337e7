#include "platform/spool/save_place.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace {

PlaceProblem problem(int error, std::string reason) {
    return PlaceProblem{error, std::move(reason)};
}

std::optional<PlaceProblem> nameProblem(const std::string& path) {
    for (const unsigned char c : path)
        if (c < 0x20 || c == 0x7f)
            return problem(EINVAL, "the name contains a control character");
    if (path.find('"') != std::string::npos)
        return problem(EINVAL, "the name contains a double quote (\"), which a command cannot "
                               "carry");
    const std::string name = fileNameOf(path);
    if (name.empty() || name == "." || name == "..")
        return problem(EISDIR, "it names a folder, not a file");
    if (name.front() == ' ')
        return problem(EINVAL, "the file name begins with a blank");
    if (name.back() == ' ')
        return problem(EINVAL, "the file name ends with a blank");
    return std::nullopt;
}

// A sticky folder (such as /tmp) lets only a file's owner, or the folder's, replace it.
bool stickyFolderRefuses(const struct stat& folder, const struct stat& file) {
    const uid_t me = ::geteuid();
    return (folder.st_mode & S_ISVTX) != 0 && me != 0 && file.st_uid != me && folder.st_uid != me;
}

// A symbolic link as the target: the save renames its file over the name, which would replace the
// link itself, not the file it points to.
PlaceProblem linkProblem(const std::string& path) {
    std::vector<char> target(PATH_MAX + 1, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), PATH_MAX);
    const std::string to =
        length > 0 ? std::string(target.data(), static_cast<std::size_t>(length)) : std::string();
    return problem(EINVAL, "it is a symbolic link" + (to.empty() ? "" : " to " + to) +
                               ", and saving would replace the link, not the file it points to; "
                               "name that file itself");
}

// A folder that exists but in which no file can be made, with no permission problem: the
// system's own file systems (/proc, /sys) answer "no such file" to every new name.
std::string noNewFilesReason(const std::string& folder) {
    struct statfs fs {};
    if (::statfs(folder.c_str(), &fs) == 0) {
        switch (fs.f_type) {
        case PROC_SUPER_MAGIC:
            return "its folder is on /proc, the system's view of running processes, where no "
                   "files can be made";
        case SYSFS_MAGIC:
            return "its folder is on /sys, the system's view of its devices, where no files can "
                   "be made";
        default:
            break;
        }
    }
    return "its folder does not take new files (a system folder that only shows what the system "
           "puts there)";
}

} // namespace

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string placeReason(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return "the disk is full";
    case EACCES:
    case EPERM:
        return "you have no permission to write there";
    case ENAMETOOLONG:
        return "the name is too long";
    case ENOENT:
        return "its folder does not exist";
    case ENOTDIR:
        return "a part of its folder is not a folder";
    case EROFS:
        return "it is on a read-only file system";
    case EISDIR:
        return "it is a folder, not a file";
    case ECANCELED:
        return "the copy was cancelled";
    default: {
        std::string text = std::strerror(error);
        if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' &&
            !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z'))
            text[0] = static_cast<char>(text[0] - 'A' + 'a');
        return text;
    }
    }
}

std::optional<PlaceProblem> checkSavePlace(const std::string& path) {
    if (auto refused = nameProblem(path))
        return refused;
    if (path.size() >= PATH_MAX)
        return problem(ENAMETOOLONG, "the path is longer than the " + std::to_string(PATH_MAX - 1) +
                                         " bytes the system allows");

    const std::string folder = folderOf(path);
    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0)
        return problem(errno, placeReason(errno));
    if (!S_ISDIR(folderStat.st_mode))
        return problem(ENOTDIR, placeReason(ENOTDIR));

    const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (nameMax > 0 && fileNameOf(path).size() > static_cast<std::size_t>(nameMax))
        return problem(ENAMETOOLONG, "the file name is longer than the " + std::to_string(nameMax) +
                                         " bytes this file system allows");

    struct stat target {};
    if (::lstat(path.c_str(), &target) == 0) {
        if (S_ISDIR(target.st_mode))
            return problem(EISDIR, placeReason(EISDIR));
        if (S_ISLNK(target.st_mode))
            return linkProblem(path);
        if (!S_ISREG(target.st_mode))
            return problem(EINVAL, "it is not a plain file");
        if (::access(path.c_str(), W_OK) != 0 || stickyFolderRefuses(folderStat, target))
            return problem(EACCES, "the file exists and you have no permission to replace it");
    } else if (errno != ENOENT) {
        return problem(errno, placeReason(errno));
    }

    // The save writes beside the target (or renames into its folder): try exactly that.
    std::string probe = folder + "/" + kHiddenCopyPattern;
    std::vector<char> name(probe.begin(), probe.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM)
            return problem(error, "you have no permission to create files in its folder");
        // The folder was there a moment ago.
        if (error == ENOENT)
            return problem(error, noNewFilesReason(folder));
        return problem(error, placeReason(error));
    }
    ::close(fd);
    ::unlink(name.data());
    return std::nullopt;
}
