#pragma once

#include "platform/audio/audio_cause.h"
#include "platform/audio/pulse_connection.h"
#include "platform/audio/wave_format.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include <pulse/mainloop-api.h>
#include <pulse/sample.h>

class RecordSink;

// One record stream from the audio server's default source, handing its bytes to a RecordSink
// on the connection's own thread. The stream stays on the source it started from: when that
// input goes away, or stops delivering sound, the stream ends instead of recording something
// else, or nothing, unnoticed.
//
// When the sink has no room (its disk is behind), the bytes wait in the stream's buffer, which
// holds kServerHoldMs of sound; should that fill up too, the stream ends with DiskTooSlow before
// anything is dropped.
class PulseRecordStream {
public:
    // No sound for this long, while the stream is still connected, ends it. Some sources hand
    // their input over in bursts two seconds apart.
    static constexpr int kStallMs = 3000;
    // How much sound the stream's buffer holds for a sink that has no room (its maxlength).
    static constexpr int kServerHoldMs = 10000;
    // How long drainToNow() waits for sound that the source still owes.
    static constexpr int kDrainMs = 2000;

    PulseRecordStream() = default;
    ~PulseRecordStream() { stop(); }
    PulseRecordStream(const PulseRecordStream&) = delete;
    PulseRecordStream& operator=(const PulseRecordStream&) = delete;

    // Connects and starts recording in `format` (8-bit unsigned or 16-bit samples). Each wait
    // for the server is bounded (PulseConnection::kServerTimeoutMs). `sink` must outlive the
    // stream, or the next stop(). `holdMs` sets how much the stream's buffer holds. Fails with
    // ServerUnreachable or StreamRefused.
    AudioResult<void> start(const WaveFormat& format, RecordSink& sink,
                            const std::string& streamName, int holdMs = kServerHoldMs);

    // Reads on until the sink has all the sound recorded up to this moment: as much as the
    // stream has been running, and never less than what has already come. Sound that comes
    // later is not taken. A source that delivers late is waited for up to kDrainMs; sound the
    // stream holds already waits for the sink's room however long that takes.
    void drainToNow();

    // Ends the stream and the connection; the sink is no longer called afterwards.
    void stop();

    // Set once the stream or the connection broke, the input went silent or away, or the sink
    // refused the bytes or fell too far behind, with the first cause. Nothing reaches the sink
    // after that.
    std::optional<AudioCause> failure() const;
    bool failed() const { return m_failure.load() != kNoFailure; }

private:
    static void onRead(pa_stream* stream, std::size_t bytes, void* self);
    static void onMoved(pa_stream* stream, void* self);
    static void onStallCheck(pa_mainloop_api*, pa_time_event* event, const struct timeval*,
                             void* self);
    // Lock held. Hands the sink whatever the stream holds, as far as the sink takes it.
    void readAvailable();
    // Lock held. Offers one piece to the sink; false when it had no room and the piece stays.
    bool offer(const void* data, std::size_t bytes);
    // Keeps the first cause only.
    void fail(AudioCause cause);

    PulseConnection m_connection;
    RecordSink* m_sink = nullptr;
    // The AudioCause the stream ended with, or kNoFailure.
    static constexpr int kNoFailure = -1;
    std::atomic<int> m_failure{kNoFailure};
    // Loop's thread, or lock held: the stream's format and buffer, when it became ready, what
    // the sink has taken and the most it may be handed (set when the stream is drained), when
    // sound last came, and the timer that looks at it.
    pa_sample_spec m_spec{};
    std::uint32_t m_maxLength = 0;
    std::uint32_t m_burstBytes = 0;
    pa_usec_t m_readyUs = 0;
    std::uint64_t m_handed = 0;
    std::uint64_t m_limit = UINT64_MAX;
    pa_usec_t m_lastSoundUs = 0;
    pa_time_event* m_stallCheck = nullptr;
};
