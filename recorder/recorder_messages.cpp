#include "recorder/recorder_messages.h"

#include "platform/spool/spool_messages.h"

#include <cstdio>

namespace recorder_messages {

std::string placeRefused(const char* verb, const std::string& path, const PlaceProblem& problem) {
    return std::string("Cannot ") + verb + " to " + path + ": " + placeReason(problem) + ".";
}

std::string chooseAnotherPlace(const std::string& failure) {
    return failure + "\n\nChoose another place for the recording.";
}

std::string endedEarlySaved(const std::string& failure, double seconds, const std::string& path) {
    return failure + " What was recorded up to then (" + takeDurationText(seconds) +
           ") has been saved to " + path + ".";
}

std::string discardQuestion(const std::string& what) {
    return "Discard the " + what + "? It cannot be recovered afterwards.";
}

std::string recordingOf(double seconds) {
    return "recording of " + takeDurationText(seconds);
}

std::string leftTake(double seconds, std::time_t started) {
    return recordingOf(seconds) + " from " + startText(started);
}

std::string leftTakeQuestion(const std::string& what, bool headerWasDamaged,
                             const WaveFormat& format) {
    std::string question = "A " + what + " was not saved.";
    // Its sound is kept whole; only how to read it may be a guess.
    if (headerWasDamaged)
        question += "\n\nIts header was damaged. It is read as " + formatText(format) +
                    "; if it does not sound right, its sound is still all there in the saved file.";
    return question;
}

std::string startText(std::time_t started) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    ::localtime_r(&started, &local);
    char text[48];
    std::snprintf(text, sizeof text, "%d %s %d %02d:%02d", local.tm_mday,
                  kMonths[local.tm_mon % 12], local.tm_year + 1900, local.tm_hour, local.tm_min);
    return text;
}

std::string formatText(const WaveFormat& format) {
    std::string channels = format.channels == 1   ? "mono"
                           : format.channels == 2 ? "stereo"
                                                  : std::to_string(format.channels) + " channels";
    return std::to_string(format.samplesPerSec) + " samples a second, " +
           std::to_string(format.bitsPerSample) + " bit, " + channels;
}

} // namespace recorder_messages
