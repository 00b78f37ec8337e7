#pragma once

#include "platform/versions/file_version.h"

#include <cstdint>
#include <optional>
#include <string>

// A file version as text: "a.bb." then "dddd" when c is 0, else "cc.dd" (at least that many
// digits each): 4.74.8702.0 gives "4.74.8702.00", 4.72.0.3110 gives "4.72.3110".
std::string VersionText(const FileVersion& version);

// The release names of help engine and browser engine versions; "unknown" for any other text.
std::string HelpEngineReleaseName(const std::string& version);
std::string BrowserEngineReleaseName(const std::string& version);

// The minimum versions that HHVerifyMinConfig's codes stand for: 16..26 for the help engine,
// 256..273 for the browser engine; nothing for any other code.
std::optional<std::string> MinimumHelpEngineVersion(std::int32_t code);
std::optional<std::string> MinimumBrowserEngineVersion(std::int32_t code);

// True when `version` is at least `minimum`, comparing the dot-separated parts as numbers from
// the left (a missing part counts as 0). An empty version, or one with a part that is not a
// number, is never enough.
bool VersionAtLeast(const std::string& version, const std::string& minimum);
