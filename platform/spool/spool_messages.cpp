#include "platform/spool/spool_messages.h"

#include "common/rounding.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

std::string placeReason(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return "the disk is full";
    case EACCES:
    case EPERM:
        return "you have no permission to write there";
    case ENAMETOOLONG:
        return "the name is too long";
    case ENOENT:
        return "its folder does not exist";
    case ENOTDIR:
        return "a part of its folder is not a folder";
    case EROFS:
        return "it is on a read-only file system";
    case EISDIR:
        return "it is a folder, not a file";
    case ECANCELED:
        return "the copy was cancelled";
    default: {
        std::string text = std::strerror(error);
        if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' &&
            !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z'))
            text[0] = static_cast<char>(text[0] - 'A' + 'a');
        return text;
    }
    }
}

std::string placeReason(const PlaceProblem& problem) {
    using Kind = PlaceProblem::Kind;
    switch (problem.kind) {
    case Kind::Failed:
        break;
    case Kind::ControlCharacter:
        return "the name contains a control character";
    case Kind::DoubleQuote:
        return "the name contains a double quote (\"), which a command cannot carry";
    case Kind::NamesFolder:
        return "it names a folder, not a file";
    case Kind::LeadingBlank:
        return "the file name begins with a blank";
    case Kind::TrailingBlank:
        return "the file name ends with a blank";
    case Kind::PathTooLong:
        return "the path is longer than the " + std::to_string(problem.limit) +
               " bytes the system allows";
    case Kind::FileNameTooLong:
        return "the file name is longer than the " + std::to_string(problem.limit) +
               " bytes this file system allows";
    case Kind::SymbolicLink:
        return "it is a symbolic link" +
               (problem.linkTarget.empty() ? "" : " to " + problem.linkTarget) +
               ", and saving would replace the link, not the file it points to; name that file "
               "itself";
    case Kind::NotPlainFile:
        return "it is not a plain file";
    case Kind::CannotReplace:
        return "the file exists and you have no permission to replace it";
    case Kind::CannotCreate:
        return "you have no permission to create files in its folder";
    case Kind::NoNewFilesProc:
        return "its folder is on /proc, the system's view of running processes, where no files "
               "can be made";
    case Kind::NoNewFilesSys:
        return "its folder is on /sys, the system's view of its devices, where no files can be "
               "made";
    case Kind::NoNewFiles:
        return "its folder does not take new files (a system folder that only shows what the "
               "system puts there)";
    }
    return placeReason(problem.error);
}

std::string saveFailedText(const std::string& path, const PlaceProblem& problem) {
    return "The recording could not be saved to " + path + ": " + placeReason(problem) + ".";
}

std::string takeDurationText(double seconds) {
    char text[48];
    if (seconds < 59.95) {
        std::snprintf(text, sizeof text, "%.1f s", seconds);
        return text;
    }
    const std::int32_t whole = roundToInt(seconds);
    if (whole < 3600)
        std::snprintf(text, sizeof text, "%d min %02d s", whole / 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%d h %02d min", whole / 3600, whole % 3600 / 60);
    return text;
}
