#pragma once

#include <cstdint>

// Colours are 0x00BBGGRR: red in the low byte.
constexpr std::uint32_t rgbColour(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
           (static_cast<std::uint32_t>(b) << 16);
}

// The transport state shown in the status label and read by recording and playback alike.
namespace status_word {
inline constexpr const char* kStop = "STOP";
inline constexpr const char* kRecord = "RECORD";
inline constexpr const char* kPlay = "PLAY";
inline constexpr const char* kPause = "PAUSE";

inline constexpr std::uint32_t kStartColour = rgbColour(192, 255, 255);
inline constexpr std::uint32_t kStopAfterRecordingColour = rgbColour(193, 208, 242);
inline constexpr std::uint32_t kStopAfterPlaybackColour = rgbColour(192, 255, 255);
inline constexpr std::uint32_t kRecordColour = rgbColour(255, 128, 128);
inline constexpr std::uint32_t kPlayColour = rgbColour(128, 255, 128);
inline constexpr std::uint32_t kPauseColour = rgbColour(255, 192, 128);
} // namespace status_word
