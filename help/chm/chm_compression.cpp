#include "help/chm/chm_compression.h"

#include "help/chm/file_bytes.h"

#include <cstring>

namespace {

constexpr const char* kResetTable = "::DataSpace/Storage/MSCompressed/Transform/"
                                    "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
                                    "ResetTable";
constexpr const char* kContent = "::DataSpace/Storage/MSCompressed/Content";
constexpr const char* kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
constexpr const char* kSpanInfo = "::DataSpace/Storage/MSCompressed/SpanInfo";

// The section is unpacked in frames of 32 KB.
constexpr std::uint32_t kFrame = 0x8000;

const ChmUnit* unitNamed(const std::vector<ChmNamedUnit>& units, const char* name) {
    for (const ChmNamedUnit& u : units) {
        if (u.path == name)
            return &u.unit;
    }
    return nullptr;
}

std::uint32_t u32(const unsigned char* b) {
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::uint64_t u64(const unsigned char* b) {
    return u32(b) | (static_cast<std::uint64_t>(u32(b + 4)) << 32);
}

// An archive file of the plain section, read whole when it is `length` bytes long.
bool readPlain(const FileBytes& f, std::uint64_t dataOffset, const ChmUnit* unit,
               std::size_t length, unsigned char* out) {
    return unit && unit->space == 0 && unit->length == length &&
           dataOffset + unit->start >= dataOffset && f.read(dataOffset + unit->start, out, length);
}

// The window and restart interval the control data give, as libmspack takes them.
bool controlIsSound(const unsigned char* data) {
    if (std::memcmp(data + 0x04, "LZXC", 4) != 0)
        return false;
    std::uint64_t interval = u32(data + 0x0C);
    std::uint64_t window = u32(data + 0x10);
    const std::uint32_t version = u32(data + 0x08);
    if (version == 2) {
        interval *= kFrame;
        window *= kFrame;
    } else if (version != 1) {
        return false;
    }
    bool windowOk = false;
    for (int bits = 15; bits <= 21; ++bits)
        windowOk = windowOk || window == (1u << bits);
    return windowOk && interval != 0 && interval % kFrame == 0 && interval <= 0x7FFFFFFF;
}

} // namespace

bool readCompressedSection(const FileBytes& f, std::uint64_t dataOffset,
                           const std::vector<ChmNamedUnit>& units, CompressedSection& section,
                           std::string& error) {
    section.length = 0;
    error = "is damaged: its compressed section cannot be read";
    // The packed bytes themselves, in the plain section and inside the file.
    const ChmUnit* content = unitNamed(units, kContent);
    if (!content || content->space != 0 || content->start > f.size() ||
        dataOffset > f.size() - content->start)
        return false;
    unsigned char control[0x1C];
    if (!readPlain(f, dataOffset, unitNamed(units, kControlData), sizeof control, control) ||
        !controlIsSound(control))
        return false;
    // The unpacked length comes from the reset table, else from the span information. A reset
    // table that is there but does not describe frames of 32 KB is damage, not something to
    // read round.
    if (const ChmUnit* reset = unitNamed(units, kResetTable)) {
        unsigned char table[0x28];
        if (reset->space != 0 || reset->length < sizeof table ||
            !f.read(dataOffset + reset->start, table, sizeof table) || u64(table + 0x20) != kFrame)
            return false;
        section.length = u64(table + 0x10);
        return true;
    }
    unsigned char span[8];
    if (!readPlain(f, dataOffset, unitNamed(units, kSpanInfo), sizeof span, span) ||
        u64(span) == 0 || u64(span) >= (1ull << 62))
        return false;
    section.length = u64(span);
    return true;
}
