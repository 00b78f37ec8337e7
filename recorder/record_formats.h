#pragma once

#include <array>
#include <string>

// The four recording formats of the option buttons; index 0 is chosen at start. The 8-bit
// captions carry two blanks after the second comma.
struct RecordFormat {
    const char* caption;
    const char* bitsPerSample;
    const char* samplesPerSec;
};

// Every format records two channels.
inline constexpr int kRecordChannels = 2;

inline constexpr std::array<RecordFormat, 4> kRecordFormats{{
    {"44,100 kHz, 16 Bit, Stereo", "16", "44100"},
    {"44,100 kHz,  8 Bit, Stereo", "8", "44100"},
    {"48,000 kHz, 16 Bit, Stereo", "16", "48000"},
    {"48,000 kHz,  8 Bit, Stereo", "8", "48000"},
}};

// The command strings of one recording, in the order they are sent.
namespace record_commands {
inline constexpr const char* kOpen = "open new Type waveaudio Alias recsound";
inline constexpr const char* kRecord = "record  recsound";
inline constexpr const char* kTimeFormatBytes = "set recsound time format bytes";
inline constexpr const char* kStatusLength = "status recsound length";
inline constexpr const char* kClose = "close recsound";
// Throws the whole take away: the user's answer to a save that failed.
inline constexpr const char* kDelete = "delete recsound";

// The bytes-per-second figure is a fixed 22500 in every format; the device writes the file's
// header from the real rate, channels and sample size.
std::string setFormat(const std::string& bitsPerSample, const std::string& samplesPerSec);

// A path with a blank goes in double quotes; any other path exactly as given.
std::string save(const std::string& path);
} // namespace record_commands
