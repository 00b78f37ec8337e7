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
    std::vector<ChmNamedUnit> units;
    CompressedSection section;
    if (!directoryIsSound(path, units, error) || !compressionIsSound(path, units, section, error))
        return nullptr;
    chmFile* file = chm_open(path.c_str());
    if (!file) {
        error = "is damaged: its archive cannot be read";
        return nullptr;
    }
    return std::unique_ptr<ChmArchive>(new ChmArchive(file, section.blocks));
}

ChmArchive::~ChmArchive() {
    chm_close(m_file);
}

std::optional<std::string> ChmArchive::read(const std::string& objectPath) const {
    chmUnitInfo info{};
    if (chm_resolve_object(m_file, objectPath.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (info.length > kMaxObjectSize)
        return std::nullopt;
    // A compressed file must lie in blocks the reset table describes.
    const std::uint64_t compressedEnd = m_compressedBlocks * CompressedSection::kBlockLength;
    if (info.space != CHM_UNCOMPRESSED &&
        (info.start > compressedEnd || info.length > compressedEnd - info.start))
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(info.length), '\0');
    if (info.length == 0)
        return bytes;
    const LONGINT64 got =
        chm_retrieve_object(m_file, &info, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(info.length));
    if (got != static_cast<LONGINT64>(info.length))
        return std::nullopt;
    return bytes;
}

bool ChmArchive::contains(const std::string& objectPath) const {
    chmUnitInfo info{};
    return chm_resolve_object(m_file, objectPath.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmArchive::spelling(const std::string& objectPath) const {
    chmUnitInfo info{};
    if (chm_resolve_object(m_file, objectPath.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    return std::string(info.path);
}

std::vector<std::string> ChmArchive::files() const {
    std::vector<std::string> paths;
    chm_enumerate(
        m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES,
        [](chmFile*, chmUnitInfo* info, void* context) {
            const std::string path = info->path;
            if (path.size() > 1 && path[0] == '/' && path[1] != '#' && path[1] != '$' &&
                path.back() != '/')
                static_cast<std::vector<std::string>*>(context)->push_back(path);
            return CHM_ENUMERATOR_CONTINUE;
        },
        &paths);
    return paths;
}
