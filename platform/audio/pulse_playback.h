#pragma once

#include "platform/audio/audio_cause.h"
#include "platform/audio/pulse_connection.h"

#include <cstdint>
#include <vector>

class SampleSource;

// One connection to the audio server and at most one playback stream on its default sink, fed
// on demand from a SampleSource by the connection's own thread. Every member is called from
// one thread (the window's); the source must not be touched while a stream is active.
class PulsePlayback {
public:
    PulsePlayback() = default;
    ~PulsePlayback() { m_connection.close(); }
    PulsePlayback(const PulsePlayback&) = delete;
    PulsePlayback& operator=(const PulsePlayback&) = delete;

    // Connects when needed and starts a stream that plays the source from where it stands,
    // each wait for the server bounded (PulseConnection::kServerTimeoutMs). Fails, with nothing
    // playing, with ServerUnreachable when the server cannot be reached or does not answer, and
    // StreamRefused when it refuses the stream or the source's format cannot be played.
    AudioResult<void> start(SampleSource& source);
    // Ends the stream at once; the source is free again afterwards.
    void stop();

    bool active() const { return m_connection.stream() != nullptr; }
    // The stream or the connection broke (the server went away, or dropped the stream).
    bool failed() const;
    bool paused() const { return m_corked; }
    void setPaused(bool paused);

    // Frames the sink has played since start(); holds its last value while the server does
    // not answer.
    std::int64_t playedFrames() const;
    // True once every decoded frame has been played (the drain finished, or the clock passed
    // the last frame written).
    bool finished() const;

private:
    bool connect();
    // Loop lock held (or no loop at all).
    void releaseStream();
    void fill(std::size_t bytes);

    static void onWrite(pa_stream* stream, std::size_t bytes, void* self);
    static void onDrained(pa_stream* stream, int success, void* self);

    PulseConnection m_connection;
    pa_operation* m_drain = nullptr;

    // Touched by the loop's thread under its lock.
    SampleSource* m_source = nullptr;
    std::vector<float> m_block;
    int m_channels = 0;
    int m_rate = 0;
    bool m_corked = false;
    bool m_endOfData = false;
    bool m_drained = false;
    std::int64_t m_framesWritten = 0;
    mutable std::int64_t m_lastPlayed = 0;
};
