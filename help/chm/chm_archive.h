#pragma once

#include "help/chm/chm_directory.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// A compiled help file's archive. This program walks the directory itself; libmspack unpacks
// the files, reading the help file through this program's own input functions and writing into
// memory. Paths inside start with "/" and match in any letter case. One archive is used from one
// thread at a time.
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
    // Where an object is stored (its section, then its start): objects read in this order are
    // unpacked in one run. Objects the archive lacks come last.
    std::pair<std::uint64_t, std::uint64_t> placeOf(const std::string& objectPath) const;
    // Every ordinary file of the archive (no internal "#" or "$" files, no folders), in the
    // archive's own order, from every chunk of its listing.
    const std::vector<std::string>& files() const;

    // Objects larger than this are taken for damage rather than read.
    static constexpr std::uint64_t kMaxObjectSize = 64u << 20;

private:
    struct Unpacker; // libmspack's state for this file
    ChmArchive() = default;
    const ChmNamedUnit* find(const std::string& objectPath) const;

    std::unique_ptr<Unpacker> m_unpacker;
    std::vector<ChmNamedUnit> m_entries;
    std::unordered_map<std::string, std::size_t> m_byFoldedPath; // first entry of each path
    std::vector<std::string> m_files;
    std::uint64_t m_compressedLength = 0;
};
