#pragma once

#include <array>
#include <cstdint>

// 1024-point radix-2 transform of one block of samples, in single precision, for the live
// spectrum. No allocation and no platform dependency. The tables and scratch of the program's
// one transform live in audio_fft.cpp; calls must not overlap.

constexpr int kFFTSize = 1024;

// Builds the tables (the bit-reversal table and the twiddles). Must run before the first
// ComputeFFT.
void InitFFT();

// `index` with its lowest `bits` bits in reverse order (for 0 <= index < 2^bits).
std::int32_t ReverseBits(std::int32_t index, std::uint8_t& bits);

// input: 1024 samples, read only. output: 1024 floats, overwritten with the real part of
// every bin, X[m] = sum of x[n] * e^(+2 pi i m n / 1024), unscaled.
void ComputeFFT(const std::int16_t* input, float* output);

// The bit-reversal table InitFFT built: entry i is i with its lowest 10 bits reversed.
const std::array<std::int32_t, kFFTSize>& BitReverseTable();
