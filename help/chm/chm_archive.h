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

    // The object's bytes, or nothing when it is missing, too large or cannot be read whole. In
    // the last two cases the file is damaged, which `damaged` then says.
    std::optional<std::string> read(const std::string& objectPath, bool* damaged = nullptr) const;
    bool contains(const std::string& objectPath) const;
    // The object's path as the archive spells it, or nothing.
    std::optional<std::string> spelling(const std::string& objectPath) const;
    // Every ordinary file of the archive (no internal "#" or "$" files, no folders), in the
    // archive's own order, from every chunk of its listing.
    const std::vector<std::string>& files() const;

    // Objects larger than this are taken for damage rather than read.
    static constexpr std::uint64_t kMaxObjectSize = 64u << 20;

private:
    ChmArchive(std::string path, chmFile* file, std::uint64_t compressedBlocks,
               std::vector<std::string> files)
        : m_path(std::move(path)), m_file(file), m_compressedBlocks(compressedBlocks),
          m_files(std::move(files)) {}
    std::string m_path;
    // Opened again after a failed read; none when that failed (the file changed on disk).
    mutable chmFile* m_file;
    std::uint64_t m_compressedBlocks;
    std::vector<std::string> m_files;
};
