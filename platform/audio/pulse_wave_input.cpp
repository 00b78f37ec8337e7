#include "platform/audio/pulse_wave_input.h"

#include "platform/audio/pulse_connection.h"
#include "platform/audio/pulse_library.h"
#include "platform/audio/pulse_loop_lock.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include <pulse/introspect.h>

namespace {

struct SourceEntry {
    std::string name;
    std::string description;
};

struct SourceQuery {
    PulseConnection* connection = nullptr;
    std::string defaultName;
    std::vector<SourceEntry> sources;
};

pa_sample_format_t sampleFormatOf(const WaveFormat& format) {
    if (format.bitsPerSample == 16)
        return PA_SAMPLE_S16LE;
    if (format.bitsPerSample == 8)
        return PA_SAMPLE_U8;
    return PA_SAMPLE_INVALID;
}

// `count` bytes of a chunk from `offset`; a hole in the stream reads as silence.
void copyOut(char* dst, const void* chunk, std::size_t offset, std::size_t count) {
    if (count == 0)
        return;
    if (chunk)
        std::memcpy(dst, static_cast<const char*>(chunk) + offset, count);
    else
        std::memset(dst, 0, count);
}

} // namespace

bool BlockFiller::queue(WaveBlock& block) {
    m_block = &block;
    block.bytesRecorded = 0;
    m_filled = static_cast<std::uint32_t>(std::min<std::size_t>(m_keptBytes, block.bufferLength));
    copyOut(reinterpret_cast<char*>(block.data), m_kept.data(), 0, m_filled);
    m_keptBytes = 0;
    if (m_filled < block.bufferLength)
        return false;
    complete();
    return true;
}

std::size_t BlockFiller::take(const void* data, std::size_t size) {
    if (!m_block) {
        if (m_filledThisDelivery)
            keep(data, 0, size);
        else
            m_keptBytes = 0;
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(m_block->bufferLength - m_filled, size);
    copyOut(reinterpret_cast<char*>(m_block->data) + m_filled, data, 0, n);
    m_filled += static_cast<std::uint32_t>(n);
    if (m_filled < m_block->bufferLength)
        return 0;
    complete();
    m_filledThisDelivery = true;
    keep(data, n, size - n);
    return n;
}

void BlockFiller::reset() {
    m_keptBytes = 0;
    if (m_block)
        complete();
}

void BlockFiller::complete() {
    m_block->bytesRecorded = m_filled;
    m_block->flags.fetch_or(kWaveBlockDone, std::memory_order_release);
    m_block = nullptr;
}

void BlockFiller::keep(const void* data, std::size_t offset, std::size_t count) {
    const std::size_t n = std::min(m_kept.size() - m_keptBytes, count);
    copyOut(m_kept.data() + m_keptBytes, data, offset, n);
    m_keptBytes += n;
}

// One open record stream with its own connection. The read callback runs on the loop's
// thread; the queued block and the failure flag are shared with the caller under `mutex`.
struct PulseCaptureStream {
    PulseConnection connection;
    std::int64_t bytesPerSecond = 22050;

    mutable std::mutex mutex;
    std::condition_variable changed;
    bool failed = false;
    bool timed = false;
    PulseWaveInput::BlockTiming timing;
    // Tells the waiting side to look again; called without `mutex` held.
    std::function<void()> notify;

    PulseCaptureStream() = default;
    PulseCaptureStream(const PulseCaptureStream&) = delete;
    PulseCaptureStream& operator=(const PulseCaptureStream&) = delete;

    // The loop stops before the members its callbacks use go.
    ~PulseCaptureStream() { connection.close(); }

    void markFailed() {
        {
            std::lock_guard guard(mutex);
            failed = true;
            changed.notify_all();
        }
        tell();
    }

    void tell() const {
        if (notify)
            notify();
    }

    // Hands the queued block back as it is (reset, or the stream ended).
    void returnBlock() {
        std::lock_guard guard(mutex);
        filler.reset();
        changed.notify_all();
    }

    static void onRead(pa_stream* s, std::size_t, void* self) {
        static_cast<PulseCaptureStream*>(self)->take(s);
    }

    void queue(WaveBlock& next) {
        std::lock_guard guard(mutex);
        // Done at once from kept data: the caller looks at the flag before it waits.
        if (filler.queue(next))
            changed.notify_all();
    }

    void take(pa_stream* s) {
        std::unique_lock guard(mutex, std::defer_lock);
        filler.beginDelivery();
        while (pulse().pa_stream_readable_size(s) > 0) {
            pa_usec_t latency = 0;
            int negative = 0;
            const bool haveLatency = pulse().pa_stream_get_latency(s, &latency, &negative) == 0;
            const void* data = nullptr;
            std::size_t nbytes = 0;
            if (pulse().pa_stream_peek(s, &data, &nbytes) < 0 || nbytes == 0)
                return;
            guard.lock();
            if (const std::size_t used = filler.take(data, nbytes)) {
                // The block's newest sample lies `used` bytes after the oldest unread one.
                const std::int64_t usedUs =
                    static_cast<std::int64_t>(used) * 1000000 / bytesPerSecond;
                const auto latencyUs = static_cast<std::int64_t>(latency);
                const std::int64_t ageUs = haveLatency ? (negative ? -latencyUs : latencyUs) : 0;
                timing.completed = std::chrono::steady_clock::now();
                timing.newestSampleAgeUs = std::max<std::int64_t>(0, ageUs - usedUs);
                timed = true;
                changed.notify_all();
                guard.unlock();
                tell();
            } else {
                guard.unlock();
            }
            pulse().pa_stream_drop(s);
        }
    }

    BlockFiller filler;
};

PulseWaveInput::PulseWaveInput() = default;

PulseWaveInput::~PulseWaveInput() {
    for (auto& [handle, stream] : m_streams)
        stream->returnBlock();
}

std::vector<std::string> PulseWaveInput::deviceNames() {
    m_sourceNames.clear();
    m_serverAnswered = false;
    PulseConnection conn;
    if (!conn.open("Sorvinta"))
        return {};
    SourceQuery query;
    query.connection = &conn;
    PulseLoopLock lock(conn.loop());
    const bool haveServer = conn.finish(pulse().pa_context_get_server_info(
        conn.context(),
        [](pa_context*, const pa_server_info* info, void* q) {
            auto* query = static_cast<SourceQuery*>(q);
            if (info && info->default_source_name)
                query->defaultName = info->default_source_name;
            pulse().pa_threaded_mainloop_signal(query->connection->loop(), 0);
        },
        &query));
    const bool haveList = conn.finish(pulse().pa_context_get_source_info_list(
        conn.context(),
        [](pa_context*, const pa_source_info* info, int eol, void* q) {
            auto* query = static_cast<SourceQuery*>(q);
            // A sink's monitor plays back what goes out; it is no input.
            if (!eol && info && info->monitor_of_sink == PA_INVALID_INDEX)
                query->sources.push_back(
                    {info->name ? info->name : "", info->description && *info->description
                                                       ? info->description
                                                       : (info->name ? info->name : "")});
            pulse().pa_threaded_mainloop_signal(query->connection->loop(), 0);
        },
        &query));
    if (!haveServer || !haveList)
        return {};
    m_serverAnswered = true;

    std::stable_partition(query.sources.begin(), query.sources.end(),
                          [&](const SourceEntry& s) { return s.name == query.defaultName; });
    std::vector<std::string> names;
    for (const SourceEntry& s : query.sources) {
        m_sourceNames.push_back(s.name);
        names.push_back(s.description);
    }
    return names;
}

WaveInputHandle PulseWaveInput::open(int device, const WaveFormat& format) {
    if (m_sourceNames.empty())
        deviceNames();
    if (device < 0 || device >= static_cast<int>(m_sourceNames.size()))
        return 0;
    if (format.samplesPerSec <= 0 || format.channels <= 0 ||
        format.channels > static_cast<int>(PA_CHANNELS_MAX))
        return 0;
    pa_sample_spec spec;
    spec.format = sampleFormatOf(format);
    spec.rate = static_cast<std::uint32_t>(format.samplesPerSec);
    spec.channels = static_cast<std::uint8_t>(format.channels);
    if (!pulse().pa_sample_spec_valid(&spec))
        return 0;

    auto cs = std::make_unique<PulseCaptureStream>();
    cs->bytesPerSecond = format.bytesPerSecond();
    cs->notify = m_notify;
    PulseCaptureStream* raw = cs.get();
    cs->connection.onBroken = [raw] { raw->markFailed(); };
    if (!cs->connection.open("Sorvinta"))
        return 0;

    PulseLoopLock lock(cs->connection.loop());
    pa_stream* stream = cs->connection.newStream("Live spectrum", spec);
    if (!stream)
        return 0;
    pulse().pa_stream_set_read_callback(stream, &PulseCaptureStream::onRead, raw);

    // One fragment per block, so a block arrives as soon as it is captured rather than
    // in the server's default multi-second chunks.
    pa_buffer_attr attr;
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(-1);
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(512 * format.bytesPerFrame());
    const auto flags =
        static_cast<pa_stream_flags_t>(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY |
                                       PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_INTERPOLATE_TIMING);
    // Entry 0 is the default input: no name, so that a reopen follows whatever the default is
    // by then (a device unplugged, another chosen) rather than the one listed at start-up.
    const char* source =
        device == 0 ? nullptr : m_sourceNames[static_cast<std::size_t>(device)].c_str();
    if (pulse().pa_stream_connect_record(stream, source, &attr, flags) < 0 ||
        !cs->connection.waitUntilReady())
        return 0;

    const WaveInputHandle handle = m_nextHandle++;
    if (m_nextHandle == 0)
        m_nextHandle = 1;
    m_streams.emplace(handle, std::move(cs));
    return handle;
}

std::string PulseWaveInput::sourceName(int device) const {
    if (device < 0 || device >= static_cast<int>(m_sourceNames.size()))
        return {};
    return m_sourceNames[static_cast<std::size_t>(device)];
}

PulseCaptureStream* PulseWaveInput::find(WaveInputHandle handle) const {
    const auto it = m_streams.find(handle);
    return it == m_streams.end() ? nullptr : it->second.get();
}

void PulseWaveInput::start(WaveInputHandle handle) {
    PulseCaptureStream* cs = find(handle);
    if (!cs)
        return;
    PulseLoopLock lock(cs->connection.loop());
    unrefOperation(pulse().pa_stream_cork(cs->connection.stream(), 0, nullptr, nullptr));
}

void PulseWaveInput::addBuffer(WaveInputHandle handle, WaveBlock& block) {
    PulseCaptureStream* cs = find(handle);
    if (!cs)
        return;
    cs->queue(block);
}

WaveWait PulseWaveInput::waitDone(WaveInputHandle handle, const WaveBlock& block, int maxWaitMs) {
    PulseCaptureStream* cs = find(handle);
    if (!cs)
        return WaveWait::Failed;
    const auto isDone = [&] {
        return (block.flags.load(std::memory_order_acquire) & kWaveBlockDone) != 0;
    };
    std::unique_lock lock(cs->mutex);
    // A look without a wait makes no timed sleep at all: even one that has run out at once
    // costs the caller's thread a trip through the scheduler, on every pass of the capture loop.
    if (maxWaitMs > 0)
        cs->changed.wait_for(lock, std::chrono::milliseconds(maxWaitMs),
                             [&] { return isDone() || cs->failed; });
    if (isDone())
        return WaveWait::Done;
    return cs->failed ? WaveWait::Failed : WaveWait::Pending;
}

void PulseWaveInput::reset(WaveInputHandle handle) {
    PulseCaptureStream* cs = find(handle);
    if (!cs)
        return;
    {
        PulseLoopLock lock(cs->connection.loop());
        if (cs->connection.isGood()) {
            unrefOperation(pulse().pa_stream_cork(cs->connection.stream(), 1, nullptr, nullptr));
            unrefOperation(pulse().pa_stream_flush(cs->connection.stream(), nullptr, nullptr));
        }
    }
    cs->returnBlock();
}

void PulseWaveInput::close(WaveInputHandle handle) {
    const auto it = m_streams.find(handle);
    if (it == m_streams.end())
        return;
    it->second->returnBlock();
    m_streams.erase(it);
}

bool PulseWaveInput::lastBlockTiming(WaveInputHandle handle, BlockTiming& timing) const {
    PulseCaptureStream* cs = find(handle);
    if (!cs)
        return false;
    std::lock_guard guard(cs->mutex);
    if (!cs->timed)
        return false;
    timing = cs->timing;
    return true;
}
