#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file read and written at given places, never past its end; numbers are little-endian.
class FileBytes {
public:
    explicit FileBytes(const std::string& path, bool write = false);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    std::uint64_t size() const { return m_size; }
    bool read(std::uint64_t at, void* out, std::size_t n) const;
    bool write(std::uint64_t at, const void* data, std::size_t n);
    // `ok` turns false, and stays so, when a number cannot be read whole.
    std::uint32_t u32(std::uint64_t at, bool& ok) const;
    std::uint64_t u64(std::uint64_t at, bool& ok) const;
    bool hasSignature(std::uint64_t at, const char* signature) const;

private:
    int m_fd;
    std::uint64_t m_size = 0;
};
