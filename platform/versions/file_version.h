#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// A file's four-part version a.b.c.d.
using FileVersion = std::array<std::uint16_t, 4>;

// The version of the file at `path`: the version note a library of this program carries (see
// version_note.h); for a shared library without one, the numbers of its file name
// (libQt6Widgets.so.6.4.2 gives 6.4.2.0); otherwise nothing. Reads only inside the file.
std::optional<FileVersion> readFileVersion(const std::string& path);

// The numbers after ".so." in a file name, or nothing when there are none or they are not all
// numbers of 16 bits.
std::optional<FileVersion> versionFromSharedLibraryName(const std::string& fileName);
