#pragma once

#include "platform/audio/pulse_connection.h"
#include "platform/audio/wave_format.h"

#include <atomic>
#include <string>

#include <pulse/mainloop-api.h>

class RecordSink;

// One record stream from the audio server's default source, handing its bytes to a RecordSink
// on the connection's own thread. The stream stays on the source it started from: when that
// input goes away, or stops delivering sound, the stream ends instead of recording something
// else, or nothing, unnoticed.
class PulseRecordStream {
public:
    enum class StartResult { Started, ServerUnreachable, StreamRefused };
    // Why a stream ended on its own; the first cause is the one kept.
    enum class Failure { None, ServerLost, InputRemoved, InputStalled, SinkRefused };

    // No sound for this long, while the stream is still connected, ends it. Some sources hand
    // their input over in bursts two seconds apart.
    static constexpr int kStallMs = 3000;

    PulseRecordStream() = default;
    ~PulseRecordStream() { stop(); }
    PulseRecordStream(const PulseRecordStream&) = delete;
    PulseRecordStream& operator=(const PulseRecordStream&) = delete;

    // Connects and starts recording in `format` (8-bit unsigned or 16-bit samples). Each wait
    // for the server is bounded (PulseConnection::kServerTimeoutMs). `sink` must outlive the
    // stream, or the next stop().
    StartResult start(const WaveFormat& format, RecordSink& sink, const std::string& streamName);

    // Ends the stream and the connection; the sink is no longer called afterwards.
    void stop();

    // Set once the stream or the connection broke, the input went silent or away, or the sink
    // refused the bytes. Nothing reaches the sink after that.
    Failure failure() const { return m_failure.load(); }
    bool failed() const { return failure() != Failure::None; }

private:
    static void onRead(pa_stream* stream, std::size_t bytes, void* self);
    static void onMoved(pa_stream* stream, void* self);
    static void onStallCheck(pa_mainloop_api*, pa_time_event* event, const struct timeval*,
                             void* self);
    // Keeps the first cause only.
    void fail(Failure cause);

    PulseConnection m_connection;
    RecordSink* m_sink = nullptr;
    std::atomic<Failure> m_failure{Failure::None};
    // Loop's thread only: when sound last came, and the timer that looks at it.
    pa_usec_t m_lastSoundUs = 0;
    pa_time_event* m_stallCheck = nullptr;
};
