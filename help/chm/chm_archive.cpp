#include "help/chm/chm_archive.h"

#include "help/chm/chm_compression.h"
#include "help/chm/chm_directory.h"

#include <chm_lib.h>

#include <cstdio>

namespace {

// The first bytes of every help file.
bool hasHelpFileSignature(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char magic[4] = {};
    const bool ok = std::fread(magic, 1, 4, f) == 4 && std::string(magic, 4) == "ITSF";
    std::fclose(f);
    return ok;
}

} // namespace

std::unique_ptr<ChmArchive> ChmArchive::open(const std::string& path, std::string& error) {
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (!probe) {
        error = "cannot be opened";
        return nullptr;
    }
    std::fclose(probe);
    if (!hasHelpFileSignature(path)) {
        error = "is not a compiled help file";
        return nullptr;
    }
    // chmlib trusts the numbers it reads; those that could stop or crash it are checked first.
    ChmListing listing;
    CompressedSection section;
    if (!directoryIsSound(path, listing, error) ||
        !compressionIsSound(path, listing.units, section, error))
        return nullptr;
    chmFile* file = chm_open(path.c_str());
    if (!file) {
        error = "is damaged: its archive cannot be read";
        return nullptr;
    }
    // chmlib lists from the chunk the directory header names, which may skip the first ones:
    // the listing read here starts where the listing really starts.
    std::vector<std::string> files;
    for (std::string& p : listing.paths) {
        if (p.size() > 1 && p[0] == '/' && p[1] != '#' && p[1] != '$' && p.back() != '/')
            files.push_back(std::move(p));
    }
    return std::unique_ptr<ChmArchive>(
        new ChmArchive(path, file, section.blocks, std::move(files)));
}

ChmArchive::~ChmArchive() {
    if (m_file)
        chm_close(m_file);
}

std::optional<std::string> ChmArchive::read(const std::string& objectPath, bool* damaged) const {
    if (damaged)
        *damaged = false;
    chmUnitInfo info{};
    if (!m_file || chm_resolve_object(m_file, objectPath.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    // From here the object is listed: not getting its bytes means the file is damaged.
    const auto fail = [damaged] {
        if (damaged)
            *damaged = true;
        return std::nullopt;
    };
    if (info.length > kMaxObjectSize)
        return fail();
    // A compressed file must lie in blocks the reset table describes.
    const std::uint64_t compressedEnd = m_compressedBlocks * CompressedSection::kBlockLength;
    if (info.space != CHM_UNCOMPRESSED &&
        (info.start > compressedEnd || info.length > compressedEnd - info.start))
        return fail();
    std::string bytes(static_cast<std::size_t>(info.length), '\0');
    if (info.length == 0)
        return bytes;
    const LONGINT64 got =
        chm_retrieve_object(m_file, &info, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(info.length));
    if (got != static_cast<LONGINT64>(info.length)) {
        // chmlib keeps the block it failed on in its cache as if it had been read, and its
        // decompressor in the middle of that block: start afresh, so that nothing later is
        // served from either.
        chm_close(m_file);
        m_file = chm_open(m_path.c_str());
        return fail();
    }
    return bytes;
}

bool ChmArchive::contains(const std::string& objectPath) const {
    chmUnitInfo info{};
    return m_file && chm_resolve_object(m_file, objectPath.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmArchive::spelling(const std::string& objectPath) const {
    chmUnitInfo info{};
    if (!m_file || chm_resolve_object(m_file, objectPath.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    return std::string(info.path);
}

const std::vector<std::string>& ChmArchive::files() const {
    return m_files;
}
