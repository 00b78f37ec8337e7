#pragma once

#include <array>
#include <cstdint>

// 1024-point radix-2 transform of one block of samples, in single precision, for the live
// spectrum. No allocation and no platform dependency.

constexpr int FFTSize = 1024;

// Entry i is i with its lowest 10 bits reversed; filled once by InitFFT.
extern std::array<std::int32_t, FFTSize> BitReverseTable;

// Fills BitReverseTable. Must run before the first ComputeFFT.
void InitFFT();

// `index` with its lowest `bits` bits in reverse order (for 0 <= index < 2^bits).
std::int32_t ReverseBits(std::int32_t index, std::uint8_t& bits);

// input: 1024 samples, read only. output: 1024 floats, overwritten with the real part of
// every bin, X[m] = sum of x[n] * e^(+2 pi i m n / 1024), unscaled. Calls must not overlap.
void ComputeFFT(const std::int16_t* input, float* output);

namespace fft_detail {
// Lets tests run the four-wide path on a processor that has the eight-wide one; InitFFT
// turns the wider path on where the processor has it. Both give the same bits.
void useWideVectors(bool on);
} // namespace fft_detail
