#pragma once

#include "common/result.h"

#include <string>

// Why a take cannot be made or saved at a place: what the check or the file operation ran
// into, and the errno it comes down to. spool_messages.h says it in words.
struct PlaceProblem {
    enum class Kind {
        Failed,           // a file operation failed with `error`
        ControlCharacter, // the name holds a control character
        DoubleQuote,      // the name holds a double quote, which a command cannot carry
        NamesFolder,      // the last part of the path is empty, "." or ".."
        LeadingBlank,     // the file name begins with a blank
        TrailingBlank,    // the file name ends with a blank
        PathTooLong,      // longer than `limit` bytes allows
        FileNameTooLong,  // the file name is longer than its file system's `limit`
        SymbolicLink,     // the target is a symbolic link (to `linkTarget`)
        NotPlainFile,     // the target exists and is no plain file or folder
        CannotReplace,    // the target exists and may not be replaced
        CannotCreate,     // no permission to create files in the folder
        NoNewFilesProc,   // the folder is on /proc
        NoNewFilesSys,    // the folder is on /sys
        NoNewFiles,       // the folder takes no new files, with no permission problem
    };
    Kind kind = Kind::Failed;
    int error = 0;          // the errno it comes down to (EINVAL for a name the rules refuse)
    long limit = 0;         // PathTooLong, FileNameTooLong
    std::string linkTarget; // SymbolicLink: where it points, when that could be read
};

// What a spool call gives back: a value, or the problem that stopped it.
template <class T> using SpoolResult = Result<T, PlaceProblem>;

// A problem that is a failed file operation's errno.
inline Failed<PlaceProblem> placeFailure(int error) {
    return Failed{PlaceProblem{PlaceProblem::Kind::Failed, error, 0, {}}};
}

// Tests everything a save to `path` will need, before anything is recorded, and leaves nothing
// behind: the name (no double quote, no control character, no blank at either end of the file
// name), the length limits of the path and of the file name, the folder, the right to replace
// an existing file, and that a file can be created beside it (one is created and removed).
SpoolResult<void> checkSavePlace(const std::string& path);

// The name of the hidden file a copy is written to before it replaces the target; its fixed,
// short length keeps it inside every file-name limit that the target's own name fits.
inline constexpr const char* kHiddenCopyPattern = ".sorvinta-save-XXXXXX";

// The folder part of a path ("." for a bare name) and its last part.
std::string folderOf(const std::string& path);
std::string fileNameOf(const std::string& path);

// Syncs a folder, so that the names just made or removed in it survive a power cut.
void syncFolder(const std::string& folder);
