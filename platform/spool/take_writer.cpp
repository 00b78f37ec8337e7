#include "platform/spool/take_writer.h"

#include "platform/spool/take_file.h"

#include <algorithm>

TakeWriter::TakeWriter(TakeFile& take, std::size_t ringBytes)
    : m_take(take), m_ring(ringBytes), m_base(take.dataBytes()),
      m_batchBytes(std::min(kBatchBytes, ringBytes / 4)) {
    m_thread = std::thread([this] { run(); });
}

TakeWriter::~TakeWriter() {
    finish();
}

SinkAnswer TakeWriter::append(const void* data, std::size_t bytes) {
    if (m_failed.load() || m_finishing.load())
        return SinkAnswer::Refused;
    return taken(m_ring.push(data, bytes), bytes);
}

SinkAnswer TakeWriter::appendSilence(std::size_t bytes) {
    if (m_failed.load() || m_finishing.load())
        return SinkAnswer::Refused;
    // Whole frames of the middle value: 0 for signed 16-bit samples, 128 for unsigned 8-bit ones.
    const WaveFormat& format = m_take.format();
    bytes -= bytes % static_cast<std::size_t>(format.bytesPerFrame());
    const unsigned char middle = format.bitsPerSample == 8 ? 0x80 : 0x00;
    return taken(m_ring.pushFill(middle, bytes), bytes);
}

SinkAnswer TakeWriter::taken(bool pushed, std::size_t bytes) {
    if (!pushed)
        return SinkAnswer::NoRoom;
    m_taken.fetch_add(bytes);
    wakeForBatch(bytes);
    return SinkAnswer::Kept;
}

std::uint64_t TakeWriter::keptBytes() const {
    if (m_failed.load())
        return m_take.dataBytes();
    return m_base + m_taken.load();
}

void TakeWriter::finish() {
    if (!m_thread.joinable())
        return;
    m_finishing.store(true);
    m_work.release();
    m_thread.join();
}

void TakeWriter::drain() {
    for (ByteRing::Piece piece = m_ring.front(); piece.bytes > 0; piece = m_ring.front()) {
        // After a failed write the rest is dropped, so the take ends where the fault began.
        if (!m_failed.load() && !m_take.write(piece.data, piece.bytes))
            m_failed.store(true);
        // The room is given back before the sync, which is where a slow disk makes us wait.
        m_ring.pop(piece.bytes);
        if (!m_failed.load())
            m_take.syncIfDue();
    }
}

void TakeWriter::wakeForBatch(std::size_t added) {
    // Once, as the ring's contents pass a batch.
    const std::size_t used = m_ring.used();
    if (used >= m_batchBytes && used - added < m_batchBytes)
        m_work.release();
}

void TakeWriter::run() {
    for (;;) {
        // Read before the drain: whatever was taken before finish() is then on disk.
        const bool finishing = m_finishing.load();
        drain();
        if (finishing)
            return;
        (void)m_work.try_acquire_for(kWritePeriod);
    }
}
