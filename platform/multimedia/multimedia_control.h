#pragma once

#include <cstdint>
#include <string>

// The hidden playback control of the main window, driven only through these four members.
class MultimediaControl {
public:
    virtual ~MultimediaControl() = default;

    virtual void setFileName(const std::string& path) = 0;
    virtual std::string fileName() const = 0;

    // "Open", "Play", "Pause", "Stop" or "Close", carried out at once. Errors are swallowed:
    // callers never examine them. "Stop" and "Close" are safe in every state.
    virtual void setCommand(const std::string& command) = 0;

    // Milliseconds; 0 when no file is open.
    virtual std::int32_t length() const = 0;
    // Milliseconds from the start; equals length() once the end has been played.
    virtual std::int32_t position() const = 0;
};
