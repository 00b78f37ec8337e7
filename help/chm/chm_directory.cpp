#include "help/chm/chm_directory.h"

#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class File {
public:
    explicit File(const std::string& path, bool write = true)
        : m_fd(::open(path.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC)) {
        struct stat st {};
        if (m_fd >= 0 && ::fstat(m_fd, &st) == 0)
            m_size = static_cast<std::uint64_t>(st.st_size);
    }
    ~File() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    bool read(std::uint64_t at, void* out, std::size_t n) const {
        return at <= m_size && n <= m_size - at &&
               ::pread(m_fd, out, n, static_cast<off_t>(at)) == static_cast<ssize_t>(n);
    }
    bool write(std::uint64_t at, const void* data, std::size_t n) {
        return at <= m_size && n <= m_size - at &&
               ::pwrite(m_fd, data, n, static_cast<off_t>(at)) == static_cast<ssize_t>(n);
    }
    std::uint32_t u32(std::uint64_t at, bool& ok) const {
        unsigned char b[4] = {};
        ok = ok && read(at, b, 4);
        return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    std::uint64_t size() const { return m_size; }
    std::uint64_t u64(std::uint64_t at, bool& ok) const {
        const std::uint64_t low = u32(at, ok);
        return low | (static_cast<std::uint64_t>(u32(at + 4, ok)) << 32);
    }

private:
    int m_fd;
    std::uint64_t m_size = 0;
};

bool hasSignature(const File& f, std::uint64_t at, const char* signature) {
    char b[4] = {};
    return f.read(at, b, 4) && std::memcmp(b, signature, 4) == 0;
}

} // namespace

DirectoryRepair repairFirstListingChunk(const std::string& path, std::string& error) {
    File f(path);
    if (!f.isOpen()) {
        error = "cannot be opened for writing";
        return DirectoryRepair::Failed;
    }
    if (!hasSignature(f, 0, "ITSF")) {
        error = "is not a compiled help file";
        return DirectoryRepair::Failed;
    }
    bool ok = true;
    const std::uint64_t directory = f.u64(0x48, ok);
    if (!ok || !hasSignature(f, directory, "ITSP")) {
        error = "has no directory header";
        return DirectoryRepair::Failed;
    }
    const std::uint32_t headerLength = f.u32(directory + 0x08, ok);
    const std::uint32_t chunkSize = f.u32(directory + 0x10, ok);
    const std::uint32_t firstListing = f.u32(directory + 0x20, ok);
    const std::uint32_t chunks = f.u32(directory + 0x2C, ok);
    if (!ok || chunkSize < 0x14 || chunks == 0) {
        error = "has a damaged directory header";
        return DirectoryRepair::Failed;
    }
    const std::uint64_t firstChunk = directory + headerLength;
    for (std::uint32_t i = 0; i < chunks; ++i) {
        const std::uint64_t at = firstChunk + static_cast<std::uint64_t>(i) * chunkSize;
        if (!hasSignature(f, at, "PMGL"))
            continue;
        bool chunkOk = true;
        const std::uint32_t previous = f.u32(at + 0x0C, chunkOk);
        if (!chunkOk || previous != 0xFFFFFFFFu)
            continue;
        if (i == firstListing)
            return DirectoryRepair::AlreadyRight;
        const unsigned char value[4] = {
            static_cast<unsigned char>(i), static_cast<unsigned char>(i >> 8),
            static_cast<unsigned char>(i >> 16), static_cast<unsigned char>(i >> 24)};
        if (!f.write(directory + 0x20, value, 4)) {
            error = "cannot be written";
            return DirectoryRepair::Failed;
        }
        return DirectoryRepair::Repaired;
    }
    error = "has no listing chunk";
    return DirectoryRepair::Failed;
}

bool directoryIsSound(const std::string& path, std::string& error) {
    const File f(path, false);
    bool ok = f.isOpen() && hasSignature(f, 0, "ITSF");
    const std::uint64_t directory = f.u64(0x48, ok);
    ok = ok && hasSignature(f, directory, "ITSP");
    const std::uint32_t headerLength = f.u32(directory + 0x08, ok);
    const std::uint32_t chunkSize = f.u32(directory + 0x10, ok);
    const std::uint32_t firstListing = f.u32(directory + 0x20, ok);
    const std::uint32_t lastListing = f.u32(directory + 0x24, ok);
    const std::uint32_t chunks = f.u32(directory + 0x2C, ok);
    if (!ok || chunkSize < 0x100 || chunkSize > 0x10000 || chunks == 0 ||
        firstListing >= chunks || lastListing >= chunks ||
        directory + headerLength + static_cast<std::uint64_t>(chunks) * chunkSize > f.size()) {
        error = "is damaged: its directory cannot be read";
        return false;
    }
    return true;
}
