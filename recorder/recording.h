#pragma once

#include "recorder/recording_state.h"

#include <cstdint>
#include <string>

class Clock;
class CommandDevice;
class EventPump;
class FileDialog;
class MessageBox;
class PlaybackStopper;

// What the recording needs of the main window.
class RecordingView {
public:
    virtual ~RecordingView() = default;
    virtual std::string fileNameText() const = 0;
    virtual void setFileNameText(const std::string& text) = 0;
    virtual void setStatus(const std::string& text, std::uint32_t colour) = 0;
    virtual bool recordEnabled() const = 0;
    virtual void setRecordEnabled(bool enabled) = 0;
    virtual void setStopEnabled(bool enabled) = 0;
    virtual void setSettingsText(const std::string& text) = 0;
    virtual void setTimeText(const std::string& text) = 0;
    virtual void setSizeText(const std::string& text) = 0;
};

struct RecordingServices {
    CommandDevice& device;
    MessageBox& messages;
    FileDialog& dialog;
    EventPump& pump;
    const Clock& clock;
};

// Recording through the command-string device: the record, stop, format and save-path buttons
// of the main window, the recording loop and its time and size read-out.
class Recording : public RecordingState {
public:
    // `playback` is ended before each take.
    Recording(RecordingView& view, RecordingServices services, PlaybackStopper& playback);

    void cmdRecordClick();
    void cmdStopClick();
    void optFreqClick(int index);
    void command1Click();

    // A close request while recording stops it (the take is saved) and is refused: returns
    // true when the close must be refused.
    bool refuseCloseWhileRecording();

    bool isRecording() const override { return m_isRecording; }
    const std::string& bitsPerSample() const { return m_bitsPerSample; }
    const std::string& samplesPerSec() const { return m_samplesPerSec; }

    // Longest wait of one loop pass for window events, in milliseconds.
    static constexpr int kLoopWaitMs = 15;

private:
    void RecordWave(const std::string& path, bool createdTarget);
    void ShowRecordProgress();
    // Sends one command; on failure shows its "Error" box and returns false.
    bool sendReported(const std::string& command);
    void returnToIdle();

    RecordingView& m_view;
    RecordingServices m_services;
    PlaybackStopper& m_playback;

    bool m_isRecording = false;
    std::int32_t m_recordStartTime = 0;
    std::string m_bitsPerSample = "16";
    std::string m_samplesPerSec = "44100";
    // Set when a poll failed, with the device's sentence for it.
    std::string m_pollFailure;
};
