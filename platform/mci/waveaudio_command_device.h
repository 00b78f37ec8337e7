#pragma once

#include "platform/mci/command_device.h"

#include <map>
#include <memory>
#include <string>

struct SetValues;

// The "waveaudio" device behind the command strings: any number of new recordings, each under
// its own alias, recorded from the audio server's default source into a temporary WAV file and
// copied to the target on "save".
//
// "open" does not touch the audio server; an unreachable server is reported by "record".
class WaveAudioCommandDevice : public CommandDevice {
public:
    // Temporary recordings go into `tempFolder`, or the system's temporary location when empty.
    explicit WaveAudioCommandDevice(std::string tempFolder = {});
    ~WaveAudioCommandDevice() override;

    int sendString(const std::string& command, std::string* reply, std::size_t replySize) override;
    std::string errorString(int code) const override;

private:
    struct Device;

    int open(const std::string& alias);
    int set(Device& device, const SetValues& values);
    int record(Device& device, const std::string& alias);
    int statusLength(Device& device, std::string& reply);
    int save(Device& device, const std::string& path);

    std::string m_tempFolder;
    std::map<std::string, std::unique_ptr<Device>> m_devices; // by alias in lower case
    std::string m_lastSaveFailure;
};

std::unique_ptr<CommandDevice> makeWaveAudioCommandDevice();
