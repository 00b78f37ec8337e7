#pragma once

#include "platform/audio/wave_input.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct PulseCaptureStream;

// How the chunks a record stream hands over become blocks. The server delivers a few
// milliseconds at a time, often several chunks at once. What comes in with the chunk that
// fills a block arrived while that block was queued, so up to one block of it is kept for the
// next block and consecutive blocks join up. A delivery that finds no block queued is
// dropped, and the kept data with it: input between blocks is not saved up.
// Not thread-safe: the stream calls it under its own lock.
class BlockFiller {
public:
    static constexpr std::size_t kKeptCapacity = 1024;

    // Queues `block`, starting it with the kept data; true when that already fills it.
    bool queue(WaveBlock& block);
    // Call before the chunks of each delivery.
    void beginDelivery() { m_filledThisDelivery = false; }
    // One chunk (`data` null: a hole, read as silence). Returns how many of its bytes went
    // into a block that this chunk filled (and marked done), else 0.
    std::size_t take(const void* data, std::size_t size);
    // Hands the queued block back, done with what it holds, and drops the kept data.
    void reset();

    bool hasBlock() const { return m_block != nullptr; }
    std::size_t keptBytes() const { return m_keptBytes; }

private:
    void complete();
    void keep(const void* data, std::size_t offset, std::size_t count);

    WaveBlock* m_block = nullptr;
    std::uint32_t m_filled = 0;
    std::array<char, kKeptCapacity> m_kept{};
    std::size_t m_keptBytes = 0;
    bool m_filledThisDelivery = false;
};

// Wave input on the PulseAudio client library: each open stream runs its own threaded main
// loop and connection, so a lost server only fails that stream and the next open reconnects.
class PulseWaveInput : public WaveInput {
public:
    PulseWaveInput();
    ~PulseWaveInput() override;
    PulseWaveInput(const PulseWaveInput&) = delete;
    PulseWaveInput& operator=(const PulseWaveInput&) = delete;

    void setNotifier(std::function<void()> notify) override { m_notify = std::move(notify); }
    std::vector<std::string> deviceNames() override;
    bool serverAnswered() const override { return m_serverAnswered; }
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

    std::function<void()> m_notify;
    std::vector<std::string> m_sourceNames; // server names behind the last device list
    bool m_serverAnswered = true;
    std::map<WaveInputHandle, std::unique_ptr<PulseCaptureStream>> m_streams;
    WaveInputHandle m_nextHandle = 1;
};
