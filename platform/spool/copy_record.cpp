#include "platform/spool/copy_record.h"

#include "platform/spool/save_place.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr const char* kNotePrefix = ".copy-";

// The hidden name kHiddenCopyPattern stands for, with its last six letters chosen here.
bool isHiddenCopyName(const std::string& name) {
    const std::string pattern = kHiddenCopyPattern;
    const std::size_t fixed = pattern.find('X');
    if (name.size() != pattern.size() || name.compare(0, fixed, pattern, 0, fixed) != 0)
        return false;
    for (std::size_t i = fixed; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

std::string hiddenCopyName(std::mt19937& random) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string name = kHiddenCopyPattern;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (char& c : name)
        if (c == 'X')
            c = kLetters[pick(random)];
    return name;
}

} // namespace

CopyRecord::CopyRecord(const std::string& spoolFolder) {
    if (spoolFolder.empty())
        return;
    std::string path = spoolFolder + "/" + kNotePrefix + "XXXXXX";
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::unlink(path.c_str());
        ::close(fd);
        return;
    }
    m_fd = fd;
    m_path = path;
}

CopyRecord::~CopyRecord() {
    if (m_fd < 0)
        return;
    ::unlink(m_path.c_str());
    ::close(m_fd);
}

bool CopyRecord::note(const std::string& path) {
    if (m_fd < 0)
        return false;
    return ::ftruncate(m_fd, 0) == 0 &&
           ::pwrite(m_fd, path.data(), path.size(), 0) == static_cast<ssize_t>(path.size()) &&
           ::fsync(m_fd) == 0;
}

int CopyRecord::createHiddenCopy(const std::string& folder, std::string& name) {
    std::mt19937 random(std::random_device{}());
    std::error_code ec;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/" + hiddenCopyName(random);
        // Noted before it exists: a crash can never leave a copy that no note names.
        const bool noted = note(std::filesystem::absolute(name, ec).string());
        if (noted && attempt == 0)
            syncFolder(folderOf(m_path));
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

void CopyRecord::cleanUp(const std::string& spoolFolder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(spoolFolder, ec)) {
        const std::string path = entry.path().string();
        if (entry.path().filename().string().rfind(kNotePrefix, 0) != 0)
            continue;
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        // A note still held belongs to a copy that is running now.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        std::array<char, 4096> text{};
        const ssize_t got = ::pread(fd, text.data(), text.size() - 1, 0);
        const std::string copy = got > 0 ? std::string(text.data(), std::size_t(got)) : "";
        // Only ever a hidden copy of ours, whatever the note says.
        if (!copy.empty() && copy[0] == '/' && isHiddenCopyName(fileNameOf(copy)) &&
            ::unlink(copy.c_str()) == 0)
            syncFolder(folderOf(copy));
        ::unlink(path.c_str());
        ::close(fd);
    }
}
