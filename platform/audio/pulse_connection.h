#pragma once

#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <functional>

// One connection to the audio server, carrying at most one stream: a threaded main loop, its
// context and the stream, set up and torn down the same way for recording, capture and
// playback. Every wait for the server is bounded by kServerTimeoutMs, so a server that accepts
// the socket and then says nothing makes the caller fail instead of freezing the window.
//
// Callbacks run on the loop's thread with the loop's lock held. Members marked "lock held" are
// called under PulseLoopLock(loop()); open() and close() take the lock themselves.
class PulseConnection {
public:
    // How long the server may take to answer a connect, a new stream or a query.
    static constexpr int kServerTimeoutMs = 2000;

    PulseConnection() = default;
    ~PulseConnection() { close(); }
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // Runs on the loop's thread (lock held) when the context or the stream fails or is ended
    // by the server. Not called for what close() and releaseStream() end themselves.
    std::function<void()> onBroken;

    // Starts the loop and connects as `clientName`. False, with everything closed again, when
    // the server cannot be reached or does not answer within the bound.
    bool open(const char* clientName);
    // Releases the stream, then the context, then stops and frees the loop.
    void close();

    bool isOpen() const { return m_loop != nullptr; }
    pa_threaded_mainloop* loop() const { return m_loop; }
    pa_context* context() const { return m_context; }
    pa_stream* stream() const { return m_stream; }

    // Lock held. True while the context (and the stream, when there is one) are good.
    bool isGood() const;

    // Lock held. Makes the connection's stream, releasing an earlier one; null when refused.
    // The caller sets its data callbacks and connects it, then calls waitUntilReady.
    pa_stream* newStream(const char* name, const pa_sample_spec& spec,
                         const pa_channel_map* map = nullptr);
    // Lock held. True once the stream is ready; false when it failed or the bound ran out.
    bool waitUntilReady();
    // Lock held. Waits until `op` is done, the connection breaks or the bound runs out, and
    // releases it. True when it completed.
    bool finish(pa_operation* op);
    // Lock held. Clears the stream's callbacks, disconnects and releases it.
    void releaseStream();

private:
    enum class Progress { Waiting, Done, Failed };
    // Lock held: waits until `progress` gives Done or Failed, or the bound runs out.
    bool waitFor(const std::function<Progress()>& progress);

    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    bool m_running = false;
};
