#pragma once

#include <optional>
#include <string>

// Why a take cannot be saved at a place.
struct PlaceProblem {
    int error = 0;      // the errno it comes down to (EINVAL for a name the rules refuse)
    std::string reason; // completes "Cannot record to PATH: ...", without a full stop
};

// Tests everything a save to `path` will need, before anything is recorded, and leaves nothing
// behind: the name (no double quote, no control character, no blank at either end of the file
// name), the length limits of the path and of the file name, the folder, the right to replace
// an existing file, and that a file can be created beside it (one is created and removed).
std::optional<PlaceProblem> checkSavePlace(const std::string& path);

// The reason for an errno that a file operation of a save ended with.
std::string placeReason(int error);

// The name of the hidden file a copy is written to before it replaces the target; its fixed,
// short length keeps it inside every file-name limit that the target's own name fits.
inline constexpr const char* kHiddenCopyPattern = ".sorvinta-save-XXXXXX";

// The folder part of a path ("." for a bare name) and its last part.
std::string folderOf(const std::string& path);
std::string fileNameOf(const std::string& path);

// Syncs a folder, so that the names just made or removed in it survive a power cut.
void syncFolder(const std::string& folder);
