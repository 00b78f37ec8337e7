#include "help/chm/chm_compression.h"

#include "help/chm/file_bytes.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include <strings.h>

namespace {

constexpr const char* kResetTable = "::DataSpace/Storage/MSCompressed/Transform/"
                                    "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
                                    "ResetTable";
constexpr const char* kContent = "::DataSpace/Storage/MSCompressed/Content";
constexpr const char* kControlData = "::DataSpace/Storage/MSCompressed/ControlData";

// How far back from a block chmlib may have to start decompressing; real files restart every
// two blocks.
constexpr std::uint32_t kMaxBlocksPerReset = 64;
// chmlib reads a block's compressed bytes into a buffer this much larger than a block.
constexpr std::int64_t kBlockSlack = 6144;

// The entry chmlib finds under `name`, which it matches in any letter case: nothing when there
// is none; `several` when there is more than one, and it cannot be told which.
const ChmUnit* unitNamed(const std::vector<ChmNamedUnit>& units, const char* name, bool& several) {
    const ChmUnit* found = nullptr;
    for (const ChmNamedUnit& u : units) {
        if (strcasecmp(u.path.c_str(), name) != 0)
            continue;
        several = several || found;
        found = &u.unit;
    }
    return found;
}

std::uint32_t u32(const unsigned char* b) {
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::uint64_t u64(const unsigned char* b) {
    return u32(b) | (static_cast<std::uint64_t>(u32(b + 4)) << 32);
}

// The checks below follow chmlib's opening step by step: where chmlib turns decompression off,
// nothing compressed is read and the file is safe; where it goes on with numbers that harm it,
// the file is refused.
bool check(const FileBytes& f, const std::vector<ChmNamedUnit>& units, CompressedSection& section) {
    section.blocks = 0;
    bool ok = true;
    // Where the sections start: version 3 headers say so; in version 2 the directory ends there.
    const std::uint32_t version = f.u32(0x04, ok);
    if (!ok || (version != 2 && version != 3))
        return true; // chmlib opens no such file
    const std::uint64_t dataOffset =
        version == 3 ? f.u64(0x58, ok) : f.u64(0x48, ok) + f.u64(0x50, ok);
    if (!ok)
        return true;

    bool several = false;
    const ChmUnit* reset = unitNamed(units, kResetTable, several);
    const ChmUnit* content = unitNamed(units, kContent, several);
    const ChmUnit* control = unitNamed(units, kControlData, several);
    if (several)
        return false;
    if (!reset || !content || !control)
        return true;
    // chmlib turns decompression off for these in the compressed section, but reads them as
    // compressed, with no reset table yet, when they name a section that does not exist.
    for (const ChmUnit* u : {reset, content, control}) {
        if (u->space > 1)
            return false;
    }
    if (reset->space == 1 || content->space == 1 || control->space == 1)
        return true;

    unsigned char table[0x28];
    if (reset->length < sizeof table || !f.read(dataOffset + reset->start, table, sizeof table) ||
        u32(table) != 2)
        return true;
    const std::uint32_t blockCount = u32(table + 0x04);
    const std::uint32_t tableOffset = u32(table + 0x0C);
    const std::uint64_t compressedLength = u64(table + 0x18);
    const std::uint64_t blockLength = u64(table + 0x20);

    if (control->length > 256)
        return true; // chmlib refuses the file
    // chmlib computes the blocks between restarts from the control data even where it could not
    // read them, and divides by half the window size.
    unsigned char data[256] = {};
    const auto dataLength = static_cast<std::size_t>(control->length);
    if (dataLength < 0x18 || !f.read(dataOffset + control->start, data, dataLength))
        return false;
    std::uint32_t resetInterval = u32(data + 0x0C);
    std::uint32_t windowSize = u32(data + 0x10);
    const std::uint32_t windowsPerReset = u32(data + 0x14);
    if (u32(data + 0x08) == 2) {
        resetInterval *= 0x8000;
        windowSize *= 0x8000;
    }
    if (windowSize / 2 == 0)
        return false;
    if (resetInterval == 0 || resetInterval % (windowSize / 2) != 0 ||
        std::memcmp(data + 0x04, "LZXC", 4) != 0)
        return true;

    const std::uint32_t blocksPerReset = resetInterval / (windowSize / 2) * windowsPerReset;
    const int windowBits = std::countr_zero(windowSize);
    if (blocksPerReset == 0 || blocksPerReset > kMaxBlocksPerReset || windowBits < 15 ||
        windowBits > 21 || blockLength != CompressedSection::kBlockLength || blockCount == 0)
        return false;
    // Each block's compressed bytes, from its start in the table to the next one's (the last
    // one's to the section's end), must fit chmlib's buffer.
    const std::uint64_t tableAt = dataOffset + reset->start + tableOffset;
    if (tableAt < dataOffset || tableAt > f.size() || blockCount > (f.size() - tableAt) / 8)
        return false;
    std::vector<unsigned char> starts(std::size_t{blockCount} * 8);
    if (!f.read(tableAt, starts.data(), starts.size()))
        return false;
    // The compressed bytes the file really holds: a file cut short, or a table pointing past
    // its end, has blocks chmlib cannot fetch whole. It then keeps a block it failed on as if it
    // were read, and its decompressor carries on from a half-done block into the next, over
    // bytes that were never filled in. Only the blocks before the first such one are read; what
    // lies further counts as damaged.
    const std::uint64_t contentAt = dataOffset + content->start;
    const std::uint64_t held = contentAt < dataOffset || contentAt > f.size()
                                   ? 0
                                   : std::min<std::uint64_t>(content->length, f.size() - contentAt);
    std::uint64_t inside = blockCount;
    for (std::uint32_t b = 0; b < blockCount; ++b) {
        // As chmlib takes it: the difference, read as a signed number.
        const std::uint64_t start = u64(starts.data() + 8 * b);
        const std::uint64_t end =
            b + 1 < blockCount ? u64(starts.data() + 8 * (b + 1)) : compressedLength;
        const auto length = static_cast<std::int64_t>(end - start);
        if (length < 0 || length > static_cast<std::int64_t>(blockLength) + kBlockSlack)
            return false;
        if (end > held && inside == blockCount)
            inside = b;
    }
    section.blocks = inside;
    return true;
}

} // namespace

bool compressionIsSound(const std::string& path, const std::vector<ChmNamedUnit>& units,
                        CompressedSection& section, std::string& error) {
    const FileBytes f(path);
    if (!f.isOpen() || !check(f, units, section)) {
        error = "is damaged: its compressed section cannot be read";
        return false;
    }
    return true;
}
