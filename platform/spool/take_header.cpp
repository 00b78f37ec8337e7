#include "platform/spool/take_header.h"

#include <cstring>

namespace {

constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;
// The RIFF size counts everything after its own field: the file less 8 bytes.
constexpr std::uint64_t kRiffOverhead = kTakeHeaderBytes - 8;

void put(unsigned char* at, const char (&tag)[5]) {
    std::memcpy(at, tag, 4);
}

void put16(unsigned char* at, std::uint32_t value) {
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

void put32(unsigned char* at, std::uint64_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

void put64(unsigned char* at, std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint64_t get(const unsigned char* at, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

bool is(const unsigned char* at, const char (&tag)[5]) {
    return std::memcmp(at, tag, 4) == 0;
}

} // namespace

TakeHeaderBytes takeHeader(const WaveFormat& format, std::uint64_t dataBytes) {
    TakeHeaderBytes h{};
    const std::uint64_t padded = dataBytes + (dataBytes & 1);
    const std::uint64_t riffSize = kRiffOverhead + padded;
    const bool rf64 = riffSize > kMax32;
    const int frameBytes = format.bytesPerFrame();

    put(&h[0], rf64 ? "RF64" : "RIFF");
    put32(&h[4], rf64 ? kMax32 : riffSize);
    put(&h[8], "WAVE");
    put(&h[12], rf64 ? "ds64" : "JUNK");
    put32(&h[16], 28);
    if (rf64) {
        put64(&h[20], riffSize);
        put64(&h[28], dataBytes);
        put64(&h[36], frameBytes > 0 ? dataBytes / static_cast<std::uint64_t>(frameBytes) : 0);
        put32(&h[44], 0); // no table
    }
    put(&h[48], "fmt ");
    put32(&h[52], 16);
    put16(&h[56], 1); // PCM
    put16(&h[58], static_cast<std::uint32_t>(format.channels));
    put32(&h[60], static_cast<std::uint32_t>(format.samplesPerSec));
    put32(&h[64], static_cast<std::uint32_t>(format.bytesPerSecond()));
    put16(&h[68], static_cast<std::uint32_t>(frameBytes));
    put16(&h[70], static_cast<std::uint32_t>(format.bitsPerSample));
    put(&h[72], "data");
    put32(&h[76], rf64 ? kMax32 : dataBytes);
    return h;
}

bool isTakeFormat(const WaveFormat& f) {
    return f.channels >= 1 && f.channels <= 8 && f.samplesPerSec >= 1 &&
           f.samplesPerSec <= 384000 && (f.bitsPerSample == 8 || f.bitsPerSample == 16);
}

std::optional<TakeHeaderFacts> readTakeHeader(const unsigned char* h, std::size_t size) {
    if (size < kTakeHeaderBytes)
        return std::nullopt;
    const bool riff = is(&h[0], "RIFF") && is(&h[12], "JUNK");
    const bool rf64 = is(&h[0], "RF64") && is(&h[12], "ds64");
    if (!(riff || rf64) || !is(&h[8], "WAVE") || get(&h[16], 4) != 28 || !is(&h[48], "fmt ") ||
        get(&h[52], 4) != 16 || get(&h[56], 2) != 1 || !is(&h[72], "data"))
        return std::nullopt;

    TakeHeaderFacts facts;
    facts.format.channels = static_cast<int>(get(&h[58], 2));
    facts.format.samplesPerSec = static_cast<int>(get(&h[60], 4));
    facts.format.bitsPerSample = static_cast<int>(get(&h[70], 2));
    const WaveFormat& f = facts.format;
    if (!isTakeFormat(f) || get(&h[68], 2) != static_cast<std::uint64_t>(f.bytesPerFrame()))
        return std::nullopt;
    facts.dataBytes = rf64 ? get(&h[28], 8) : get(&h[76], 4);
    return facts;
}

std::optional<WaveFormat> findFormatChunk(const unsigned char* h, std::size_t size) {
    for (std::size_t at = 0; at + 24 <= size; ++at) {
        const unsigned char* c = h + at;
        if (!is(c, "fmt ") || get(c + 4, 4) != 16 || get(c + 8, 2) != 1)
            continue;
        WaveFormat f;
        f.channels = static_cast<int>(get(c + 10, 2));
        f.samplesPerSec = static_cast<int>(get(c + 12, 4));
        f.bitsPerSample = static_cast<int>(get(c + 22, 2));
        if (!isTakeFormat(f) || get(c + 20, 2) != static_cast<std::uint64_t>(f.bytesPerFrame()) ||
            get(c + 16, 4) != static_cast<std::uint64_t>(f.bytesPerSecond()))
            continue;
        return f;
    }
    return std::nullopt;
}
