#include "platform/audio/pulse_record_stream.h"

#include "platform/audio/pulse_loop_lock.h"
#include "platform/audio/record_sink.h"

#include <pulse/rtclock.h>
#include <pulse/sample.h>
#include <pulse/timeval.h>

namespace {

// Short enough that `status` follows the recording closely, long enough to cost little CPU.
constexpr pa_usec_t kFragmentUs = 40 * 1000;
// How often the stall check looks; a stall is noticed within kStallMs plus this.
constexpr pa_usec_t kStallCheckUs = 500 * 1000;

} // namespace

PulseRecordStream::StartResult PulseRecordStream::start(const WaveFormat& format, RecordSink& sink,
                                                        const std::string& streamName) {
    stop();
    m_sink = &sink;
    m_failure = Failure::None;
    // A stream that fails while the server still answers was ended by the server: with
    // PA_STREAM_DONT_MOVE, that is what happens when its source goes away.
    m_connection.onBroken = [this] {
        pa_context* context = m_connection.context();
        const bool serverAnswers = context && PA_CONTEXT_IS_GOOD(pa_context_get_state(context));
        fail(serverAnswers ? Failure::InputRemoved : Failure::ServerLost);
    };
    if (!m_connection.open("Sorvinta")) {
        stop();
        return StartResult::ServerUnreachable;
    }

    pa_sample_spec spec{};
    spec.format = format.bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    spec.rate = static_cast<std::uint32_t>(format.samplesPerSec);
    spec.channels = static_cast<std::uint8_t>(format.channels);

    bool ready = false;
    {
        PulseLoopLock lock(m_connection.loop());
        if (pa_stream* stream = m_connection.newStream(streamName.c_str(), spec)) {
            pa_stream_set_read_callback(stream, &PulseRecordStream::onRead, this);
            pa_stream_set_moved_callback(stream, &PulseRecordStream::onMoved, this);
            // Without a fragment size the server hands data over in blocks of about two seconds.
            pa_buffer_attr attr{};
            attr.maxlength = static_cast<std::uint32_t>(-1);
            attr.tlength = static_cast<std::uint32_t>(-1);
            attr.prebuf = static_cast<std::uint32_t>(-1);
            attr.minreq = static_cast<std::uint32_t>(-1);
            attr.fragsize = static_cast<std::uint32_t>(pa_usec_to_bytes(kFragmentUs, &spec));
            // No device name: the server's default source. Never moved to another one: a take
            // that silently goes on from another input is not the take the user started.
            const auto flags =
                static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
            ready = pa_stream_connect_record(stream, nullptr, &attr, flags) >= 0 &&
                    m_connection.waitUntilReady();
        }
        if (ready) {
            m_lastSoundUs = pa_rtclock_now();
            m_stallCheck =
                pa_context_rttime_new(m_connection.context(), m_lastSoundUs + kStallCheckUs,
                                      &PulseRecordStream::onStallCheck, this);
        }
    }
    if (!ready) {
        stop();
        return StartResult::StreamRefused;
    }
    return StartResult::Started;
}

void PulseRecordStream::stop() {
    if (m_connection.isOpen() && m_stallCheck) {
        PulseLoopLock lock(m_connection.loop());
        pa_threaded_mainloop_get_api(m_connection.loop())->time_free(m_stallCheck);
    }
    m_stallCheck = nullptr;
    m_connection.close();
    m_connection.onBroken = nullptr;
    m_sink = nullptr;
}

void PulseRecordStream::fail(Failure cause) {
    Failure none = Failure::None;
    m_failure.compare_exchange_strong(none, cause);
}

void PulseRecordStream::onRead(pa_stream* stream, std::size_t, void* self) {
    auto* me = static_cast<PulseRecordStream*>(self);
    while (pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0) {
            me->fail(Failure::ServerLost);
            return;
        }
        if (bytes == 0)
            return;
        me->m_lastSoundUs = pa_rtclock_now();
        // After a failure the rest is dropped, so the take ends where the fault began.
        if (!me->failed()) {
            const bool kept =
                data ? me->m_sink->append(data, bytes) : me->m_sink->appendSilence(bytes);
            if (!kept)
                me->fail(Failure::SinkRefused);
        }
        pa_stream_drop(stream);
    }
}

void PulseRecordStream::onMoved(pa_stream*, void* self) {
    // Not asked for, and not wanted: the input the take started from is gone.
    static_cast<PulseRecordStream*>(self)->fail(Failure::InputRemoved);
}

void PulseRecordStream::onStallCheck(pa_mainloop_api*, pa_time_event* event, const struct timeval*,
                                     void* self) {
    auto* me = static_cast<PulseRecordStream*>(self);
    const pa_usec_t now = pa_rtclock_now();
    if (now - me->m_lastSoundUs >= pa_usec_t(kStallMs) * PA_USEC_PER_MSEC) {
        me->fail(Failure::InputStalled);
        return; // the timer stays idle; stop() frees it
    }
    pa_context_rttime_restart(me->m_connection.context(), event, now + kStallCheckUs);
}
