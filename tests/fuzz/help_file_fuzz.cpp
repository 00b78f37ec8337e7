// The readers of a help file's parts, fed any bytes. The first byte picks the reader; readers
// of two internal files (#IVB or #WINDOWS with #STRINGS) split the rest where the next two bytes
// say. Every reader must keep to its input and give what it could read.
#include "help/chm/chm_internal_files.h"
#include "help/chm/popup_text_file.h"
#include "help/chm/sitemap.h"
#include "help/chm/topic_text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    const std::size_t split = std::min<std::size_t>(rest.size(), data[1] | (data[2] << 8));
    const std::string_view first = rest.substr(0, split);
    const std::string_view second = rest.substr(split);
    switch (data[0] % 6) {
    case 0:
        parseSitemap(rest, "UTF-8");
        parseSitemap(rest, "windows-1252");
        parseSitemap(rest, "");
        break;
    case 1:
        parseSystem(rest);
        break;
    case 2:
        parseContextMap(first, second);
        break;
    case 3:
        parseWindowTypes(first, second);
        break;
    case 4: {
        readTopicText(rest, "UTF-8");
        readTopicText(rest, "");
        std::string title;
        std::string body;
        scanPageText(rest, title, body);
        break;
    }
    default:
        parsePopupTextFile(rest);
        break;
    }
    return 0;
}
