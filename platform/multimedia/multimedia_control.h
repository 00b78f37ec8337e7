#pragma once

#include "common/result.h"

#include <cstdint>
#include <string>

// Why a playback command failed.
enum class PlaybackCause {
    Unplayable,        // Open: the file cannot be read or played
    NothingOpen,       // Play: no file is open
    ServerUnreachable, // Play: the audio server cannot be reached or does not answer
    StreamRefused,     // Play: the audio server refused the stream
    UnknownCommand,    // not one of the commands below
};

using PlaybackResult = Result<void, PlaybackCause>;

// The hidden playback control of the main window, driven only through these four members.
class MultimediaControl {
public:
    virtual ~MultimediaControl() = default;

    virtual void setFileName(const std::string& path) = 0;
    virtual std::string fileName() const = 0;

    // "Open", "Play", "Pause", "Stop" or "Close", carried out at once; a command that fails
    // says why. "Pause", "Stop" and "Close" are safe in every state.
    virtual PlaybackResult setCommand(const std::string& command) = 0;

    // Milliseconds; 0 when no file is open.
    virtual std::int32_t length() const = 0;
    // Milliseconds from the start; equals length() once the end has been played.
    virtual std::int32_t position() const = 0;
};
