#pragma once

#include "platform/multimedia_control.h"
#include "platform/sound_file_reader.h"

#include <cstdint>
#include <string>

// The multimedia control on Linux: decodes the file with libsndfile and plays it through the
// audio server's default sink.
class PulseMultimediaControl : public MultimediaControl {
public:
    PulseMultimediaControl();
    ~PulseMultimediaControl() override;
    PulseMultimediaControl(const PulseMultimediaControl&) = delete;
    PulseMultimediaControl& operator=(const PulseMultimediaControl&) = delete;

    void setFileName(const std::string& path) override;
    std::string fileName() const override;
    void setCommand(const std::string& command) override;
    std::int32_t length() const override;
    std::int32_t position() const override;

private:
    void open();
    void close();

    std::string m_fileName;
    // The file behind the open device; empty path when closed.
    std::string m_openPath;
    SoundFileReader m_reader;
};
