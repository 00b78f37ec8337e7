#pragma once

#include "platform/audio/wave_format.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The live input stream: a capture device opened on its own, fed one buffer at a time.
// The stream fills the queued buffer from its own thread, sets the buffer's done flag and calls
// the notifier, so that a caller waiting elsewhere (for window events) looks at the flag again.

using WaveInputHandle = std::uint32_t; // 0 = no stream

inline constexpr std::uint32_t kWaveBlockDone = 1; // bit of WaveBlock::flags

// One buffer handed to the stream. The stream writes at most `bufferLength` bytes to `data`,
// then stores `bytesRecorded` and sets kWaveBlockDone in `flags` (from the stream's thread).
struct WaveBlock {
    std::int16_t* data = nullptr;
    std::uint32_t bufferLength = 0; // bytes
    std::uint32_t bytesRecorded = 0;
    std::atomic<std::uint32_t> flags{0};
};

enum class WaveWait {
    Done,    // the block's done flag is set
    Pending, // the wait ran out first
    Failed,  // the stream is gone (server lost, unknown handle); no block will complete
};

class WaveInput {
public:
    virtual ~WaveInput() = default;

    // Called from a stream's own thread each time a queued block is done or a stream fails.
    // Set it before opening; it must be safe to call from any thread.
    virtual void setNotifier(std::function<void()> notify) = 0;

    // Names of the capture devices, the system's default first; empty when there is none or
    // the audio service cannot be reached. Indexes into this list are device numbers.
    virtual std::vector<std::string> deviceNames() = 0;
    // False when the last deviceNames() found no audio service that answered (none running,
    // or one that accepts and then says nothing), as against one that has no input.
    virtual bool serverAnswered() const { return true; }

    // Opens `device` (an index of the last list) stopped, in `format`; 0 when it cannot.
    // Device 0 is the system's default input as it is at the time of the open.
    virtual WaveInputHandle open(int device, const WaveFormat& format) = 0;
    virtual void start(WaveInputHandle handle) = 0;

    // Queues `block`; it is filled from the moment it is queued. Input that arrives while no
    // block is queued is dropped. `block` must stay alive until it is done or reset.
    virtual void addBuffer(WaveInputHandle handle, WaveBlock& block) = 0;

    // Sleeps until `block` is done, the stream fails, or `maxWaitMs` passes (0: only looks).
    virtual WaveWait waitDone(WaveInputHandle handle, const WaveBlock& block, int maxWaitMs) = 0;

    // Stops input and hands back the queued block (marked done with what it holds).
    virtual void reset(WaveInputHandle handle) = 0;
    // Ends the stream; the handle is invalid afterwards.
    virtual void close(WaveInputHandle handle) = 0;
};
