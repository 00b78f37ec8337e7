#pragma once

#include "platform/drawing/colour.h"

// The transport state shown in the status label and read by recording and playback alike.
namespace status_word {
inline constexpr const char* kStop = "STOP";
inline constexpr const char* kRecord = "RECORD";
inline constexpr const char* kPlay = "PLAY";
inline constexpr const char* kPause = "PAUSE";

inline constexpr ColourRef kStartColour = Colour::RGB(192, 255, 255);
inline constexpr ColourRef kStopAfterRecordingColour = Colour::RGB(193, 208, 242);
inline constexpr ColourRef kStopAfterPlaybackColour = Colour::RGB(192, 255, 255);
inline constexpr ColourRef kRecordColour = Colour::RGB(255, 128, 128);
inline constexpr ColourRef kPlayColour = Colour::RGB(128, 255, 128);
inline constexpr ColourRef kPauseColour = Colour::RGB(255, 192, 128);
} // namespace status_word
