#pragma once

#include "platform/audio/wave_format.h"

#include <ctime>
#include <string>

struct PlaceProblem;

// Every sentence the recorder shows the user is composed here, from the causes and figures its
// calls hand back; the command device's own sentences come from its errorString.
namespace recorder_messages {

inline constexpr const char* kNoFileName = "Please Enter A File Name To Save !";
inline constexpr const char* kOverwrite = "File already exists ! Overwrite ?";

// "Cannot VERB to PATH: REASON."
std::string placeRefused(const char* verb, const std::string& path, const PlaceProblem& problem);

// The device's sentence for a failed save, and what the user is asked to do.
std::string chooseAnotherPlace(const std::string& failure);
// The device's sentence for a take that ended early, and what was saved of it where.
std::string endedEarlySaved(const std::string& failure, double seconds, const std::string& path);

// "Discard the WHAT? It cannot be recovered afterwards."
std::string discardQuestion(const std::string& what);

// "recording of 4.0 s".
std::string recordingOf(double seconds);
// "recording of 4.0 s from 10 Dec 2026 14:03": a take that an earlier run left behind.
std::string leftTake(double seconds, std::time_t started);
// "A recording of … was not saved.", with a word on a damaged header and the format the take
// is read in.
std::string leftTakeQuestion(const std::string& what, bool headerWasDamaged,
                             const WaveFormat& format);

// "10 Dec 2026 14:03", in local time and English month names.
std::string startText(std::time_t started);
// "44100 samples a second, 16 bit, stereo".
std::string formatText(const WaveFormat& format);

} // namespace recorder_messages
