#include "platform/spool/save_place.h"

#include <cerrno>
#include <climits>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace {

using Kind = PlaceProblem::Kind;

Failed<PlaceProblem> problem(Kind kind, int error, long limit = 0) {
    return Failed{PlaceProblem{kind, error, limit, {}}};
}

SpoolResult<void> checkName(const std::string& path) {
    for (const unsigned char c : path)
        if (c < 0x20 || c == 0x7f)
            return problem(Kind::ControlCharacter, EINVAL);
    if (path.find('"') != std::string::npos)
        return problem(Kind::DoubleQuote, EINVAL);
    const std::string name = fileNameOf(path);
    if (name.empty() || name == "." || name == "..")
        return problem(Kind::NamesFolder, EISDIR);
    if (name.front() == ' ')
        return problem(Kind::LeadingBlank, EINVAL);
    if (name.back() == ' ')
        return problem(Kind::TrailingBlank, EINVAL);
    return {};
}

// A sticky folder (such as /tmp) lets only a file's owner, or the folder's, replace it.
bool stickyFolderRefuses(const struct stat& folder, const struct stat& file) {
    const uid_t me = ::geteuid();
    return (folder.st_mode & S_ISVTX) != 0 && me != 0 && file.st_uid != me && folder.st_uid != me;
}

// A symbolic link as the target: the save renames its file over the name, which would replace the
// link itself, not the file it points to.
Failed<PlaceProblem> linkProblem(const std::string& path) {
    std::vector<char> target(PATH_MAX + 1, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), PATH_MAX);
    Failed<PlaceProblem> link = problem(Kind::SymbolicLink, EINVAL);
    if (length > 0)
        link.cause.linkTarget.assign(target.data(), static_cast<std::size_t>(length));
    return link;
}

// A folder that exists but in which no file can be made, with no permission problem: the
// system's own file systems (/proc, /sys) answer "no such file" to every new name.
Failed<PlaceProblem> noNewFiles(const std::string& folder, int error) {
    struct statfs fs {};
    if (::statfs(folder.c_str(), &fs) == 0) {
        switch (fs.f_type) {
        case PROC_SUPER_MAGIC:
            return problem(Kind::NoNewFilesProc, error);
        case SYSFS_MAGIC:
            return problem(Kind::NoNewFilesSys, error);
        default:
            break;
        }
    }
    return problem(Kind::NoNewFiles, error);
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

SpoolResult<void> checkSavePlace(const std::string& path) {
    if (SpoolResult<void> name = checkName(path); !name)
        return name;
    if (path.size() >= PATH_MAX)
        return problem(Kind::PathTooLong, ENAMETOOLONG, PATH_MAX - 1);

    const std::string folder = folderOf(path);
    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0)
        return placeFailure(errno);
    if (!S_ISDIR(folderStat.st_mode))
        return placeFailure(ENOTDIR);

    const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (nameMax > 0 && fileNameOf(path).size() > static_cast<std::size_t>(nameMax))
        return problem(Kind::FileNameTooLong, ENAMETOOLONG, nameMax);

    struct stat target {};
    if (::lstat(path.c_str(), &target) == 0) {
        if (S_ISDIR(target.st_mode))
            return placeFailure(EISDIR);
        if (S_ISLNK(target.st_mode))
            return linkProblem(path);
        if (!S_ISREG(target.st_mode))
            return problem(Kind::NotPlainFile, EINVAL);
        if (::access(path.c_str(), W_OK) != 0 || stickyFolderRefuses(folderStat, target))
            return problem(Kind::CannotReplace, EACCES);
    } else if (errno != ENOENT) {
        return placeFailure(errno);
    }

    // The save writes beside the target (or renames into its folder): try exactly that.
    std::string probe = folder + "/" + kHiddenCopyPattern;
    std::vector<char> name(probe.begin(), probe.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM)
            return problem(Kind::CannotCreate, error);
        // The folder was there a moment ago.
        if (error == ENOENT)
            return noNewFiles(folder, error);
        return placeFailure(error);
    }
    ::close(fd);
    ::unlink(name.data());
    return {};
}
