#include "help/chm/file_bytes.h"

#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileBytes::FileBytes(const std::string& path, bool write)
    : m_fd(::open(path.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC)) {
    struct stat st {};
    if (m_fd >= 0 && ::fstat(m_fd, &st) == 0)
        m_size = static_cast<std::uint64_t>(st.st_size);
}

FileBytes::~FileBytes() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileBytes::read(std::uint64_t at, void* out, std::size_t n) const {
    return at <= m_size && n <= m_size - at &&
           ::pread(m_fd, out, n, static_cast<off_t>(at)) == static_cast<ssize_t>(n);
}

bool FileBytes::write(std::uint64_t at, const void* data, std::size_t n) {
    return at <= m_size && n <= m_size - at &&
           ::pwrite(m_fd, data, n, static_cast<off_t>(at)) == static_cast<ssize_t>(n);
}

std::uint32_t FileBytes::u32(std::uint64_t at, bool& ok) const {
    unsigned char b[4] = {};
    ok = ok && read(at, b, 4);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::uint64_t FileBytes::u64(std::uint64_t at, bool& ok) const {
    const std::uint64_t low = u32(at, ok);
    return low | (static_cast<std::uint64_t>(u32(at + 4, ok)) << 32);
}

bool FileBytes::hasSignature(std::uint64_t at, const char* signature) const {
    char b[4] = {};
    return read(at, b, 4) && std::memcmp(b, signature, 4) == 0;
}
