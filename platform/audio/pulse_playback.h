#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_operation;
class SoundFileReader;

// One connection to the audio server and at most one playback stream on its default sink, fed
// on demand from a SoundFileReader by the connection's own thread. Every member is called from
// one thread (the window's); the reader must not be touched while a stream is active.
class PulsePlayback {
public:
    PulsePlayback();
    ~PulsePlayback();
    PulsePlayback(const PulsePlayback&) = delete;
    PulsePlayback& operator=(const PulsePlayback&) = delete;

    // Connects when needed (waiting at most kConnectTimeoutMs) and starts a stream that plays
    // the reader from where it stands. Returns false, with nothing playing, when the server
    // cannot be reached or refuses the stream.
    bool start(SoundFileReader& reader);
    // Ends the stream at once; the reader is free again afterwards.
    void stop();

    bool active() const { return m_stream != nullptr; }
    // The stream or the connection broke (the server went away, or refused the stream).
    bool failed() const;
    bool paused() const { return m_corked; }
    void setPaused(bool paused);

    // Frames the sink has played since start(); holds its last value while the server does
    // not answer.
    std::int64_t playedFrames() const;
    // True once every decoded frame has been played (the drain finished, or the clock passed
    // the last frame written).
    bool finished() const;

    static constexpr int kConnectTimeoutMs = 2000;

private:
    struct MainloopDeleter {
        void operator()(pa_threaded_mainloop* loop) const;
    };
    bool connect();
    void disconnect();
    void releaseStream();
    void fill(std::size_t bytes);

    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onWrite(pa_stream* stream, std::size_t bytes, void* self);
    static void onDrained(pa_stream* stream, int success, void* self);

    std::unique_ptr<pa_threaded_mainloop, MainloopDeleter> m_loop;
    // Both owned; released under the loop's lock before the loop stops.
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    pa_operation* m_drain = nullptr;

    // Touched by the loop's thread under its lock.
    SoundFileReader* m_reader = nullptr;
    std::vector<float> m_block;
    int m_channels = 0;
    int m_rate = 0;
    bool m_corked = false;
    bool m_endOfData = false;
    bool m_drained = false;
    std::int64_t m_framesWritten = 0;
    mutable std::int64_t m_lastPlayed = 0;
};
