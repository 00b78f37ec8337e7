#pragma once

#include "platform/audio/record_sink.h"
#include "platform/spool/byte_ring.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <semaphore>
#include <thread>

class TakeFile;

// Puts a record stream's bytes into a take without the stream's thread ever touching the disk:
// append() copies each block into a ring and returns; a thread of the writer's own drains the
// ring into the take, which keeps its header and its once-a-second sync there. A disk that
// stalls for a while (a slow stick, a network folder, a busy disk) costs nothing as long as the
// ring has room; when it has none, append() says so and the stream keeps the bytes for later.
// A write that fails ends the take where the failure began: what followed is dropped and
// append() refuses from then on.
class TakeWriter : public RecordSink {
public:
    // 6 MiB: 32.8 s of the largest format the window records (48,000 samples a second, 16 bit,
    // stereo) and more of every other, enough to ride out any stall a working disk makes.
    static constexpr std::size_t kDefaultRingBytes = std::size_t(6) << 20;
    // The thread writes what has gathered at least this often, and at once when a batch of
    // kBatchBytes has: a few large writes a second rather than one for every block.
    static constexpr std::chrono::milliseconds kWritePeriod{250};
    static constexpr std::size_t kBatchBytes = 64 * 1024;

    // `take` must outlive the writer and be left to it until finish().
    explicit TakeWriter(TakeFile& take, std::size_t ringBytes = kDefaultRingBytes);
    ~TakeWriter() override;
    TakeWriter(const TakeWriter&) = delete;
    TakeWriter& operator=(const TakeWriter&) = delete;

    SinkAnswer append(const void* data, std::size_t bytes) override;
    SinkAnswer appendSilence(std::size_t bytes) override;

    // What the take will hold once the ring is on disk: everything taken so far, or, after a
    // failed write, what reached the disk before it.
    std::uint64_t keptBytes() const;
    // A write failed (the take's writeError() says why).
    bool failed() const { return m_failed.load(); }

    // Takes nothing more, waits until the ring is on disk and ends the thread. Afterwards the
    // take is the owner's again. Call it once the stream no longer calls append().
    void finish();

private:
    void run();
    void drain();
    // Producer. Counts what went into the ring, or answers that it had no room.
    SinkAnswer taken(bool pushed, std::size_t bytes);
    // Producer. Wakes the thread when `added` bytes made a batch.
    void wakeForBatch(std::size_t added);

    TakeFile& m_take;
    ByteRing m_ring;
    // What the take held before this writer, and what append() took since.
    const std::uint64_t m_base;
    // A batch: kBatchBytes, or a quarter of a smaller ring.
    const std::size_t m_batchBytes;
    std::atomic<std::uint64_t> m_taken{0};
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_finishing{false};
    // Released once a batch has gathered, and at the finish; the thread sleeps on it, or for
    // kWritePeriod at the most, between its writes.
    std::counting_semaphore<> m_work{0};
    std::thread m_thread;
};
