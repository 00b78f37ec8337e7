#pragma once

#include <cstdint>
#include <optional>
#include <string>

class Clock;
class CommandDevice;
class CopyProgress;
class EventPump;
class FileDialog;
class MessageBox;
class PlaybackStopper;
class TakeSpool;

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
    // Where takes wait to be saved, for the takes that earlier runs left behind.
    const TakeSpool& spool;
    // Told about copies to another file system; may be null.
    CopyProgress* progress = nullptr;
};

// Recording through the command-string device: the record, stop, format and save-path buttons
// of the main window, the recording loop and its time and size read-out, and what becomes of
// a take that could not be saved.
class Recording {
public:
    // `playback` is ended before each take.
    Recording(RecordingView& view, RecordingServices services, PlaybackStopper& playback);

    void cmdRecordClick();
    void cmdStopClick();
    void optFreqClick(int index);
    void command1Click();

    // A close request while recording stops it (the take is saved) and is refused, and one
    // while a take is being saved or recovered is refused: returns true when the close must be
    // refused.
    bool refuseCloseWhileRecording();

    // Offers the takes that earlier runs left in the spool folder (see TakeRecovery).
    void recoverTakes();

    // True from the Record click until the take is saved or discarded and the device closed,
    // and while takes are recovered: the live capture waits until then.
    bool isRecording() const { return m_isRecording || m_busy; }
    const std::string& bitsPerSample() const { return m_bitsPerSample; }
    const std::string& samplesPerSec() const { return m_samplesPerSec; }

    // How often the loop reads the take's time and size, in milliseconds.
    static constexpr int kLoopWaitMs = 15;

private:
    // RecordWave and ShowRecordProgress keep the program's own names; every other member here
    // is camelCase() or m_camelCase.
    void RecordWave(const std::string& path);
    void ShowRecordProgress();
    // Sends one command; on failure shows its "Error" box and returns false.
    bool sendReported(const std::string& command);
    void returnToIdle();
    // Saves the take at `path`; when that fails, asks for other places until a save works or
    // the user discards the take. Returns where the take went, or nothing when discarded.
    std::optional<std::string> saveTake(const std::string& path, bool& endedEarly);
    double recordedSeconds() const;

    RecordingView& m_view;
    RecordingServices m_services;
    PlaybackStopper& m_playback;

    bool m_isRecording = false;
    // A take is being saved or recovered: no new take, no close, no capture.
    bool m_busy = false;
    // The last length the device reported, in bytes, and the format it counts in.
    std::uint64_t m_lastLength = 0;
    int m_bytesPerSecond = 0;
    std::int32_t m_recordStartTime = 0;
    std::string m_bitsPerSample = "16";
    std::string m_samplesPerSec = "44100";
    // Set when a poll failed, with the device's sentence for it.
    std::string m_pollFailure;
};
