#include "recorder/record_readout.h"

#include <cstdio>
#include <limits>

namespace {
std::string twoDigits(std::int64_t n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld", static_cast<long long>(n));
    return buf;
}
} // namespace

std::string formatRecordTime(std::int64_t seconds) {
    if (seconds < 0)
        seconds = 0;
    if (seconds < 60)
        return "00:" + twoDigits(seconds);
    return twoDigits(seconds / 60) + ":" + twoDigits(seconds % 60);
}

std::string formatRecordSize(std::uint64_t bytes, char decimalPoint) {
    // Hundredths of a kilobyte in integers, so the rounding is exact: bytes * 100 / 1024,
    // halves up. Saturate rather than wrap for absurd replies.
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max() / 100 - 512;
    const std::uint64_t hundredths = ((bytes > kMax ? kMax : bytes) * 100 + 512) / 1024;
    const std::uint64_t whole = hundredths / 100;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02llu", static_cast<unsigned long long>(hundredths % 100));
    std::string text = whole == 0 ? std::string() : std::to_string(whole);
    text += decimalPoint;
    text += buf;
    return text + " kb";
}

std::uint64_t parseLengthReply(const std::string& reply) {
    std::uint64_t value = 0;
    for (const char c : reply) {
        if (c < '0' || c > '9')
            break;
        if (value > std::numeric_limits<std::uint64_t>::max() / 10 - 9)
            break;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}
