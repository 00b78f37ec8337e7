#pragma once

#include "platform/audio/pulse_playback.h"
#include "platform/multimedia/multimedia_control.h"
#include "platform/multimedia/sound_file_reader.h"

#include <cstdint>
#include <memory>
#include <string>

// The multimedia control on Linux: decodes the file with libsndfile and plays it through the
// audio server's default sink. Lengths and positions are in milliseconds.
//
// "Open" of the file that is already open keeps the device as it is, so that Play after Pause
// resumes where it stopped. "Play" starts from the current place, resumes when paused and,
// once the end has been played, plays again from the start. "Stop" ends the sound and rewinds
// to 0 with the file still open; "Close" releases the file and the server connection.
class PulseMultimediaControl : public MultimediaControl {
public:
    PulseMultimediaControl();
    ~PulseMultimediaControl() override;
    PulseMultimediaControl(const PulseMultimediaControl&) = delete;
    PulseMultimediaControl& operator=(const PulseMultimediaControl&) = delete;

    void setFileName(const std::string& path) override;
    std::string fileName() const override;
    PlaybackResult setCommand(const std::string& command) override;
    std::int32_t length() const override;
    std::int32_t position() const override;

private:
    PlaybackResult open();
    PlaybackResult play();
    void pause();
    void stop();
    void close();

    std::string m_fileName;
    // The file behind the open device; empty when closed.
    std::string m_openPath;
    SoundFileReader m_reader;
    // Made on the first Play, dropped on Close; the reader belongs to it while it plays.
    std::unique_ptr<PulsePlayback> m_playback;
};
