#include "help/help_versions.h"

#include "help/file_names.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Release {
    const char* version;
    const char* name;
};

constexpr Release kHelpEngineReleases[] = {
    {"4.72.7290.00", "1.0"},
    {"4.72.7323.00", "1.1"},
    {"4.72.7325.00", "1.1a"},
    {"4.72.8164.00", "1.1b"},
    {"4.73.8252.00", "1.2"},
    {"4.73.8412.00", "1.21"},
    {"4.73.8474.00", "1.21a"},
    {"4.73.8561.00", "1.22"},
    {"4.74.8566.00", "1.3 Windows 2000 Beta"},
    {"4.74.8637.00", "1.3 IE 5.5 Platform Preview Beta"},
    {"4.74.8702.00", "1.3"},
};

constexpr Release kBrowserEngineReleases[] = {
    {"4.70.1155.0000", "3.0"},
    {"4.70.1158.0000", "3.0 OSR2"},
    {"4.70.1215.0000", "3.02"},
    {"4.70.1300.0000", "3.02"},
    {"4.71.1008.3000", "4.0 PP2"},
    {"4.71.1712.5000", "4.0"},
    {"4.72.2106.7000", "4.01"},
    {"4.72.3110.0300", "4.0 SP1"},
    {"4.72.3612.1707", "4.0 SP2"},
    {"5.00.0518.5000", "5.0 beta 1"},
    {"5.00.0910.1308", "5.0 beta 2"},
    {"5.00.2014.2130", "5.0"},
    {"5.00.2314.1000", "5.0a (Office 2000)"},
    {"5.00.2614.3500", "5.0b (Windows 98 SE)"},
    {"5.00.2717.2000", "5.0c (Icon Security Issue Update)"},
    {"5.00.2721.1400", "5.0d (ImportExport Favorites Issue Update)"},
    {"5.00.2919.800", "5.x (Windows 2000 RC1, build 5.00.2072)"},
    {"5.00.2919.3800", "5.x (Windows 2000 RC2, build 5.00.2128)"},
    {"5.00.2919.6307", "5.01"},
    {"5.50.3825.1300", "5.5 Platform Preview"},
};

struct Minimum {
    std::int32_t code;
    const char* version;
};

constexpr Minimum kHelpEngineMinimums[] = {
    {16, "4.72.7290"}, {17, "4.72.7323"}, {18, "4.72.7325"}, {19, "4.72.8164.0"},
    {20, "4.73.8252"}, {21, "4.73.8412"}, {22, "4.73.8474"}, {23, "4.73.8561"},
    {24, "4.74.8566"}, {25, "4.74.8637"}, {26, "4.74.8702"},
};

constexpr Minimum kBrowserEngineMinimums[] = {
    {256, "4.70.1155"},      {257, "4.70.1158"},      {258, "4.70.1215"},
    {259, "4.70.1300"},      {260, "4.71.1008.3"},    {261, "4.71.1712.5"},
    {262, "4.72.2106.7"},    {263, "4.72.3110.03"},   {264, "4.72.3612.1707"},
    {265, "5.00.0518.5"},    {266, "5.00.0910.1308"}, {267, "5.00.2014.213"},
    {268, "5.00.2314.1000"}, {269, "5.00.2614.3500"}, {270, "5.0.2717.2000"},
    {271, "5.00.2721.1400"}, {272, "5.00.2919.800"},  {273, "5.00.2919.3800"},
};

template <std::size_t N>
std::string releaseName(const Release (&table)[N], const std::string& version) {
    for (const Release& r : table) {
        if (equalsIgnoringCase(version, r.version))
            return r.name;
    }
    return "unknown";
}

template <std::size_t N>
std::optional<std::string> minimum(const Minimum (&table)[N], std::int32_t code) {
    for (const Minimum& m : table) {
        if (m.code == code)
            return std::string(m.version);
    }
    return std::nullopt;
}

// The parts of a version as numbers; nothing when a part is empty or not all digits.
std::optional<std::vector<std::uint64_t>> versionParts(const std::string& text) {
    std::vector<std::uint64_t> parts;
    std::uint64_t value = 0;
    std::size_t digits = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '.') {
            if (digits == 0)
                return std::nullopt;
            parts.push_back(value);
            value = 0;
            digits = 0;
        } else if (text[i] >= '0' && text[i] <= '9') {
            if (digits < 18)
                value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    return parts;
}

} // namespace

std::string VersionText(const FileVersion& version) {
    char text[64];
    if (version[2] == 0)
        std::snprintf(text, sizeof text, "%u.%02u.%04u", version[0], version[1], version[3]);
    else
        std::snprintf(text, sizeof text, "%u.%02u.%02u.%02u", version[0], version[1], version[2],
                      version[3]);
    return text;
}

std::string HelpEngineReleaseName(const std::string& version) {
    return releaseName(kHelpEngineReleases, version);
}

std::string BrowserEngineReleaseName(const std::string& version) {
    return releaseName(kBrowserEngineReleases, version);
}

std::optional<std::string> MinimumHelpEngineVersion(std::int32_t code) {
    return minimum(kHelpEngineMinimums, code);
}

std::optional<std::string> MinimumBrowserEngineVersion(std::int32_t code) {
    return minimum(kBrowserEngineMinimums, code);
}

bool VersionAtLeast(const std::string& version, const std::string& minimum) {
    const auto have = versionParts(version);
    const auto need = versionParts(minimum);
    if (!have || !need)
        return false;
    const std::size_t n = std::max(have->size(), need->size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t a = i < have->size() ? (*have)[i] : 0;
        const std::uint64_t b = i < need->size() ? (*need)[i] : 0;
        if (a != b)
            return a > b;
    }
    return true;
}
