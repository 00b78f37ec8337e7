#include "platform/audio/pulse_record_stream.h"

#include "platform/audio/pulse_loop_lock.h"
#include "platform/audio/record_sink.h"

#include <pulse/sample.h>

namespace {

// Short enough that `status` follows the recording closely, long enough to cost little CPU.
constexpr pa_usec_t kFragmentUs = 40 * 1000;

} // namespace

PulseRecordStream::StartResult PulseRecordStream::start(const WaveFormat& format, RecordSink& sink,
                                                        const std::string& streamName) {
    stop();
    m_sink = &sink;
    m_failed = false;
    m_connection.onBroken = [this] { m_failed = true; };
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
            // Without a fragment size the server hands data over in blocks of about two seconds.
            pa_buffer_attr attr{};
            attr.maxlength = static_cast<std::uint32_t>(-1);
            attr.tlength = static_cast<std::uint32_t>(-1);
            attr.prebuf = static_cast<std::uint32_t>(-1);
            attr.minreq = static_cast<std::uint32_t>(-1);
            attr.fragsize = static_cast<std::uint32_t>(pa_usec_to_bytes(kFragmentUs, &spec));
            // No device name: the server's default source.
            ready =
                pa_stream_connect_record(stream, nullptr, &attr, PA_STREAM_ADJUST_LATENCY) >= 0 &&
                m_connection.waitUntilReady();
        }
    }
    if (!ready) {
        stop();
        return StartResult::StreamRefused;
    }
    return StartResult::Started;
}

void PulseRecordStream::stop() {
    m_connection.close();
    m_connection.onBroken = nullptr;
    m_sink = nullptr;
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
        // After a failed write the rest is dropped, so the sink keeps what was good so far.
        if (!me->m_failed) {
            const bool kept =
                data ? me->m_sink->append(data, bytes) : me->m_sink->appendSilence(bytes);
            if (!kept)
                me->m_failed = true;
        }
        pa_stream_drop(stream);
    }
}
