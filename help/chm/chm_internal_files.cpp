#include "help/chm/chm_internal_files.h"

#include <algorithm>

namespace {

// Little-endian numbers at `at`, or `fallback` when they would lie outside.
std::uint32_t u32(std::string_view bytes, std::size_t at, std::uint32_t fallback = 0) {
    if (at > bytes.size() || bytes.size() - at < 4)
        return fallback;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t u16(std::string_view bytes, std::size_t at) {
    if (at > bytes.size() || bytes.size() - at < 2)
        return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int32_t i32(std::string_view bytes, std::size_t at) {
    return static_cast<std::int32_t>(u32(bytes, at, 0xFFFFFFFFu));
}

// Text of a record: up to its first NUL, inside the record.
std::string recordText(std::string_view data) {
    return std::string(data.substr(0, data.find('\0')));
}

} // namespace

ChmSystemInfo parseSystem(std::string_view system) {
    ChmSystemInfo info;
    std::size_t at = 4;
    while (at + 4 <= system.size()) {
        const std::uint16_t code = u16(system, at);
        const std::uint16_t length = u16(system, at + 2);
        at += 4;
        if (length > system.size() - at)
            break;
        const std::string_view data = system.substr(at, length);
        switch (code) {
        case 0:
            info.contentsFile = recordText(data);
            break;
        case 1:
            info.indexFile = recordText(data);
            break;
        case 2:
            info.defaultTopic = recordText(data);
            break;
        case 3:
            info.title = recordText(data);
            break;
        case 4:
            info.language = u32(data, 0);
            break;
        case 5:
            info.defaultWindow = recordText(data);
            break;
        default:
            break;
        }
        at += length;
    }
    return info;
}

std::string stringAt(std::string_view strings, std::uint32_t offset) {
    if (offset >= strings.size())
        return {};
    return recordText(strings.substr(offset));
}

std::map<std::uint32_t, std::string> parseContextMap(std::string_view ivb,
                                                     std::string_view strings) {
    std::map<std::uint32_t, std::string> map;
    const std::uint32_t declared = u32(ivb, 0);
    const std::size_t available = ivb.size() >= 4 ? ivb.size() - 4 : 0;
    const std::size_t end = 4 + std::min<std::size_t>(declared, available);
    for (std::size_t at = 4; at + 8 <= end; at += 8) {
        const std::uint32_t id = u32(ivb, at);
        const std::string text = stringAt(strings, u32(ivb, at + 4));
        if (!text.empty())
            map.emplace(id, text);
    }
    return map;
}

std::vector<ChmWindowType> parseWindowTypes(std::string_view windows, std::string_view strings) {
    std::vector<ChmWindowType> types;
    const std::uint32_t count = u32(windows, 0);
    const std::uint32_t size = u32(windows, 4);
    // The fields read here end at 0x7C; a shorter record is not one of these.
    if (size < 0x7C)
        return types;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = 8 + i * size;
        if (at > windows.size() || windows.size() - at < size)
            break;
        const std::string_view r = windows.substr(static_cast<std::size_t>(at), size);
        ChmWindowType t;
        t.name = stringAt(strings, u32(r, 0x08));
        t.properties = u32(r, 0x10);
        t.caption = stringAt(strings, u32(r, 0x14));
        t.left = i32(r, 0x20);
        t.top = i32(r, 0x24);
        t.right = i32(r, 0x28);
        t.bottom = i32(r, 0x2C);
        t.navigationWidth = i32(r, 0x4C);
        t.contentsFile = stringAt(strings, u32(r, 0x60));
        t.indexFile = stringAt(strings, u32(r, 0x64));
        t.defaultFile = stringAt(strings, u32(r, 0x68));
        t.homeFile = stringAt(strings, u32(r, 0x6C));
        t.toolbarButtons = u32(r, 0x70);
        t.navigationClosed = u32(r, 0x74) != 0;
        t.navigationTab = i32(r, 0x78);
        if (!t.name.empty())
            types.push_back(std::move(t));
    }
    return types;
}
