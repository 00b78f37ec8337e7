#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

// A compiled help file's archive, read with chmlib. Paths inside start with "/" and match in
// any letter case.
class ChmArchive {
public:
    // Nothing, with a sentence in `error`, when the file cannot be read as a help file.
    static std::unique_ptr<ChmArchive> open(const std::string& path, std::string& error);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // The object's bytes, or nothing when it is missing, too large or cannot be read whole.
    std::optional<std::string> read(const std::string& objectPath) const;
    bool contains(const std::string& objectPath) const;
    // The object's path as the archive spells it, or nothing.
    std::optional<std::string> spelling(const std::string& objectPath) const;
    // Every ordinary file of the archive (no internal "#" or "$" files, no folders), in the
    // archive's own order.
    std::vector<std::string> files() const;

    // Objects larger than this are taken for damage rather than read.
    static constexpr std::uint64_t kMaxObjectSize = 64u << 20;

private:
    ChmArchive(chmFile* file, std::uint64_t compressedBlocks)
        : m_file(file), m_compressedBlocks(compressedBlocks) {}
    chmFile* m_file;
    std::uint64_t m_compressedBlocks;
};
