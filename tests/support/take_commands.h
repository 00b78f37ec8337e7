#pragma once

#include "platform/mci/command_device.h"

#include <gtest/gtest.h>

#include <string>

// The commands the device tests send most: one command with room for its reply, and a stereo
// 16-bit take that starts recording in `samplesPerSec`, counting in bytes.
inline int send(CommandDevice& device, const std::string& command, std::string* reply = nullptr) {
    return device.sendString(command, reply, 1024);
}

inline void startTake(CommandDevice& device, const std::string& alias, int samplesPerSec = 44100) {
    ASSERT_EQ(send(device, "open new type waveaudio alias " + alias), 0);
    ASSERT_EQ(send(device, "set " + alias +
                               " time format bytes bitspersample 16 channels 2 samplespersec " +
                               std::to_string(samplesPerSec)),
              0);
    ASSERT_EQ(send(device, "record " + alias), 0);
}
