#pragma once

#include "platform/audio/pulse_connection.h"
#include "platform/audio/wave_format.h"

#include <atomic>
#include <string>

class RecordSink;

// One record stream from the audio server's default source, handing its bytes to a RecordSink
// on the connection's own thread.
class PulseRecordStream {
public:
    enum class StartResult { Started, ServerUnreachable, StreamRefused };

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

    // True once the stream or the connection broke, or the sink refused the bytes.
    bool failed() const { return m_failed.load(); }

private:
    static void onRead(pa_stream* stream, std::size_t bytes, void* self);

    PulseConnection m_connection;
    RecordSink* m_sink = nullptr;
    std::atomic<bool> m_failed{false};
};
