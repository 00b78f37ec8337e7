#pragma once

#include "platform/mci/wav_temp_file.h"

#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <atomic>
#include <memory>
#include <string>

// One record stream from the audio server's default source, written into a WavTempFile on the
// server connection's own thread.
class PulseRecordStream {
public:
    PulseRecordStream() = default;
    ~PulseRecordStream();
    PulseRecordStream(const PulseRecordStream&) = delete;
    PulseRecordStream& operator=(const PulseRecordStream&) = delete;

    // Connects and starts recording in the file's format. Returns 0, or the CommandError code for
    // an unreachable server or a stream the server refused. `file` must outlive the stream.
    int start(WavTempFile& file, const std::string& streamName);

    // Ends the stream and the connection; the file is no longer touched afterwards.
    void stop();

    // True once the stream or the connection broke, or the file could not be written.
    bool failed() const { return m_failed.load(); }

private:
    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onRead(pa_stream* stream, std::size_t bytes, void* self);
    int waitForContext();
    int waitForStream(const std::string& streamName);

    struct LoopFree {
        void operator()(pa_threaded_mainloop* m) const { pa_threaded_mainloop_free(m); }
    };
    struct ContextUnref {
        void operator()(pa_context* c) const { pa_context_unref(c); }
    };
    struct StreamUnref {
        void operator()(pa_stream* s) const { pa_stream_unref(s); }
    };

    // Declared so that the stream goes before its context and the context before the loop.
    std::unique_ptr<pa_threaded_mainloop, LoopFree> m_loop;
    std::unique_ptr<pa_context, ContextUnref> m_context;
    std::unique_ptr<pa_stream, StreamUnref> m_stream;
    WavTempFile* m_file = nullptr;
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_stopping{false};
};
