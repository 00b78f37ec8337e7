#include "platform/spool/byte_ring.h"

#include <algorithm>
#include <cstring>

ByteRing::ByteRing(std::size_t capacity)
    : m_capacity(capacity), m_data(new unsigned char[capacity]) {
    std::memset(m_data.get(), 0, m_capacity);
}

bool ByteRing::reserve(std::size_t bytes, std::uint64_t& at) const {
    at = m_pushed.load(std::memory_order_relaxed);
    const std::uint64_t popped = m_popped.load(std::memory_order_acquire);
    return m_capacity - static_cast<std::size_t>(at - popped) >= bytes;
}

bool ByteRing::push(const void* data, std::size_t bytes) {
    std::uint64_t at = 0;
    if (!reserve(bytes, at))
        return false;
    const auto* from = static_cast<const unsigned char*>(data);
    const std::size_t start = static_cast<std::size_t>(at % m_capacity);
    const std::size_t first = std::min(bytes, m_capacity - start);
    std::memcpy(m_data.get() + start, from, first);
    std::memcpy(m_data.get(), from + first, bytes - first);
    m_pushed.store(at + bytes, std::memory_order_release);
    return true;
}

bool ByteRing::pushFill(unsigned char value, std::size_t bytes) {
    std::uint64_t at = 0;
    if (!reserve(bytes, at))
        return false;
    const std::size_t start = static_cast<std::size_t>(at % m_capacity);
    const std::size_t first = std::min(bytes, m_capacity - start);
    std::memset(m_data.get() + start, value, first);
    std::memset(m_data.get(), value, bytes - first);
    m_pushed.store(at + bytes, std::memory_order_release);
    return true;
}

ByteRing::Piece ByteRing::front() const {
    const std::uint64_t popped = m_popped.load(std::memory_order_relaxed);
    const std::uint64_t pushed = m_pushed.load(std::memory_order_acquire);
    const std::size_t start = static_cast<std::size_t>(popped % m_capacity);
    const std::size_t held = static_cast<std::size_t>(pushed - popped);
    return {m_data.get() + start, std::min(held, m_capacity - start)};
}

void ByteRing::pop(std::size_t bytes) {
    m_popped.store(m_popped.load(std::memory_order_relaxed) + bytes, std::memory_order_release);
}

std::size_t ByteRing::used() const {
    const std::uint64_t popped = m_popped.load(std::memory_order_acquire);
    return static_cast<std::size_t>(m_pushed.load(std::memory_order_acquire) - popped);
}
