#include "platform/audio/pulse_playback.h"

#include "platform/audio/pulse_library.h"
#include "platform/audio/pulse_loop_lock.h"
#include "platform/audio/sample_source.h"

#include <pulse/timeval.h>

#include <algorithm>
#include <span>

namespace {

constexpr std::size_t kBlockFrames = SampleSource::kBlockFrames;
// Small enough that pause and stop are heard at once, large enough for a busy machine.
constexpr pa_usec_t kTargetLatencyUs = 250 * 1000;

} // namespace

bool PulsePlayback::connect() {
    if (m_connection.isOpen()) {
        PulseLoopLock lock(m_connection.loop());
        if (m_connection.isGood())
            return true;
    }
    return m_connection.open("Sorvinta");
}

AudioResult<void> PulsePlayback::start(SampleSource& source) {
    stop();
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_FLOAT32LE;
    spec.rate = static_cast<std::uint32_t>(source.sampleRate());
    spec.channels = static_cast<std::uint8_t>(source.channels());
    pa_channel_map map{};
    if (source.channels() <= 0 || source.channels() > static_cast<int>(PA_CHANNELS_MAX) ||
        source.sampleRate() <= 0 || !pulse().pa_sample_spec_valid(&spec) ||
        !pulse().pa_channel_map_init_extend(&map, spec.channels, PA_CHANNEL_MAP_DEFAULT))
        return Failed{AudioCause::StreamRefused};
    if (!connect())
        return Failed{AudioCause::ServerUnreachable};

    PulseLoopLock lock(m_connection.loop());
    pa_stream* stream = m_connection.newStream("Playback", spec, &map);
    if (!stream)
        return Failed{AudioCause::StreamRefused};
    m_source = &source;
    m_channels = source.channels();
    m_rate = source.sampleRate();
    m_block.assign(kBlockFrames * static_cast<std::size_t>(m_channels), 0.0f);
    m_corked = false;
    m_endOfData = false;
    m_drained = false;
    m_framesWritten = 0;
    m_lastPlayed = 0;

    pulse().pa_stream_set_write_callback(stream, &PulsePlayback::onWrite, this);
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(pulse().pa_usec_to_bytes(kTargetLatencyUs, &spec));
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    if (pulse().pa_stream_connect_playback(stream, nullptr, &attr, flags, nullptr, nullptr) < 0 ||
        !m_connection.waitUntilReady()) {
        releaseStream();
        return Failed{AudioCause::StreamRefused};
    }
    return {};
}

void PulsePlayback::stop() {
    PulseLoopLock lock(m_connection.loop());
    releaseStream();
}

void PulsePlayback::releaseStream() {
    if (m_drain) {
        pulse().pa_operation_cancel(m_drain);
        pulse().pa_operation_unref(m_drain);
        m_drain = nullptr;
    }
    m_connection.releaseStream();
    m_source = nullptr;
    m_corked = false;
}

void PulsePlayback::setPaused(bool paused) {
    PulseLoopLock lock(m_connection.loop());
    pa_stream* stream = m_connection.stream();
    if (!stream || paused == m_corked)
        return;
    m_corked = paused;
    if (pulse().pa_stream_get_state(stream) == PA_STREAM_READY)
        unrefOperation(pulse().pa_stream_cork(stream, paused ? 1 : 0, nullptr, nullptr));
}

bool PulsePlayback::failed() const {
    PulseLoopLock lock(m_connection.loop());
    return m_connection.stream() && !m_connection.isGood();
}

std::int64_t PulsePlayback::playedFrames() const {
    PulseLoopLock lock(m_connection.loop());
    pa_stream* stream = m_connection.stream();
    if (!stream)
        return m_lastPlayed;
    pa_usec_t usec = 0;
    if (pulse().pa_stream_get_state(stream) == PA_STREAM_READY &&
        pulse().pa_stream_get_time(stream, &usec) == 0) {
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
    PulseLoopLock lock(m_connection.loop());
    return m_drained || (m_endOfData && played >= m_framesWritten);
}

void PulsePlayback::fill(std::size_t bytes) {
    if (!m_source || m_endOfData)
        return;
    const std::size_t frameBytes = sizeof(float) * static_cast<std::size_t>(m_channels);
    std::size_t wanted = std::max<std::size_t>(1, bytes / frameBytes);
    while (wanted > 0) {
        const std::size_t ask = std::min(wanted, kBlockFrames);
        const std::size_t got = m_source->read(
            std::span<float>(m_block.data(), ask * static_cast<std::size_t>(m_channels)));
        if (got == 0) {
            m_endOfData = true;
            m_drain =
                pulse().pa_stream_drain(m_connection.stream(), &PulsePlayback::onDrained, this);
            return;
        }
        if (pulse().pa_stream_write(m_connection.stream(), m_block.data(), got * frameBytes,
                                    nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return;
        m_framesWritten += static_cast<std::int64_t>(got);
        wanted -= got;
    }
}

void PulsePlayback::onWrite(pa_stream*, std::size_t bytes, void* self) {
    static_cast<PulsePlayback*>(self)->fill(bytes);
}

void PulsePlayback::onDrained(pa_stream*, int success, void* self) {
    auto* p = static_cast<PulsePlayback*>(self);
    if (success)
        p->m_drained = true;
}
