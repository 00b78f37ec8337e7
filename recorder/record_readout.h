#pragma once

#include <cstdint>
#include <string>

// The time read-out: "00:ss" under a minute, else whole minutes (no hour field) and seconds.
std::string formatRecordTime(std::int64_t seconds);

// The size read-out: kilobytes with exactly two decimals, halves away from zero, no leading
// zero below 1 and no digit grouping, then " kb" (".50 kb", "172.27 kb").
std::string formatRecordSize(std::uint64_t bytes, char decimalPoint = '.');

// Reads a length reply as a whole number of bytes: leading digits up to the first NUL or
// non-digit; 0 when there are none.
std::uint64_t parseLengthReply(const std::string& reply);
