#include "platform/audio/pulse_record_stream.h"

#include "platform/mci/command_errors.h"
#include "platform/audio/pulse_loop_lock.h"

#include <pulse/error.h>
#include <pulse/sample.h>

namespace {

// Short enough that `status` follows the recording closely, long enough to cost little CPU.
constexpr pa_usec_t FragmentUsec = 40 * 1000;

} // namespace

PulseRecordStream::~PulseRecordStream() {
    stop();
}

int PulseRecordStream::start(WavTempFile& file, const std::string& streamName) {
    stop();
    m_file = &file;
    m_failed = false;
    m_stopping = false;

    m_loop.reset(pa_threaded_mainloop_new());
    if (!m_loop || pa_threaded_mainloop_start(m_loop.get()) < 0) {
        stop();
        return toCode(CommandError::ServerUnreachable);
    }

    int error = 0;
    {
        PulseLoopLock lock(m_loop.get());
        error = waitForContext();
        if (error == 0)
            error = waitForStream(streamName);
    }
    if (error != 0)
        stop();
    return error;
}

// Called with the loop locked.
int PulseRecordStream::waitForContext() {
    m_context.reset(pa_context_new(pa_threaded_mainloop_get_api(m_loop.get()), "Sorvinta"));
    if (!m_context)
        return toCode(CommandError::ServerUnreachable);
    pa_context_set_state_callback(m_context.get(), &PulseRecordStream::onContextState, this);
    if (pa_context_connect(m_context.get(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return toCode(CommandError::ServerUnreachable);
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(m_context.get());
        if (state == PA_CONTEXT_READY)
            return 0;
        if (!PA_CONTEXT_IS_GOOD(state))
            return toCode(CommandError::ServerUnreachable);
        pa_threaded_mainloop_wait(m_loop.get());
    }
}

// Called with the loop locked.
int PulseRecordStream::waitForStream(const std::string& streamName) {
    const WaveFormat& format = m_file->format();
    pa_sample_spec spec{};
    spec.format = format.bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    spec.rate = static_cast<uint32_t>(format.samplesPerSec);
    spec.channels = static_cast<uint8_t>(format.channels);

    m_stream.reset(pa_stream_new(m_context.get(), streamName.c_str(), &spec, nullptr));
    if (!m_stream)
        return toCode(CommandError::StreamFailed);
    pa_stream_set_state_callback(m_stream.get(), &PulseRecordStream::onStreamState, this);
    pa_stream_set_read_callback(m_stream.get(), &PulseRecordStream::onRead, this);

    // Without a fragment size the server hands data over in blocks of about two seconds.
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<uint32_t>(-1);
    attr.tlength = static_cast<uint32_t>(-1);
    attr.prebuf = static_cast<uint32_t>(-1);
    attr.minreq = static_cast<uint32_t>(-1);
    attr.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(FragmentUsec, &spec));

    // No device name: the server's default source.
    if (pa_stream_connect_record(m_stream.get(), nullptr, &attr, PA_STREAM_ADJUST_LATENCY) < 0)
        return toCode(CommandError::StreamFailed);
    for (;;) {
        const pa_stream_state_t state = pa_stream_get_state(m_stream.get());
        if (state == PA_STREAM_READY)
            return 0;
        if (!PA_STREAM_IS_GOOD(state))
            return toCode(CommandError::StreamFailed);
        pa_threaded_mainloop_wait(m_loop.get());
    }
}

void PulseRecordStream::stop() {
    if (m_loop) {
        m_stopping = true;
        PulseLoopLock lock(m_loop.get());
        if (m_stream) {
            pa_stream_set_read_callback(m_stream.get(), nullptr, nullptr);
            pa_stream_set_state_callback(m_stream.get(), nullptr, nullptr);
            pa_stream_disconnect(m_stream.get());
        }
        if (m_context) {
            pa_context_set_state_callback(m_context.get(), nullptr, nullptr);
            pa_context_disconnect(m_context.get());
        }
    }
    // The loop's thread ends here; after that nothing runs the callbacks any more.
    if (m_loop)
        pa_threaded_mainloop_stop(m_loop.get());
    m_stream.reset();
    m_context.reset();
    m_loop.reset();
    m_file = nullptr;
}

void PulseRecordStream::onContextState(pa_context* context, void* self) {
    auto* me = static_cast<PulseRecordStream*>(self);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) && !me->m_stopping)
        me->m_failed = true;
    pa_threaded_mainloop_signal(me->m_loop.get(), 0);
}

void PulseRecordStream::onStreamState(pa_stream* stream, void* self) {
    auto* me = static_cast<PulseRecordStream*>(self);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)) && !me->m_stopping)
        me->m_failed = true;
    pa_threaded_mainloop_signal(me->m_loop.get(), 0);
}

void PulseRecordStream::onRead(pa_stream* stream, std::size_t, void* self) {
    auto* me = static_cast<PulseRecordStream*>(self);
    while (pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0) {
            me->m_failed = true;
            return;
        }
        if (bytes == 0)
            return;
        // After a failed write the rest is dropped, so the file keeps what was good so far.
        if (!me->m_failed) {
            const bool written =
                data ? me->m_file->append(data, bytes) : me->m_file->appendSilence(bytes);
            if (!written)
                me->m_failed = true;
        }
        pa_stream_drop(stream);
    }
}
