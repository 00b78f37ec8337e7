#pragma once

// A scripted wave input for unit tests: no thread, blocks complete inside waitDone.

#include "platform/audio/wave_input.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

class FakeWaveInput : public WaveInput {
public:
    // What waits do once `blocksToDeliver` blocks have been delivered.
    enum class AfterLast { Stall, Fail };

    void setNotifier(std::function<void()> notify) override { notifier = std::move(notify); }
    std::vector<std::string> deviceNames() override { return devices; }
    bool serverAnswered() const override { return answering; }

    WaveInputHandle open(int device, const WaveFormat& format) override {
        opened.push_back(device);
        lastFormat = format;
        if (duringOpen)
            duringOpen();
        if (refusing.count(device) || device < 0 || device >= static_cast<int>(devices.size()))
            return 0;
        openHandle = nextHandle++;
        return openHandle;
    }
    void start(WaveInputHandle handle) override {
        calls.push_back("start " + std::to_string(handle));
        if (duringStart)
            duringStart();
    }
    void addBuffer(WaveInputHandle handle, WaveBlock& block) override {
        calls.push_back("add " + std::to_string(handle));
        queued = &block;
    }
    WaveWait waitDone(WaveInputHandle, const WaveBlock&, int maxWaitMs) override {
        ++waits;
        lastWaitMs = maxWaitMs;
        if (!queued)
            return WaveWait::Pending;
        if (blocksToDeliver >= 0 && delivered >= blocksToDeliver)
            return afterLast == AfterLast::Fail ? WaveWait::Failed : WaveWait::Pending;
        // Fill exactly the bytes the block offers (a whole number of samples).
        const int count = static_cast<int>(queued->bufferLength / 2);
        for (int i = 0; i < count; ++i)
            queued->data[i] = sample ? sample(delivered, i) : std::int16_t{0x5A5A};
        queued->bytesRecorded = queued->bufferLength;
        queued->flags.fetch_or(kWaveBlockDone);
        queued = nullptr;
        ++delivered;
        if (onBlock)
            onBlock(delivered);
        return WaveWait::Done;
    }
    void reset(WaveInputHandle handle) override {
        calls.push_back("reset " + std::to_string(handle));
        queued = nullptr;
        if (duringReset)
            duringReset();
    }
    void close(WaveInputHandle handle) override {
        calls.push_back("close " + std::to_string(handle));
        openHandle = 0;
    }

    std::function<void()> notifier;
    std::vector<std::string> devices{"Default input"};
    bool answering = true;
    std::set<int> refusing;   // device numbers whose open fails
    int blocksToDeliver = -1; // -1 = every block completes
    AfterLast afterLast = AfterLast::Stall;
    std::function<void(int)> onBlock;
    // Window events that come while an open or a start waits (a real one waits off the
    // window's thread and lets them run).
    std::function<void()> duringOpen;
    std::function<void()> duringStart;
    std::function<void()> duringReset;
    // Sample i of block n (from 0); 0x5A5A, never 0, when unset.
    std::function<std::int16_t(int, int)> sample;

    std::vector<int> opened; // device number of every open attempt
    std::vector<std::string> calls;
    WaveFormat lastFormat;
    WaveInputHandle openHandle = 0;
    WaveInputHandle nextHandle = 7;
    WaveBlock* queued = nullptr;
    int delivered = 0;
    int waits = 0;
    int lastWaitMs = -1;
};
