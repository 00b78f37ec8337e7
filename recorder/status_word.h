#pragma once

#include "platform/drawing/colour.h"

#include <functional>
#include <string>
#include <utility>

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

// The status word and its colour as the window holds them. The status label only shows this
// model: whoever needs the transport state reads it here, never from the label.
class StatusModel {
public:
    StatusModel() = default;
    StatusModel(const StatusModel&) = delete;
    StatusModel& operator=(const StatusModel&) = delete;

    const std::string& word() const { return m_word; }
    // 0x00BBGGRR.
    ColourRef colour() const { return m_colour; }

    // Every set is shown at once, also one that changes nothing.
    void set(std::string word, ColourRef colour) {
        m_word = std::move(word);
        m_colour = colour;
        if (m_show)
            m_show();
    }

    // `show` puts the model on the screen now and after every set.
    void showWith(std::function<void()> show) {
        m_show = std::move(show);
        if (m_show)
            m_show();
    }

private:
    std::string m_word = status_word::kStop;
    ColourRef m_colour = status_word::kStartColour;
    std::function<void()> m_show;
};
