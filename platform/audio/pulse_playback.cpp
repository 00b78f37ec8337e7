#include "platform/audio/pulse_playback.h"

#include "platform/audio/pulse_loop_lock.h"
#include "platform/multimedia/sound_file_reader.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/rtclock.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>

#include <algorithm>
#include <span>

namespace {

constexpr std::size_t kBlockFrames = SoundFileReader::kBlockFrames;
// Small enough that pause and stop are heard at once, large enough for a busy machine.
constexpr pa_usec_t kTargetLatencyUs = 250 * 1000;

struct ConnectWait {
    pa_threaded_mainloop* loop;
    bool timedOut = false;
};

void onConnectTimeout(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* user) {
    auto* wait = static_cast<ConnectWait*>(user);
    wait->timedOut = true;
    pa_threaded_mainloop_signal(wait->loop, 0);
}

} // namespace

void PulsePlayback::MainloopDeleter::operator()(pa_threaded_mainloop* loop) const {
    pa_threaded_mainloop_stop(loop);
    pa_threaded_mainloop_free(loop);
}

PulsePlayback::PulsePlayback() = default;

PulsePlayback::~PulsePlayback() {
    disconnect();
}

bool PulsePlayback::connect() {
    if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY)
        return true;
    disconnect();

    m_loop.reset(pa_threaded_mainloop_new());
    if (!m_loop)
        return false;
    if (pa_threaded_mainloop_start(m_loop.get()) < 0) {
        // The deleter's stop is harmless on a loop that never ran.
        m_loop.reset();
        return false;
    }

    PulseLoopLock lock(m_loop.get());
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop.get()), "Sorvinta");
    if (!m_context)
        return false;
    pa_context_set_state_callback(m_context, onContextState, this);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;

    // A server that accepts but never answers must not hold the window.
    ConnectWait wait{m_loop.get()};
    pa_time_event* timer = pa_context_rttime_new(
        m_context, pa_rtclock_now() + pa_usec_t(kConnectTimeoutMs) * PA_USEC_PER_MSEC,
        onConnectTimeout, &wait);
    pa_context_state_t state = pa_context_get_state(m_context);
    while (PA_CONTEXT_IS_GOOD(state) && state != PA_CONTEXT_READY && !wait.timedOut) {
        pa_threaded_mainloop_wait(m_loop.get());
        state = pa_context_get_state(m_context);
    }
    if (timer)
        pa_threaded_mainloop_get_api(m_loop.get())->time_free(timer);
    return state == PA_CONTEXT_READY;
}

void PulsePlayback::disconnect() {
    {
        PulseLoopLock lock(m_loop.get());
        releaseStream();
        if (m_context) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
    }
    m_loop.reset();
}

bool PulsePlayback::start(SoundFileReader& reader) {
    stop();
    if (!reader.isOpen() || !connect())
        return false;

    PulseLoopLock lock(m_loop.get());
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_FLOAT32LE;
    spec.rate = static_cast<std::uint32_t>(reader.sampleRate());
    spec.channels = static_cast<std::uint8_t>(reader.channels());
    pa_channel_map map{};
    if (!pa_sample_spec_valid(&spec) ||
        !pa_channel_map_init_extend(&map, spec.channels, PA_CHANNEL_MAP_DEFAULT))
        return false;

    m_stream = pa_stream_new(m_context, "Playback", &spec, &map);
    if (!m_stream)
        return false;
    m_reader = &reader;
    m_channels = reader.channels();
    m_rate = reader.sampleRate();
    m_block.assign(kBlockFrames * static_cast<std::size_t>(m_channels), 0.0f);
    m_corked = false;
    m_endOfData = false;
    m_drained = false;
    m_framesWritten = 0;
    m_lastPlayed = 0;

    pa_stream_set_state_callback(m_stream, onStreamState, this);
    pa_stream_set_write_callback(m_stream, onWrite, this);
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(kTargetLatencyUs, &spec));
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_playback(m_stream, nullptr, &attr, flags, nullptr, nullptr) < 0) {
        releaseStream();
        return false;
    }
    return true;
}

void PulsePlayback::stop() {
    PulseLoopLock lock(m_loop.get());
    releaseStream();
}

// Called with the loop's lock held (or with no loop at all).
void PulsePlayback::releaseStream() {
    if (m_drain) {
        pa_operation_cancel(m_drain);
        pa_operation_unref(m_drain);
        m_drain = nullptr;
    }
    if (m_stream) {
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    m_reader = nullptr;
    m_corked = false;
}

void PulsePlayback::setPaused(bool paused) {
    PulseLoopLock lock(m_loop.get());
    if (!m_stream || paused == m_corked)
        return;
    m_corked = paused;
    // A stream still being set up is corked once it is ready (see onStreamState).
    if (pa_stream_get_state(m_stream) == PA_STREAM_READY)
        unrefOperation(pa_stream_cork(m_stream, paused ? 1 : 0, nullptr, nullptr));
}

bool PulsePlayback::failed() const {
    PulseLoopLock lock(m_loop.get());
    if (!m_stream || !m_context)
        return false;
    return !PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)) ||
           !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context));
}

std::int64_t PulsePlayback::playedFrames() const {
    PulseLoopLock lock(m_loop.get());
    if (!m_stream)
        return m_lastPlayed;
    pa_usec_t usec = 0;
    if (pa_stream_get_state(m_stream) == PA_STREAM_READY &&
        pa_stream_get_time(m_stream, &usec) == 0) {
        const auto frames = static_cast<std::int64_t>(usec / PA_USEC_PER_SEC) * m_rate +
                            static_cast<std::int64_t>(usec % PA_USEC_PER_SEC) * m_rate /
                                static_cast<std::int64_t>(PA_USEC_PER_SEC);
        // The clock can run a little past the data while the sink catches up.
        m_lastPlayed = std::max(m_lastPlayed, std::min(frames, m_framesWritten));
    }
    return m_lastPlayed;
}

bool PulsePlayback::finished() const {
    const std::int64_t played = playedFrames();
    PulseLoopLock lock(m_loop.get());
    return m_drained || (m_endOfData && played >= m_framesWritten);
}

void PulsePlayback::fill(std::size_t bytes) {
    if (!m_reader || m_endOfData)
        return;
    const std::size_t frameBytes = sizeof(float) * static_cast<std::size_t>(m_channels);
    std::size_t wanted = std::max<std::size_t>(1, bytes / frameBytes);
    while (wanted > 0) {
        const std::size_t ask = std::min(wanted, kBlockFrames);
        const std::size_t got = m_reader->read(
            std::span<float>(m_block.data(), ask * static_cast<std::size_t>(m_channels)));
        if (got == 0) {
            m_endOfData = true;
            m_drain = pa_stream_drain(m_stream, onDrained, this);
            return;
        }
        if (pa_stream_write(m_stream, m_block.data(), got * frameBytes, nullptr, 0,
                            PA_SEEK_RELATIVE) < 0)
            return;
        m_framesWritten += static_cast<std::int64_t>(got);
        wanted -= got;
    }
}

void PulsePlayback::onContextState(pa_context*, void* self) {
    pa_threaded_mainloop_signal(static_cast<PulsePlayback*>(self)->m_loop.get(), 0);
}

void PulsePlayback::onStreamState(pa_stream* stream, void* self) {
    auto* p = static_cast<PulsePlayback*>(self);
    if (pa_stream_get_state(stream) == PA_STREAM_READY && p->m_corked)
        unrefOperation(pa_stream_cork(stream, 1, nullptr, nullptr));
}

void PulsePlayback::onWrite(pa_stream*, std::size_t bytes, void* self) {
    static_cast<PulsePlayback*>(self)->fill(bytes);
}

void PulsePlayback::onDrained(pa_stream*, int success, void* self) {
    auto* p = static_cast<PulsePlayback*>(self);
    if (success)
        p->m_drained = true;
}
