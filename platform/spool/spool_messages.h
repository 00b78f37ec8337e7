#pragma once

#include "platform/spool/save_place.h"

#include <string>

// Every sentence part the spool folder's problems are told in; spool calls hand back causes
// (PlaceProblem, an errno) and the words for them come from here.

// Completes "Cannot record to PATH: ..." and the like, without a full stop.
std::string placeReason(const PlaceProblem& problem);

// The reason for an errno that a file operation of a save ended with.
std::string placeReason(int error);

// "The recording could not be saved to PATH: REASON."
std::string saveFailedText(const std::string& path, const PlaceProblem& problem);

// How long a take is, as messages say it: "4.0 s", "3 min 05 s", "2 h 07 min".
std::string takeDurationText(double seconds);

// Completes "The recording cannot start: " when there is no spool folder.
inline constexpr const char* kNoSpoolFolderText =
    "neither HOME nor XDG_STATE_HOME is set, so there is no private folder to keep it in";
