#include "platform/audio/pulse_record_stream.h"

#include "platform/audio/pulse_library.h"
#include "platform/audio/pulse_loop_lock.h"
#include "platform/audio/record_sink.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <pulse/rtclock.h>
#include <pulse/timeval.h>

namespace {

// Short enough that `status` follows the recording closely, long enough to cost little CPU.
constexpr pa_usec_t kFragmentUs = 40 * 1000;
// How often the stall check looks; a stall is noticed within kStallMs plus this.
constexpr pa_usec_t kStallCheckUs = 500 * 1000;
// Room left in the stream's buffer for the next delivery when the sink has none: some sources
// deliver two seconds at once, and what does not fit would be lost without a word.
constexpr pa_usec_t kBurstUs = 3000 * 1000;
// How often a drain looks again while it waits.
constexpr auto kDrainPoll = std::chrono::milliseconds(5);

} // namespace

AudioResult<void> PulseRecordStream::start(const WaveFormat& format, RecordSink& sink,
                                           const std::string& streamName, int holdMs) {
    stop();
    m_sink = &sink;
    m_failure = kNoFailure;
    m_handed = 0;
    m_limit = UINT64_MAX;
    // A stream that fails while the server still answers was ended by the server: with
    // PA_STREAM_DONT_MOVE, that is what happens when its source goes away.
    m_connection.onBroken = [this] {
        pa_context* context = m_connection.context();
        const bool serverAnswers =
            context && PA_CONTEXT_IS_GOOD(pulse().pa_context_get_state(context));
        fail(serverAnswers ? AudioCause::InputRemoved : AudioCause::ServerLost);
    };
    if (!m_connection.open("Sorvinta")) {
        stop();
        return Failed{AudioCause::ServerUnreachable};
    }

    m_spec = pa_sample_spec{};
    m_spec.format = format.bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    m_spec.rate = static_cast<std::uint32_t>(format.samplesPerSec);
    m_spec.channels = static_cast<std::uint8_t>(format.channels);

    bool ready = false;
    {
        PulseLoopLock lock(m_connection.loop());
        if (pa_stream* stream = m_connection.newStream(streamName.c_str(), m_spec)) {
            pulse().pa_stream_set_read_callback(stream, &PulseRecordStream::onRead, this);
            pulse().pa_stream_set_moved_callback(stream, &PulseRecordStream::onMoved, this);
            // Without a fragment size the server hands data over in blocks of about two seconds.
            // The buffer's size is the server's to give otherwise; it is set so that how much
            // it holds for a sink that falls behind is known.
            pa_buffer_attr attr{};
            attr.maxlength = static_cast<std::uint32_t>(
                pulse().pa_usec_to_bytes(pa_usec_t(holdMs) * PA_USEC_PER_MSEC, &m_spec));
            attr.tlength = static_cast<std::uint32_t>(-1);
            attr.prebuf = static_cast<std::uint32_t>(-1);
            attr.minreq = static_cast<std::uint32_t>(-1);
            attr.fragsize =
                static_cast<std::uint32_t>(pulse().pa_usec_to_bytes(kFragmentUs, &m_spec));
            // No device name: the server's default source. Never moved to another one: a take
            // that silently goes on from another input is not the take the user started.
            const auto flags =
                static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
            ready = pulse().pa_stream_connect_record(stream, nullptr, &attr, flags) >= 0 &&
                    m_connection.waitUntilReady();
            if (ready) {
                // The server may have granted another size than asked for.
                const pa_buffer_attr* granted = pulse().pa_stream_get_buffer_attr(stream);
                m_maxLength = granted ? granted->maxlength : attr.maxlength;
                m_burstBytes = std::min<std::uint32_t>(
                    m_maxLength / 2,
                    static_cast<std::uint32_t>(pulse().pa_usec_to_bytes(kBurstUs, &m_spec)));
            }
        }
        if (ready) {
            m_readyUs = pulse().pa_rtclock_now();
            m_lastSoundUs = m_readyUs;
            m_stallCheck =
                pulse().pa_context_rttime_new(m_connection.context(), m_lastSoundUs + kStallCheckUs,
                                              &PulseRecordStream::onStallCheck, this);
        }
    }
    if (!ready) {
        stop();
        return Failed{AudioCause::StreamRefused};
    }
    return {};
}

void PulseRecordStream::drainToNow() {
    if (!m_connection.isOpen())
        return;
    pa_threaded_mainloop* loop = m_connection.loop();
    PulseLoopLock lock(loop);
    if (failed() || !m_connection.isGood())
        return;
    const pa_usec_t now = pulse().pa_rtclock_now();
    const auto ran = static_cast<std::uint64_t>(pulse().pa_usec_to_bytes(now - m_readyUs, &m_spec));
    m_limit = std::max(m_handed, ran);
    const pa_usec_t deadline = now + pa_usec_t(kDrainMs) * PA_USEC_PER_MSEC;
    for (;;) {
        readAvailable();
        if (failed() || m_handed >= m_limit || !m_connection.isGood())
            return;
        // Sound the stream holds already is waiting for the sink's room, not for the server.
        pa_stream* stream = m_connection.stream();
        const bool holding = stream && pulse().pa_stream_readable_size(stream) > 0;
        if (!holding && pulse().pa_rtclock_now() >= deadline)
            return;
        pulse().pa_threaded_mainloop_unlock(loop);
        std::this_thread::sleep_for(kDrainPoll);
        pulse().pa_threaded_mainloop_lock(loop);
    }
}

void PulseRecordStream::stop() {
    if (m_connection.isOpen() && m_stallCheck) {
        PulseLoopLock lock(m_connection.loop());
        pulse().pa_threaded_mainloop_get_api(m_connection.loop())->time_free(m_stallCheck);
    }
    m_stallCheck = nullptr;
    m_connection.close();
    m_connection.onBroken = nullptr;
    m_sink = nullptr;
}

std::optional<AudioCause> PulseRecordStream::failure() const {
    const int cause = m_failure.load();
    if (cause == kNoFailure)
        return std::nullopt;
    return static_cast<AudioCause>(cause);
}

void PulseRecordStream::fail(AudioCause cause) {
    int none = kNoFailure;
    m_failure.compare_exchange_strong(none, static_cast<int>(cause));
}

bool PulseRecordStream::offer(const void* data, std::size_t bytes) {
    // Past the end a drain set, the sound is after the moment the take was stopped.
    const std::uint64_t handed = m_handed;
    if (handed >= m_limit)
        return true;
    bytes = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, m_limit - handed));
    const SinkAnswer answer = data ? m_sink->append(data, bytes) : m_sink->appendSilence(bytes);
    switch (answer) {
    case SinkAnswer::Kept:
        m_handed += bytes;
        return true;
    case SinkAnswer::Refused:
        fail(AudioCause::SinkRefused);
        return true;
    case SinkAnswer::NoRoom:
        break;
    }
    // The piece stays in the stream's buffer and is offered again when more sound comes; only
    // when that buffer could not take the next delivery does the take end.
    pa_stream* stream = m_connection.stream();
    const std::size_t held = stream ? pulse().pa_stream_readable_size(stream) : 0;
    if (held + m_burstBytes >= m_maxLength) {
        fail(AudioCause::DiskTooSlow);
        return true;
    }
    return false;
}

void PulseRecordStream::readAvailable() {
    pa_stream* stream = m_connection.stream();
    if (!stream || !m_sink)
        return;
    while (pulse().pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pulse().pa_stream_peek(stream, &data, &bytes) < 0) {
            fail(AudioCause::ServerLost);
            return;
        }
        if (bytes == 0)
            return;
        m_lastSoundUs = pulse().pa_rtclock_now();
        // After a failure the rest is dropped, so the take ends where the fault began.
        if (!failed() && !offer(data, bytes))
            return;
        pulse().pa_stream_drop(stream);
    }
}

void PulseRecordStream::onRead(pa_stream*, std::size_t, void* self) {
    static_cast<PulseRecordStream*>(self)->readAvailable();
}

void PulseRecordStream::onMoved(pa_stream*, void* self) {
    // Not asked for, and not wanted: the input the take started from is gone.
    static_cast<PulseRecordStream*>(self)->fail(AudioCause::InputRemoved);
}

void PulseRecordStream::onStallCheck(pa_mainloop_api*, pa_time_event* event, const struct timeval*,
                                     void* self) {
    auto* me = static_cast<PulseRecordStream*>(self);
    const pa_usec_t now = pulse().pa_rtclock_now();
    if (now - me->m_lastSoundUs >= pa_usec_t(kStallMs) * PA_USEC_PER_MSEC) {
        me->fail(AudioCause::InputStalled);
        return; // the timer stays idle; stop() frees it
    }
    pulse().pa_context_rttime_restart(me->m_connection.context(), event, now + kStallCheckUs);
}
