#include "platform/versions/file_version.h"

#include "platform/versions/version_note.h"

#include <cstring>
#include <vector>

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A read-only view of a file that refuses every read past its end.
class FileReader {
public:
    explicit FileReader(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat st {};
        if (m_fd >= 0 && ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode))
            m_size = static_cast<std::uint64_t>(st.st_size);
    }
    ~FileReader() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool read(std::uint64_t offset, void* out, std::uint64_t length) const {
        if (m_fd < 0 || offset > m_size || length > m_size - offset)
            return false;
        auto* p = static_cast<char*>(out);
        while (length > 0) {
            const ssize_t n = ::pread(m_fd, p, length, static_cast<off_t>(offset));
            if (n <= 0)
                return false;
            p += n;
            offset += static_cast<std::uint64_t>(n);
            length -= static_cast<std::uint64_t>(n);
        }
        return true;
    }
    std::uint64_t size() const { return m_size; }
    bool opened() const { return m_fd >= 0; }

private:
    int m_fd;
    std::uint64_t m_size = 0;
};

// Numbers in the file's byte order.
struct Order {
    bool big = false;
    std::uint64_t get(const unsigned char* p, int bytes) const {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            const int shift = big ? 8 * (bytes - 1 - i) : 8 * i;
            v |= static_cast<std::uint64_t>(p[i]) << shift;
        }
        return v;
    }
};

constexpr std::uint64_t align4(std::uint64_t n) {
    return (n + 3) & ~std::uint64_t{3};
}

// Looks for our note among the notes in [offset, offset + size).
std::optional<FileVersion> findNote(const FileReader& file, const Order& order,
                                    std::uint64_t offset, std::uint64_t size) {
    if (size > file.size() || size > (1u << 20))
        return std::nullopt;
    std::vector<unsigned char> bytes(size);
    if (!file.read(offset, bytes.data(), size))
        return std::nullopt;
    std::uint64_t at = 0;
    while (size - at >= 12) {
        const std::uint64_t nameSize = order.get(&bytes[at], 4);
        const std::uint64_t descSize = order.get(&bytes[at + 4], 4);
        const std::uint64_t type = order.get(&bytes[at + 8], 4);
        const std::uint64_t nameAt = at + 12;
        if (align4(nameSize) > size - nameAt)
            break;
        const std::uint64_t descAt = nameAt + align4(nameSize);
        if (align4(descSize) > size - descAt)
            break;
        if (type == kVersionNoteType && nameSize == sizeof kVersionNoteOwner && descSize == 8 &&
            std::memcmp(&bytes[nameAt], kVersionNoteOwner, sizeof kVersionNoteOwner) == 0) {
            FileVersion v{};
            for (int i = 0; i < 4; ++i)
                v[static_cast<std::size_t>(i)] =
                    static_cast<std::uint16_t>(order.get(&bytes[descAt + 2 * i], 2));
            return v;
        }
        at = descAt + align4(descSize);
    }
    return std::nullopt;
}

// The note segments of an ELF file, then its note sections (a stripped file may keep only one).
std::optional<FileVersion> readElfNote(const FileReader& file) {
    unsigned char ident[EI_NIDENT];
    if (!file.read(0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0)
        return std::nullopt;
    const bool wide = ident[EI_CLASS] == ELFCLASS64;
    if (!wide && ident[EI_CLASS] != ELFCLASS32)
        return std::nullopt;
    const Order order{ident[EI_DATA] == ELFDATA2MSB};
    unsigned char header[sizeof(Elf64_Ehdr)];
    const std::uint64_t headerSize = wide ? sizeof(Elf64_Ehdr) : sizeof(Elf32_Ehdr);
    if (!file.read(0, header, headerSize))
        return std::nullopt;
    // Offsets of the fields in the 64- and 32-bit headers.
    const std::uint64_t phoff = wide ? order.get(header + 32, 8) : order.get(header + 28, 4);
    const std::uint64_t shoff = wide ? order.get(header + 40, 8) : order.get(header + 32, 4);
    const std::uint64_t phentsize = order.get(header + (wide ? 54 : 42), 2);
    const std::uint64_t phnum = order.get(header + (wide ? 56 : 44), 2);
    const std::uint64_t shentsize = order.get(header + (wide ? 58 : 46), 2);
    const std::uint64_t shnum = order.get(header + (wide ? 60 : 48), 2);

    const std::uint64_t phMin = wide ? sizeof(Elf64_Phdr) : sizeof(Elf32_Phdr);
    if (phoff != 0 && phentsize >= phMin) {
        for (std::uint64_t i = 0; i < phnum; ++i) {
            unsigned char ph[sizeof(Elf64_Phdr)];
            if (!file.read(phoff + i * phentsize, ph, phMin))
                break;
            if (order.get(ph, 4) != PT_NOTE)
                continue;
            const std::uint64_t off = wide ? order.get(ph + 8, 8) : order.get(ph + 4, 4);
            const std::uint64_t size = wide ? order.get(ph + 32, 8) : order.get(ph + 16, 4);
            if (auto v = findNote(file, order, off, size))
                return v;
        }
    }
    const std::uint64_t shMin = wide ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
    if (shoff != 0 && shentsize >= shMin) {
        for (std::uint64_t i = 0; i < shnum; ++i) {
            unsigned char sh[sizeof(Elf64_Shdr)];
            if (!file.read(shoff + i * shentsize, sh, shMin))
                break;
            if (order.get(sh + 4, 4) != SHT_NOTE)
                continue;
            const std::uint64_t off = wide ? order.get(sh + 24, 8) : order.get(sh + 16, 4);
            const std::uint64_t size = wide ? order.get(sh + 32, 8) : order.get(sh + 20, 4);
            if (auto v = findNote(file, order, off, size))
                return v;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<FileVersion> versionFromSharedLibraryName(const std::string& fileName) {
    const std::string name = fileName.substr(fileName.find_last_of('/') + 1);
    const std::size_t so = name.rfind(".so.");
    if (so == std::string::npos)
        return std::nullopt;
    FileVersion v{};
    std::size_t part = 0;
    std::size_t i = so + 4;
    while (true) {
        if (part == v.size())
            return std::nullopt;
        std::uint32_t n = 0;
        std::size_t digits = 0;
        while (i < name.size() && name[i] >= '0' && name[i] <= '9') {
            n = n * 10 + static_cast<std::uint32_t>(name[i] - '0');
            if (n > 0xFFFF)
                return std::nullopt;
            ++i;
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        v[part++] = static_cast<std::uint16_t>(n);
        if (i == name.size())
            return v;
        if (name[i] != '.')
            return std::nullopt;
        ++i;
    }
}

std::optional<FileVersion> readFileVersion(const std::string& path) {
    const FileReader file(path);
    if (auto v = readElfNote(file))
        return v;
    if (!file.opened())
        return std::nullopt;
    return versionFromSharedLibraryName(path);
}
