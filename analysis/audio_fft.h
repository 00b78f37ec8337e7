#pragma once

#include <cstdint>

// 1024-point transform of one block of samples; filled in with the live spectrum.
void InitFFT();
void ComputeFFT(const std::int16_t* input, float* output);
