#pragma once

#include "platform/wave_input.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct PulseCaptureStream;

// Wave input on the PulseAudio client library: each open stream runs its own threaded main
// loop and connection, so a lost server only fails that stream and the next open reconnects.
class PulseWaveInput : public WaveInput {
public:
    PulseWaveInput();
    ~PulseWaveInput() override;
    PulseWaveInput(const PulseWaveInput&) = delete;
    PulseWaveInput& operator=(const PulseWaveInput&) = delete;

    std::vector<std::string> deviceNames() override;
    WaveInputHandle open(int device, const WaveFormat& format) override;
    void start(WaveInputHandle handle) override;
    void addBuffer(WaveInputHandle handle, WaveBlock& block) override;
    WaveWait waitDone(WaveInputHandle handle, const WaveBlock& block, int maxWaitMs) override;
    void reset(WaveInputHandle handle) override;
    void close(WaveInputHandle handle) override;

    // The server's name of the source behind entry `device` of the last list ("" if none).
    std::string sourceName(int device) const;

    // When the last block completed, and how old its newest sample was at that moment
    // (the source's and the stream's latency). False before the first block.
    struct BlockTiming {
        std::chrono::steady_clock::time_point completed;
        std::int64_t newestSampleAgeUs = 0;
    };
    bool lastBlockTiming(WaveInputHandle handle, BlockTiming& timing) const;

private:
    PulseCaptureStream* find(WaveInputHandle handle) const;

    std::vector<std::string> m_sourceNames; // server names behind the last device list
    std::map<WaveInputHandle, std::unique_ptr<PulseCaptureStream>> m_streams;
    WaveInputHandle m_nextHandle = 1;
};
