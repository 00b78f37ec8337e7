#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Readers of a help file's internal files. Each takes the file's bytes as they are, damaged or
// not, and reads only inside them.

// #SYSTEM: records {u16 code, u16 length, data} after a u32 version.
struct ChmSystemInfo {
    std::string contentsFile;   // code 0
    std::string indexFile;      // code 1
    std::string defaultTopic;   // code 2
    std::string title;          // code 3
    std::uint32_t language = 0; // code 4, a Windows language id (0x409 = English, US)
    std::string defaultWindow;  // code 5
};
ChmSystemInfo parseSystem(std::string_view system);

// The NUL-terminated text at `offset` of #STRINGS; empty when the offset is outside.
std::string stringAt(std::string_view strings, std::uint32_t offset);

// #IVB: a u32 byte count, then pairs {u32 context id, u32 offset into #STRINGS}. Gives each
// context id the text it maps to (a topic path as the help compiler saw it).
std::map<std::uint32_t, std::string> parseContextMap(std::string_view ivb,
                                                     std::string_view strings);

// #WINDOWS: a u32 count, a u32 record size, then one window-type record each.
struct ChmWindowType {
    std::string name;
    std::string caption;
    std::uint32_t properties = 0; // window properties, see the kWindow… flags
    // Position and size on screen; -1 where the type leaves it to the viewer.
    std::int32_t left = -1;
    std::int32_t top = -1;
    std::int32_t right = -1;
    std::int32_t bottom = -1;
    std::int32_t navigationWidth = 0;
    std::string contentsFile;
    std::string indexFile;
    std::string defaultFile;
    std::string homeFile;
    std::uint32_t toolbarButtons = 0;
    bool navigationClosed = false;
    std::int32_t navigationTab = 0; // 0 contents, 1 index, 2 search
};
inline constexpr std::uint32_t kWindowTriPane = 0x20;           // navigation pane beside the topic
inline constexpr std::uint32_t kWindowSearchTab = 0x400;        // the search tab
inline constexpr std::uint32_t kWindowNoToolbar = 0x8000;       // no tool bar
inline constexpr std::uint32_t kWindowAdvancedSearch = 0x20000; // the search tab, too
std::vector<ChmWindowType> parseWindowTypes(std::string_view windows, std::string_view strings);
