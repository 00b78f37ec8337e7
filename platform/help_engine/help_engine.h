#pragma once

#include "common/colour_ref.h"
#include "platform/ui/window_handle.h"

#include <cstdint>
#include <optional>
#include <string>

// The help engine's commands and the records some of them take. The engine is a library of its
// own that shows help files; the records cross into it by pointer, so their layout is fixed here
// for both sides. Booleans are 32-bit, 1 for true.

namespace HelpCommand {
constexpr std::uint32_t HH_DISPLAY_TOPIC = 0x00;      // data: topic path text, or 0
constexpr std::uint32_t HH_DISPLAY_TOC = 0x01;        // data: 0
constexpr std::uint32_t HH_DISPLAY_INDEX = 0x02;      // data: 0
constexpr std::uint32_t HH_DISPLAY_SEARCH = 0x03;     // data: HH_FTS_QUERY*
constexpr std::uint32_t HH_KEYWORD_LOOKUP = 0x0D;     // data: HH_AKLINK*
constexpr std::uint32_t HH_DISPLAY_TEXT_POPUP = 0x0E; // data: HH_POPUP*
constexpr std::uint32_t HH_HELP_CONTEXT = 0x0F;       // data: context id
constexpr std::uint32_t HH_CLOSE_ALL = 0x12;          // data: 0
constexpr std::uint32_t HH_ALINK_LOOKUP = 0x13;       // data: HH_AKLINK*
} // namespace HelpCommand

struct HelpPoint {
    std::int32_t x;
    std::int32_t y;
};

struct HelpRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// A full-text search request.
struct HH_FTS_QUERY {
    std::int32_t cbStruct;
    std::int32_t fUniCodeStrings;
    const char* pszSearchQuery;
    std::int32_t iProximity;
    std::int32_t fStemmedSearch;
    std::int32_t fTitleOnly;
    std::int32_t fExecute;
    const char* pszWindow;
};

// A keyword or associative-link lookup: names separated by ";", what to show when none is
// found (a topic, else a message), and the window type to show it in.
struct HH_AKLINK {
    std::int32_t cbStruct;
    std::int32_t fReserved;
    const char* pszKeywords;
    const char* pszUrl;
    const char* pszMsgText;
    const char* pszMsgTitle;
    const char* pszWindow;
    std::int32_t fIndexOnFail;
};

// A text popup at a screen point. The text is pszText, or topic idString of the popup text file
// named in the target ("file.chm::/popups.txt"). pszFont: "face, points, charset, styles".
// A colour or margin of -1 means the engine's own.
struct HH_POPUP {
    std::int32_t cbStruct;
    void* hinst;
    std::uint32_t idString;
    const char* pszText;
    HelpPoint pt;
    ColourRef clrForeground;
    ColourRef clrBackground;
    HelpRect rcMargins;
    const char* pszFont;
};

// The engine library's one entry point.
using HtmlHelpFunction = WindowHandle (*)(WindowHandle caller, const char* file,
                                          std::uint32_t command, std::uintptr_t data);
inline constexpr char kHtmlHelpEntryPoint[] = "HtmlHelpA";

// The help engine as the help class sees it.
class HelpEngine {
public:
    virtual ~HelpEngine() = default;
    // The engine's answer (the window it showed, 0 for none), or nothing when the engine
    // cannot be reached: its library or entry point is missing.
    virtual std::optional<WindowHandle> HtmlHelp(WindowHandle caller, const char* file,
                                                 std::uint32_t command, std::uintptr_t data) = 0;
    // Why the last call could not reach the engine, in words for the user; empty when it did.
    virtual std::string unreachableReason() const { return {}; }
};
