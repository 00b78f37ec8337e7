#include "platform/audio/pulse_connection.h"

#include "platform/audio/pulse_library.h"
#include "platform/audio/pulse_loop_lock.h"

#include <pulse/rtclock.h>
#include <pulse/timeval.h>

namespace {

struct Deadline {
    pa_threaded_mainloop* loop = nullptr;
    bool passed = false;
};

void onDeadline(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* user) {
    auto* deadline = static_cast<Deadline*>(user);
    deadline->passed = true;
    pulse().pa_threaded_mainloop_signal(deadline->loop, 0);
}

} // namespace

bool PulseConnection::open(const char* clientName) {
    close();
    m_loop = pulse().pa_threaded_mainloop_new();
    if (!m_loop)
        return false;
    if (pulse().pa_threaded_mainloop_start(m_loop) < 0) {
        close();
        return false;
    }
    m_running = true;

    bool ready = false;
    {
        PulseLoopLock lock(m_loop);
        m_context =
            pulse().pa_context_new(pulse().pa_threaded_mainloop_get_api(m_loop), clientName);
        if (m_context) {
            pulse().pa_context_set_state_callback(m_context, &PulseConnection::onContextState,
                                                  this);
            // No autospawn: a server that is not there is reported, not started behind our back.
            if (pulse().pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >=
                0)
                ready = waitFor([this] {
                    const pa_context_state_t state = pulse().pa_context_get_state(m_context);
                    if (state == PA_CONTEXT_READY)
                        return Progress::Done;
                    return PA_CONTEXT_IS_GOOD(state) ? Progress::Waiting : Progress::Failed;
                });
        }
    }
    if (!ready)
        close();
    return ready;
}

void PulseConnection::close() {
    if (!m_loop)
        return;
    {
        PulseLoopLock lock(m_loop);
        releaseStream();
        if (m_context) {
            pulse().pa_context_set_state_callback(m_context, nullptr, nullptr);
            pulse().pa_context_disconnect(m_context);
            pulse().pa_context_unref(m_context);
            m_context = nullptr;
        }
    }
    // The loop's thread ends here; after that nothing runs a callback any more.
    if (m_running)
        pulse().pa_threaded_mainloop_stop(m_loop);
    m_running = false;
    pulse().pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
}

bool PulseConnection::isGood() const {
    if (!m_context || !PA_CONTEXT_IS_GOOD(pulse().pa_context_get_state(m_context)))
        return false;
    return !m_stream || PA_STREAM_IS_GOOD(pulse().pa_stream_get_state(m_stream));
}

pa_stream* PulseConnection::newStream(const char* name, const pa_sample_spec& spec,
                                      const pa_channel_map* map) {
    releaseStream();
    if (!m_context)
        return nullptr;
    m_stream = pulse().pa_stream_new(m_context, name, &spec, map);
    if (m_stream)
        pulse().pa_stream_set_state_callback(m_stream, &PulseConnection::onStreamState, this);
    return m_stream;
}

bool PulseConnection::waitUntilReady() {
    if (!m_stream)
        return false;
    return waitFor([this] {
        const pa_stream_state_t state = pulse().pa_stream_get_state(m_stream);
        if (state == PA_STREAM_READY)
            return Progress::Done;
        if (!PA_STREAM_IS_GOOD(state) ||
            !PA_CONTEXT_IS_GOOD(pulse().pa_context_get_state(m_context)))
            return Progress::Failed;
        return Progress::Waiting;
    });
}

bool PulseConnection::finish(pa_operation* op) {
    if (!op)
        return false;
    const bool done = waitFor([&] {
        const pa_operation_state_t state = pulse().pa_operation_get_state(op);
        if (state == PA_OPERATION_DONE)
            return Progress::Done;
        if (state != PA_OPERATION_RUNNING ||
            !PA_CONTEXT_IS_GOOD(pulse().pa_context_get_state(m_context)))
            return Progress::Failed;
        return Progress::Waiting;
    });
    // An operation left running must not call back into a caller that has gone.
    if (pulse().pa_operation_get_state(op) == PA_OPERATION_RUNNING)
        pulse().pa_operation_cancel(op);
    pulse().pa_operation_unref(op);
    return done;
}

void PulseConnection::releaseStream() {
    if (!m_stream)
        return;
    pulse().pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pulse().pa_stream_set_read_callback(m_stream, nullptr, nullptr);
    pulse().pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    pulse().pa_stream_disconnect(m_stream);
    pulse().pa_stream_unref(m_stream);
    m_stream = nullptr;
}

bool PulseConnection::waitFor(const std::function<Progress()>& progress) {
    Deadline deadline{m_loop};
    pa_time_event* timer = pulse().pa_context_rttime_new(
        m_context, pulse().pa_rtclock_now() + pa_usec_t(kServerTimeoutMs) * PA_USEC_PER_MSEC,
        &onDeadline, &deadline);
    Progress now = progress();
    // Without a timer nothing would bound the wait: take the answer as it stands.
    if (!timer)
        return now == Progress::Done;
    while (now == Progress::Waiting && !deadline.passed) {
        pulse().pa_threaded_mainloop_wait(m_loop);
        now = progress();
    }
    pulse().pa_threaded_mainloop_get_api(m_loop)->time_free(timer);
    return now == Progress::Done;
}

void PulseConnection::onContextState(pa_context* context, void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    if (!PA_CONTEXT_IS_GOOD(pulse().pa_context_get_state(context)) && connection->onBroken)
        connection->onBroken();
    pulse().pa_threaded_mainloop_signal(connection->m_loop, 0);
}

void PulseConnection::onStreamState(pa_stream* stream, void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    if (!PA_STREAM_IS_GOOD(pulse().pa_stream_get_state(stream)) && connection->onBroken)
        connection->onBroken();
    pulse().pa_threaded_mainloop_signal(connection->m_loop, 0);
}
