#pragma once

#include "recorder/playback_transport.h"

#include <cstdint>
#include <string>
#include <vector>

// The window's side of playback, kept as plain values for the tests to read and preset.
class FakePlaybackView : public PlaybackView {
public:
    std::string statusText() const override { return status; }
    void setStatus(const std::string& text, std::uint32_t c) override {
        status = text;
        colour = c;
        ++statusWrites;
    }
    void setBarValue(int value) override { bar = value; }
    void setMMControlTimerEnabled(bool enabled) override { timerOn = enabled; }

    std::string status = "STOP";
    std::uint32_t colour = 0;
    int statusWrites = 0;
    int bar = -1; // -1: never set
    bool timerOn = false;
};
