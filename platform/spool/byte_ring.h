#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// A fixed ring of bytes between one producer thread and one consumer thread, without locks:
// the producer never waits and never allocates, so an audio callback can hand its block over
// and return. All of the memory is touched when the ring is made, so that no page fault waits
// for the kernel on the producer's first pass either.
class ByteRing {
public:
    explicit ByteRing(std::size_t capacity);
    ByteRing(const ByteRing&) = delete;
    ByteRing& operator=(const ByteRing&) = delete;

    std::size_t capacity() const { return m_capacity; }

    // Producer. Copies all of `data`, or nothing when there is not room for all of it.
    bool push(const void* data, std::size_t bytes);
    // Producer. `bytes` copies of `value`, all or nothing.
    bool pushFill(unsigned char value, std::size_t bytes);

    // Consumer. The oldest bytes not yet taken that lie in one piece (the rest, if any, follows
    // at the start of the ring), and taking them.
    struct Piece {
        const unsigned char* data;
        std::size_t bytes;
    };
    Piece front() const;
    void pop(std::size_t bytes);

    // Either side: bytes pushed and not yet popped.
    std::size_t used() const;

private:
    // Where the producer writes next, and whether `bytes` fit there.
    bool reserve(std::size_t bytes, std::uint64_t& at) const;

    std::size_t m_capacity;
    std::unique_ptr<unsigned char[]> m_data;
    // Running totals; their difference is what the ring holds. Each is written by one side.
    std::atomic<std::uint64_t> m_pushed{0};
    std::atomic<std::uint64_t> m_popped{0};
};
